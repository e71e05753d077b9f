#include "core/cp1251.h"

#include <algorithm>
#include <cstdint>

namespace orvelo {

namespace {

// Bytes 0x80..0xBF; 0xC0..0xFF are the Cyrillic capitals and small letters U+0410..U+044F in
// order. 0x98 is unassigned in Windows-1251 and maps to U+0098 so that it round-trips.
constexpr char16_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
};

char32_t DecodeByte(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return 0x0410 + (b - 0xC0);
    return kUpperHalf[b - 0x80];
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

char EncodeChar(char32_t c) {
    if (c < 0x80) return static_cast<char>(c);
    if (c >= 0x0410 && c <= 0x044F) return static_cast<char>(0xC0 + (c - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (kUpperHalf[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when it is not valid UTF-8
// (stray continuation byte, truncated or overlong sequence, surrogate, beyond U+10FFFF).
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        len = 2, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, c = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char b : bytes) AppendUtf8(out, DecodeByte(static_cast<unsigned char>(b)));
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        const std::size_t len = DecodeUtf8(utf8, i, c);
        if (len == 0) {
            out.push_back('?');  // one '?' per byte that starts no valid sequence
            ++i;
            continue;
        }
        out.push_back(EncodeChar(c));
        i += len;
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    char32_t c = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = DecodeUtf8(bytes, i, c);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string AnyTextToUtf8(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1251ToUtf8(bytes);
}

std::string CharsOutsideCp1251(std::string_view utf8) {
    std::string outside;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        const std::size_t len = DecodeUtf8(utf8, i, c);
        if (len == 0) {  // not UTF-8 at all: the byte is shown as the replacement character
            if (outside.find("\xEF\xBF\xBD") == std::string::npos) outside += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        const std::string_view ch = utf8.substr(i, len);
        if (c != '?' && EncodeChar(c) == '?' && outside.find(ch) == std::string::npos) outside += ch;
        i += len;
    }
    return outside;
}

std::size_t CharCount(std::string_view utf8) {
    // Continuation bytes 10xxxxxx do not start a character.
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string CutToCharacters(std::string_view utf8, std::size_t limit) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
        if (chars++ == limit) return std::string(utf8.substr(0, i));
    }
    return std::string(utf8);
}

}  // namespace orvelo
