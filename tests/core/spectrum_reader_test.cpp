#include <charconv>
#include <chrono>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/spectrum_file.h"
#include "file_support.h"
#include "support/generated_spectrum_text.h"

namespace orvelo {
namespace {

using testing::ErrorText;

const std::string kHeader = "\"Test\"\r\n\"\"\r\n\"\"\r\n";

std::string ParseError(const std::string& text) {
    return ErrorText([&] { ParseSpectrumText(text); });
}

std::string LineError(const std::string& line) {
    return ErrorText([&] { ParseLine(line); });
}

std::pair<double, double> XY(const std::string& line) {
    const ParsedLine p = ParseLine(line);
    return {p.x, p.y};
}

TEST(SpectrumReader, TitleBlockGivesTheNameAfterOneBlankAndDataFromLineFour) {
    const LoadedSpectrum s = ParseSpectrumText("\"Test\"\r\n1 2\r\n3 4\r\n100 5\r\n101 6\r\n");
    EXPECT_EQ(s.title, " Test");
    EXPECT_EQ(s.points.x, (std::vector<double>{100, 101}));
    EXPECT_EQ(s.points.y, (std::vector<double>{5, 6}));
}

TEST(SpectrumReader, TitleIsTheFirstHundredCharactersWithQuoteBlankedAndLastDropped) {
    const std::string name98(98, 'n');
    EXPECT_EQ(ParseSpectrumText("\"" + name98 + "\"\r\n\r\n\r\n1 1\r\n2 2\r\n").title, " " + name98);
    const std::string name120 = std::string(98, 'a') + std::string(22, 'b');
    EXPECT_EQ(ParseSpectrumText("\"" + name120 + "\"\r\n\r\n\r\n1 1\r\n2 2\r\n").title, " " + std::string(98, 'a'));
    EXPECT_EQ(ParseSpectrumText("\"Test\r\n\r\n\r\n1 1\r\n2 2\r\n").title, " Tes");
    EXPECT_EQ(ParseSpectrumText("\"\"\r\n\r\n\r\n1 1\r\n2 2\r\n").title, " ");
    EXPECT_EQ(ParseSpectrumText("\"\xCF\xF0\xEE\xE1\xE0\"\r\n\r\n\r\n1 1\r\n2 2\r\n").title, " Проба");
}

TEST(SpectrumReader, WithoutTitleBlockEveryLineIsAPoint) {
    const LoadedSpectrum s = ParseSpectrumText("100 1\r\n101 2\r\n102 3\r\n");
    EXPECT_FALSE(s.title.has_value());
    EXPECT_EQ(s.points.count(), 3);
}

TEST(SpectrumReader, AnyNonNumberCharacterSeparatesTheTwoNumbers) {
    for (const char* line : {"100.5;2000", "100.5 2000", "100.5\t2000", "  100.5 , 2000  ", "+100.5 +2000"})
        EXPECT_EQ(XY(line), std::make_pair(100.5, 2000.0)) << line;
}

TEST(SpectrumReader, LaterDigitsAreGluedOntoTheSecondNumber) {
    EXPECT_EQ(XY("100,5 2000"), std::make_pair(100.0, 52000.0));
    EXPECT_EQ(XY("100 200 300"), std::make_pair(100.0, 200300.0));
}

TEST(SpectrumReader, FractionCountIsTheCharactersAfterThePointOfTheSecondNumber) {
    EXPECT_EQ(ParseLine("100.12345 2000").fractionDigits, 0);
    EXPECT_EQ(ParseLine("100 2.5").fractionDigits, 1);
    EXPECT_EQ(ParseLine("100 2.50").fractionDigits, 2);
    EXPECT_EQ(ParseLine("100 1.5E3").fractionDigits, 3);
}

TEST(SpectrumReader, TextsTheConversionRejectsAreReportedAsTheyStand) {
    EXPECT_EQ(LineError("1.5E+03 7"), "'1.5E' is not a valid floating point value");
    EXPECT_EQ(LineError("100.5"), "'' is not a valid floating point value");
    EXPECT_EQ(LineError(""), "'' is not a valid floating point value");
    EXPECT_EQ(LineError("100 1-2"), "'1-2' is not a valid floating point value");
    EXPECT_EQ(LineError("1e400 2"), "'1e400' is not a valid floating point value");
}

TEST(SpectrumReader, NumbersLongerThan21CharactersAreARangeCheckError) {
    EXPECT_EQ(XY("100.00000000000000001 2").first, 100.0);  // 21 characters
    EXPECT_EQ(LineError("100.000000000000000001 2"), kNumberTooLongError);
    EXPECT_EQ(LineError("1 2000000000.00000000001"), kNumberTooLongError);
    EXPECT_EQ(LineError("1 12345678901 12345678901"), kNumberTooLongError);  // glued to 22
}

TEST(SpectrumReader, OnlyTheFirstHundredCharactersOfALineCount) {
    EXPECT_EQ(XY("100" + std::string(95, ' ') + "2000").second, 20.0);
    const LoadedSpectrum s = ParseSpectrumText("100 5" + std::string(200, ' ') + "777\r\n101 6\r\n");
    EXPECT_EQ(s.points.y, (std::vector<double>{5, 6}));
}

TEST(SpectrumReader, AcceptsCrLfLfAndCrLineEndsWithOrWithoutAFinalOne) {
    for (const char* text : {"100 1\r\n101 2\r\n", "100 1\n101 2\n", "100 1\r\n101 2", "100 1\r101 2\r"}) {
        const LoadedSpectrum s = ParseSpectrumText(text);
        EXPECT_EQ(s.points.x, (std::vector<double>{100, 101}));
        EXPECT_EQ(s.points.y, (std::vector<double>{1, 2}));
    }
}

TEST(SpectrumReader, BlankLinesAfterTheDataAreIgnoredAndABlankLineAmongThemIsRefused) {
    for (const std::string& text : {kHeader + "100 1\r\n101 2\r\n\r\n", std::string("100 1\n101 2\n\n \t\n\n")})
        EXPECT_EQ(ParseSpectrumText(text).points.count(), 2) << text;
    EXPECT_EQ(ParseError("100 1\r\n\r\n101 2\r\n"),
              "'' is not a valid floating point value. Строка 2: пустая строка среди данных");
    EXPECT_EQ(ParseError(kHeader + "100 1\r\n101 2\r\n  \r\n\r\n102 3\r\n"),
              "'' is not a valid floating point value. Строка 6: пустая строка среди данных");
}

// The specified text comes first, so that it can still be recognised; then the line.
TEST(SpectrumReader, EveryRefusalOfALineNamesItAfterTheProgramsText) {
    EXPECT_EQ(ParseError(kHeader + "100 1\r\n101 2\r\n102 2.5.5"),
              "'2.5.5' is not a valid floating point value. Строка 6: \"102 2.5.5\"");
    EXPECT_EQ(ParseError("100 1\r\n1234567890.12345678901 2\r\n"),
              std::string(kNumberTooLongError) + ". Строка 2: \"1234567890.12345678901 2\"");
    EXPECT_EQ(ParseError("\xCF\xE8\xEA 1\r\n101 2\r\n"), "'' is not a valid floating point value. Строка 1: \"Пик 1\"");
}

// "100,5 2000" would be mass 100, intensity 52000; a file with points keeps the comma a separator.
TEST(SpectrumReader, DecimalCommaFilesAreRefusedSayingSo) {
    const std::string refusal = "числа записаны с десятичной запятой; нужна десятичная точка (100.5 2000)";
    EXPECT_EQ(ParseError("100,5 2000\r\n101,5 2100\r\n"), "Строка 1: " + refusal);
    EXPECT_EQ(ParseError(kHeader + "100 2000\r\n101,25;2100,5\r\n"), "Строка 5: " + refusal);
    EXPECT_EQ(ParseSpectrumText("100.5, 2000\r\n101,5 2100\r\n").points.x, (std::vector<double>{100.5, 101}));
    EXPECT_EQ(ParseSpectrumText("100,2000\r\n101,2100\r\n").points.y, (std::vector<double>{2000, 2100}));
}

// A title that is valid UTF-8 is UTF-8, mark or no mark (Windows-1251 letters beyond ASCII
// practically never are); characters the Windows-1251 files cannot hold are named in a warning.
TEST(SpectrumReader, Utf8TitlesAreRecognisedAndUnwritableCharactersNamed) {
    const std::string data = "\r\n\"\"\r\n\"\"\r\n100 1\r\n101 2\r\n";
    LoadedSpectrum s = ParseSpectrumText("\"Проба №5\"" + data);
    EXPECT_EQ(s.title, " Проба №5");
    EXPECT_TRUE(s.warnings.empty());
    EXPECT_EQ(ParseSpectrumText("\"\xCF\xF0\xEE\xE1\xE0 \xB9\x35\"" + data).title, " Проба №5");
    std::string name99;
    for (int i = 0; i < 33; ++i) name99 += "жук";
    EXPECT_EQ(ParseSpectrumText("\"" + name99 + "\"" + data).title, " " + name99.substr(0, name99.size() - 2));

    s = ParseSpectrumText("\xEF\xBB\xBF\"CH₄ 日本 ₄\"" + data);
    EXPECT_EQ(s.title, " CH₄ 日本 ₄");
    ASSERT_EQ(s.warnings.size(), 1u);
    EXPECT_EQ(s.warnings[0],
              "В названии спектра есть знаки, которых нет в кодировке Windows-1251: ₄ 日 本; в "
              "текстовых файлах они будут записаны как \"?\"");
}

TEST(SpectrumReader, AUtf8ByteOrderMarkIsSkippedAndTheTitleReadAsUtf8) {
    LoadedSpectrum s = ParseSpectrumText("\xEF\xBB\xBF\"Проба\"\r\n\"\"\r\n\"\"\r\n100 1\r\n101 2\r\n");
    EXPECT_EQ(s.title, " Проба");
    EXPECT_EQ(s.points.count(), 2);
    s = ParseSpectrumText(
        "\xEF\xBB\xBF"
        "100 1\r\n101 2\r\n");
    EXPECT_EQ(s.points.x, (std::vector<double>{100, 101}));
}

TEST(SpectrumReader, FewerThanTwoPointsIsARangeCheckError) {
    EXPECT_EQ(ParseError(""), kTooFewPointsError);
    EXPECT_EQ(ParseError("100 1\r\n"), kTooFewPointsError);
    EXPECT_EQ(ParseError(kHeader + "100 1\r\n"), kTooFewPointsError);
}

TEST(SpectrumReader, DecimalIntensitiesScaleTheWholeFileBy1000) {
    LoadedSpectrum s = ParseSpectrumText("100 2.5\r\n101 3\r\n102 0.125\r\n");
    EXPECT_EQ(s.points.y, (std::vector<double>{2500, 3000, 125}));
    EXPECT_EQ(s.maxFractionDigits, 3);
    s = ParseSpectrumText("100.25 2\r\n101.5 3\r\n");
    EXPECT_EQ(s.points.y, (std::vector<double>{2, 3}));
    EXPECT_EQ(s.maxFractionDigits, 0);
}

TEST(SpectrumReader, DescendingFileIsReversedAndEqualNeighboursAreKept) {
    LoadedSpectrum s = ParseSpectrumText("300 3\r\n200 2\r\n200 4\r\n100 1\r\n");
    EXPECT_EQ(s.points.x, (std::vector<double>{100, 200, 200, 300}));
    EXPECT_EQ(s.points.y, (std::vector<double>{1, 4, 2, 3}));
    s = ParseSpectrumText("100 1\r\n100 2\r\n101 3\r\n");
    EXPECT_EQ(s.points.x, (std::vector<double>{100, 100, 101}));
}

// Files named for their defect; each must be refused with a message that says what is wrong.
TEST(SpectrumReader, FilesThatAreNoSpectraAreRefusedClearly) {
    const std::pair<const char*, std::string> cases[] = {
        {"empty.txt", kTooFewPointsError},
        {"one-line.txt", kTooFewPointsError},
        {"title-only.txt", kTooFewPointsError},
        {"number-too-long.txt", std::string(kNumberTooLongError) + ". Строка 2: \"101.1234567890123456789012 3000\""},
        {"binary.bin", "Строка 3: нулевой байт, файл двоичный или записан не в кодировке Windows-1251"},
        {"utf16-text.txt", "Строка 1: нулевой байт, файл двоичный или записан не в кодировке Windows-1251"},
        {"nan-intensity.txt", "'' is not a valid floating point value. Строка 5: \"101.5\tnan\""},
        {"inf-mass.txt", "'' is not a valid floating point value. Строка 2: \"inf 3000\""},
        {"mass-beyond-double.txt", "'1e400' is not a valid floating point value. Строка 2: \"1e400 3000\""},
        {"plus-exponent.txt", "'1.5E' is not a valid floating point value. Строка 1: \"1.5E+03 7\""},
        {"decimal-comma.txt", "Строка 4: числа записаны с десятичной запятой; нужна десятичная точка (100.5 2000)"},
        {"masses-out-of-order.txt", "Строка 3: массы должны возрастать (100.5 после 101.2)"},
        {"descending-then-ascending.txt", "Строка 7: массы должны убывать, как в начале файла (150 после 100)"},
        {"intensity-overflow.txt",
         "Строка 2: интенсивность 1.5E306, умноженная на 1000, выходит за пределы допустимых чисел"},
    };
    for (const auto& [name, message] : cases)
        EXPECT_EQ(ErrorText([&] { ReadSpectrumFile(std::string(ORVELO_TEST_DATA "/bad/") + name); }), message) << name;
    // A final blank line, left by many editors, is no defect.
    EXPECT_EQ(ReadSpectrumFile(ORVELO_TEST_DATA "/bad/blank-line-at-end.txt").points.count(), 2);
}

TEST(SpectrumReader, HugeLinesAreCutWithoutBeingCopied) {
    const std::string tail(10 * 1024 * 1024, ' ');
    const LoadedSpectrum s = ParseSpectrumText(kHeader + "100.5 2000" + tail + "\r\n101.5 3000\r\n");
    EXPECT_EQ(s.points.y, (std::vector<double>{2000, 3000}));
    EXPECT_EQ(ParseError(kHeader + "100.5 2000\r\n101.5 " + std::string(10 * 1024 * 1024, '7')),
              std::string(kNumberTooLongError) + ". Строка 5: \"101.5 " + std::string(94, '7') + "\"");
}

TEST(SpectrumReader, RealSpectraLoadWithAscendingMasses) {
    const std::pair<const char*, int> files[] = {{"orbitrap_qexactive_ms1.txt", 27815}, {"ltqft_ms1_scan1.txt", 19914}};
    for (const auto& [name, count] : files) {
        const LoadedSpectrum s = ReadSpectrumFile(std::string(ORVELO_REAL_DATA "/") + name);
        ASSERT_EQ(s.points.count(), count) << name;
        EXPECT_EQ(s.maxFractionDigits, 0) << name;
        EXPECT_TRUE(s.title.has_value() && s.title->starts_with(" ")) << name;
        for (int i = 1; i < count; ++i) ASSERT_LE(s.points.x[i - 1], s.points.x[i]) << name << " point " << i;
    }
}

TEST(SpectrumReader, ApplyingALoadReplacesStageZeroOnly) {
    SpectrumState state;
    state.SpectrumTitle = " Old";
    state.Spectrum.push(1, 1);
    state.Smooth.push(1, 1);
    state.FinalExtrema.push(1, 1);
    state.zones.height.push_back(7);
    state.MaxFractionDigits = 4;

    ApplyLoadedSpectrum(state, ParseSpectrumText("100 1\r\n101 2\r\n"));
    EXPECT_EQ(state.Spectrum.x, (std::vector<double>{100, 101}));
    EXPECT_EQ(state.SpectrumTitle, " Old");  // a file without title keeps the previous one
    EXPECT_EQ(state.MaxFractionDigits, 0);
    EXPECT_EQ(state.Smooth.count(), 1);
    EXPECT_EQ(state.FinalExtrema.count(), 1);
    EXPECT_EQ(state.zones.count(), 1);

    ApplyLoadedSpectrum(state, ParseSpectrumText(kHeader + "100 1.5\r\n101 2\r\n"));
    EXPECT_EQ(state.SpectrumTitle, " Test");
    EXPECT_EQ(state.MaxFractionDigits, 1);
}

// A million lines in memory read completely and in order (the speed is measured by the
// reader benchmark, not here).
TEST(SpectrumReader, AMillionLinesReadCompletely) {
    const std::string text = GeneratedSpectrumText(1'000'000);
    const LoadedSpectrum s = ParseSpectrumText(text);
    ASSERT_EQ(s.points.count(), 1'000'000);
    EXPECT_EQ(s.points.x.back(), 100 + 999'999 / 1000 + 0.999);
    EXPECT_EQ(s.points.y[65537], 1.0);
}

}  // namespace
}  // namespace orvelo
