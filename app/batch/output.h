#pragma once
// Where orvelo-batch puts its results: files in --out DIR, or standard output.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orvelo::batch {

class Output {
public:
    Output(std::optional<std::string> dir, std::ostream& out);

    bool toFiles() const { return dir_.has_value(); }
    // UTF-8 text, one line each, LF line ends.
    void WriteUtf8(const std::string& name, const std::vector<std::string>& lines) const;
    // A file exactly as the program writes it: Windows-1251, CR LF.
    void WriteProgramFile(const std::string& name, const std::vector<std::string>& lines) const;
    // Bytes as they stand (an mzML document).
    void WriteBytes(const std::string& name, const std::string& bytes) const;
    void Print(const std::vector<std::string>& lines) const;

private:
    std::string PathOf(const std::string& name) const;
    std::optional<std::string> dir_;
    std::ostream& out_;
};

}  // namespace orvelo::batch
