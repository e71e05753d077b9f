#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/number_text.h"

namespace orvelo {
namespace {

TEST(NumberText, GeneralFormIsShortestWithFifteenDigits) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {12.0, "12"},
        {-1.0, "-1"},
        {15.02349, "15.02349"},
        {10.0, "10"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {100.12528, "100.12528"},
        {1e20, "1E20"},
        {1.5e-6, "1.5E-6"},
        {0.000015, "0.000015"},
        {0.00001, "0.00001"},
        {0.0000099, "9.9E-6"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {-2.5e15, "-2.5E15"},
        {1e308, "1E308"},
        {57.0712, "57.0712"},
        {2.0 / 3.0 * 1000, "666.666666666667"},
    };
    for (auto [value, text] : cases) EXPECT_EQ(FormatGeneral(value), text) << value;
}

TEST(NumberText, FixedFormatsRoundAndUseThePoint) {
    EXPECT_EQ(FormatFixed(57.21, 1), "57.2");
    EXPECT_EQ(FormatFixed(12345.4, 0), "12345");
    EXPECT_EQ(FormatFixed(28.0313, 6), "28.031300");
    EXPECT_EQ(FormatFixed(-5.0, 2), "-5.00");
    EXPECT_EQ(FormatFixed(-0.0001, 2), "0.00");
    EXPECT_EQ(FormatFixed(100.0, 5), "100.00000");
}

TEST(NumberText, RoundingGoesHalfToEven) {
    EXPECT_EQ(RoundHalfEven(40.5), 40.0);
    EXPECT_EQ(RoundHalfEven(41.5), 42.0);
    EXPECT_EQ(RoundHalfEven(-0.5), -0.0);
    EXPECT_EQ(RoundHalfEven(27.995), 28.0);
}

TEST(NumberText, ParsesOnlyTheProgramsNumberSyntax) {
    EXPECT_EQ(ParseNumber("100.5"), 100.5);
    EXPECT_EQ(ParseNumber("-1.5E-3"), -1.5e-3);
    EXPECT_EQ(ParseNumber("2e3"), 2000.0);
    EXPECT_EQ(ParseNumber(" 7 "), 7.0);
    for (const char* bad : {"", "-", ".", "1.5E", "1.5E+03", "+1", "1,5", "1.2.3", "nan", "inf", "1e999", "0x10"})
        EXPECT_FALSE(ParseNumber(bad).has_value()) << bad;
    EXPECT_EQ(ParseNumber("1e-999"), 0.0);
    try {
        ParseNumberOrThrow("1.5E");
        FAIL();
    } catch (const OrveloError& e) {
        EXPECT_STREQ(e.what(), "'1.5E' is not a valid floating point value");
    }
}

TEST(NumberText, ParsesIntegersWithinThirtyTwoBits) {
    EXPECT_EQ(ParseInt32("150"), 150);
    EXPECT_EQ(ParseInt32("-5"), -5);
    EXPECT_EQ(ParseInt32("2000000000"), 2000000000);
    for (const char* bad : {"", "1.5", "1e3", "3000000000", "12a"}) EXPECT_FALSE(ParseInt32(bad).has_value()) << bad;
    try {
        ParseInt32OrThrow("1.5");
        FAIL();
    } catch (const OrveloError& e) {
        EXPECT_STREQ(e.what(), "'1.5' is not a valid integer value");
    }
}

}  // namespace
}  // namespace orvelo
