#include <iconv.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/cp1251.h"

namespace orvelo {
namespace {

// The system converter's answer for one byte, or nothing where it knows none (0x98).
std::optional<std::string> IconvDecode(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    char in[1] = {static_cast<char>(byte)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) return std::nullopt;
    return std::string(out, outPtr);
}

TEST(Cp1251, EveryByteDecodesLikeTheSystemConverter) {
    int compared = 0;
    for (int b = 1; b < 256; ++b) {
        const auto expected = IconvDecode(static_cast<unsigned char>(b));
        if (!expected) continue;
        EXPECT_EQ(Cp1251ToUtf8(std::string(1, static_cast<char>(b))), *expected) << "byte " << b;
        ++compared;
    }
    EXPECT_GE(compared, 254);
}

TEST(Cp1251, EveryByteSurvivesARoundTripIncluding0x98) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xC2\x98");  // U+0098
}

TEST(Cp1251, RussianTextEncodesToItsSingleBytes) {
    EXPECT_EQ(Utf8ToCp1251("57 пик"), "57 \xEF\xE8\xEA");
    EXPECT_EQ(Utf8ToCp1251("Ёё№€"), "\xA8\xB8\xB9\x88");
    EXPECT_EQ(Cp1251ToUtf8("\xD1\xEF\xE5\xEA\xF2\xF0"), "Спектр");
}

TEST(Cp1251, CharactersOutsideTheSetAndBrokenUtf8BecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a日b"), "a?b");
    EXPECT_EQ(Utf8ToCp1251("x\xF0\x9F\x98\x80y"), "x?y");  // emoji
    EXPECT_EQ(Utf8ToCp1251("\xFF"
                           "a"),
              "?a");                                 // no lead byte
    EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");          // truncated sequence
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");       // overlong '/'
    EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???");  // surrogate
}

}  // namespace
}  // namespace orvelo
