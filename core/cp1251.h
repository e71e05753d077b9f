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

// Characters, not bytes, of a UTF-8 text.
std::size_t CharCount(std::string_view utf8);

}  // namespace orvelo
