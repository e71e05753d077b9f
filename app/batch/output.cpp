#include "batch/output.h"

#include <algorithm>
#include <utility>

#include "core/errors.h"
#include "core/text_file.h"

namespace orvelo::batch {

Output::Output(std::optional<std::string> dir, std::vector<std::string> planned, std::vector<std::string> known,
               const std::vector<std::string>& inputs, std::ostream& out)
    : dir_(std::move(dir)), planned_(std::move(planned)), known_(std::move(known)), out_(out) {
    if (dir_) CheckOutputFolder(*dir_, planned_, inputs);
}

void Output::Add(const std::string& name, std::string bytes) {
    if (std::find(planned_.begin(), planned_.end(), name) == planned_.end())
        throw OrveloError("orvelo-batch: файл " + name + " не входит в список файлов запуска");
    files_.push_back(OutputFile{name, std::move(bytes)});
}

void Output::WriteUtf8(const std::string& name, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) {
        bytes += l;
        bytes += '\n';
    }
    Add(name, std::move(bytes));
}

void Output::WriteProgramFile(const std::string& name, const std::vector<std::string>& lines) {
    Add(name, ProgramFileBytes(lines));
}

void Output::WriteBytes(const std::string& name, std::string bytes) { Add(name, std::move(bytes)); }

void Output::Print(const std::vector<std::string>& lines) const {
    for (const auto& l : lines) out_ << l << '\n';
}

void Output::Commit() {
    if (!dir_) return;
    std::string manifest;
    for (const std::string& name : planned_) manifest += name + "\n";
    files_.push_back(OutputFile{kManifestName, std::move(manifest)});
    std::vector<std::string> written;
    for (const OutputFile& f : files_) written.push_back(f.name);
    std::vector<std::string> planned = planned_;
    std::sort(written.begin(), written.end());
    std::sort(planned.begin(), planned.end());
    if (written != planned) throw OrveloError("orvelo-batch: набор файлов запуска не совпадает с объявленным");
    CommitOutputFolder(*dir_, files_, known_);
}

}  // namespace orvelo::batch
