#pragma once
// Windows-1251, the 8-bit character set of every text file the program reads and writes.
#include <cstddef>
#include <string>
#include <string_view>

namespace orvelo {

// Every byte decodes (0x98, unassigned, becomes U+0098 so that it survives a round trip).
std::string Cp1251ToUtf8(std::string_view bytes);

// Characters outside Windows-1251 (and invalid UTF-8) become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// True when the bytes are valid UTF-8 (every sequence complete, shortest and below U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Text of unknown encoding as UTF-8: valid UTF-8 is taken as it is, anything else as
// Windows-1251. Windows-1251 texts with letters beyond ASCII are practically never valid UTF-8.
std::string AnyTextToUtf8(std::string_view bytes);

// The distinct characters of a UTF-8 text that Windows-1251 cannot hold, in order of first
// appearance, as UTF-8 ("☃", "€" is not among them); empty when the whole text can be written.
std::string CharsOutsideCp1251(std::string_view utf8);

// Characters, not bytes, of a UTF-8 text.
std::size_t CharCount(std::string_view utf8);

// UTF-8 text cut to at most `limit` characters.
std::string CutToCharacters(std::string_view utf8, std::size_t limit);

}  // namespace orvelo
