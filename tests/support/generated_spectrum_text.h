#pragma once
// The text of a large spectrum file without title: "mass<TAB>intensity" CR LF lines, masses
// 100.000, 100.001, ... ascending, intensities i % 65536.
#include <charconv>
#include <string>

namespace orvelo {

inline std::string GeneratedSpectrumText(int lines) {
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 20);
    char buffer[32];
    for (int i = 0; i < lines; ++i) {
        char* p = std::to_chars(buffer, buffer + 32, 100 + i / 1000).ptr;
        *p++ = '.';
        const int frac = i % 1000;
        *p++ = static_cast<char>('0' + frac / 100);
        *p++ = static_cast<char>('0' + frac / 10 % 10);
        *p++ = static_cast<char>('0' + frac % 10);
        *p++ = '\t';
        p = std::to_chars(p, buffer + 32, i % 65536).ptr;
        *p++ = '\r';
        *p++ = '\n';
        text.append(buffer, p);
    }
    return text;
}

}  // namespace orvelo
