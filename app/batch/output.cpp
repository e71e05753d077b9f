#include "batch/output.h"

#include <filesystem>
#include <system_error>

#include "core/errors.h"
#include "core/text_file.h"

namespace orvelo::batch {

Output::Output(std::optional<std::string> dir, std::ostream& out) : dir_(std::move(dir)), out_(out) {
    if (!dir_) return;
    std::error_code ec;
    std::filesystem::create_directories(*dir_, ec);
    if (ec) throw OrveloError("Не удалось создать папку \"" + *dir_ + "\": " + ec.message());
}

std::string Output::PathOf(const std::string& name) const {
    return (std::filesystem::path(*dir_) / name).string();
}

void Output::WriteUtf8(const std::string& name, const std::vector<std::string>& lines) const {
    std::string bytes;
    for (const auto& l : lines) {
        bytes += l;
        bytes += '\n';
    }
    WriteFileAtomically(PathOf(name), bytes);
}

void Output::WriteProgramFile(const std::string& name, const std::vector<std::string>& lines) const {
    WriteTextFile(PathOf(name), lines);
}

void Output::WriteBytes(const std::string& name, const std::string& bytes) const {
    WriteFileAtomically(PathOf(name), bytes);
}

void Output::Print(const std::vector<std::string>& lines) const {
    for (const auto& l : lines) out_ << l << '\n';
}

}  // namespace orvelo::batch
