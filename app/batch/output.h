#pragma once
// Where orvelo-batch puts its results: files in --out DIR, or standard output. Files are kept
// in memory until Commit writes them into the folder as one set (see output_folder.h).
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/output_folder.h"

namespace orvelo::batch {

class Output {
public:
    // `planned` names every file the run will write into `dir` (the manifest kManifestName
    // among them, which Commit writes), `known` every file any run may write; the folder is
    // checked for them and against the `inputs` here, before any work (throws OrveloError).
    Output(std::optional<std::string> dir, std::vector<std::string> planned, std::vector<std::string> known,
           const std::vector<std::string>& inputs, std::ostream& out);

    bool toFiles() const { return dir_.has_value(); }
    // UTF-8 text, one line each, LF line ends.
    void WriteUtf8(const std::string& name, const std::vector<std::string>& lines);
    // A file exactly as the program writes it: Windows-1251, CR LF.
    void WriteProgramFile(const std::string& name, const std::vector<std::string>& lines);
    // Bytes as they stand (an mzML document).
    void WriteBytes(const std::string& name, std::string bytes);
    void Print(const std::vector<std::string>& lines) const;
    // Writes every file and the manifest into the folder at once. The files must be exactly the
    // planned ones. Called once, at the end of the run.
    void Commit();

private:
    void Add(const std::string& name, std::string bytes);
    std::optional<std::string> dir_;
    std::vector<std::string> planned_;
    std::vector<std::string> known_;
    std::vector<OutputFile> files_;
    std::ostream& out_;
};

}  // namespace orvelo::batch
