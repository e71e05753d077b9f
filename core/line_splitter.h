#pragma once
// The lines of a text file's bytes, at CR LF, LF or a lone CR. A final line end does not start
// another line, so "a\r\nb\r\n" is two lines and "a\r\nb\r\n\r\n" three (the last blank).
#include <cstddef>
#include <string_view>

namespace orvelo {

// Removes a leading UTF-8 byte order mark from `bytes`; true when there was one.
inline bool SkipUtf8ByteOrderMark(std::string_view& bytes) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (!bytes.starts_with(kMark)) return false;
    bytes.remove_prefix(kMark.size());
    return true;
}

class LineSplitter {
public:
    explicit LineSplitter(std::string_view bytes) : bytes_(bytes) {}

    bool Next(std::string_view& line) {
        if (pos_ >= bytes_.size()) return false;
        const char* begin = bytes_.data() + pos_;
        const char* end = bytes_.data() + bytes_.size();
        const char* p = begin;
        while (p != end && *p != '\n' && *p != '\r') ++p;
        line = std::string_view(begin, static_cast<std::size_t>(p - begin));
        if (p != end) {
            const bool carriageReturn = *p++ == '\r';
            if (carriageReturn && p != end && *p == '\n') ++p;
        }
        pos_ = static_cast<std::size_t>(p - bytes_.data());
        ++lineNumber_;
        return true;
    }

    int lineNumber() const { return lineNumber_; }  // of the line last returned, from 1

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
};

}  // namespace orvelo
