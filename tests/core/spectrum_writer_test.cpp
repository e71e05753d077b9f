#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/number_text.h"
#include "core/spectrum_file.h"
#include "file_support.h"

namespace orvelo {
namespace {

using testing::ErrorText;
using testing::ReadAll;
using testing::TempFolder;

// Compares a written file with its committed copy in tests/data/golden; with
// ORVELO_UPDATE_GOLDEN=1 the copy is rewritten from this run first.
void ExpectMatchesGolden(const std::string& writtenPath, const std::string& goldenName) {
    const std::string golden = std::string(ORVELO_TEST_DATA "/golden/") + goldenName;
    const std::string written = ReadAll(writtenPath);
    const char* update = std::getenv("ORVELO_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") testing::WriteAll(golden, written);
    EXPECT_EQ(written, ReadAll(golden)) << "differs from " << golden;
}

SpectrumState SampleState() {
    SpectrumState state;
    state.SpectrumTitle = " Тестовый спектр №1";
    const double points[][2] = {
        {57.0712, 1500},          {57.07125, 0.125},          {100.123456789, 1e20}, {1000, 1.5e-6},
        {1234.567891, 2.0 / 3.0}, {1500.25, 123456789012345}, {2000.5, -2.5},
    };
    for (const auto& p : points) state.Spectrum.push(p[0], p[1]);
    return state;
}

TEST(SpectrumWriter, SpectrumFileMatchesTheGoldenFile) {
    TempFolder folder;
    WriteSpectrumFile(folder / "Спектр.txt", SampleState());
    ExpectMatchesGolden(folder / "Спектр.txt", "spectrum.txt");
}

TEST(SpectrumWriter, PeakFileMatchesTheGoldenFile) {
    TempFolder folder;
    WritePeakFile(folder / PeakFileName(57), SampleState(), 57, 1, 3);
    ExpectMatchesGolden(folder / "57peak.txt", "peak57.txt");
}

TEST(SpectrumWriter, LinesAreQuotedTitleTwoEmptyQuotesThenMassAndIntensity) {
    PointList points;
    points.push(57.5, 1500);
    points.push(58.123456, 0.5);
    EXPECT_EQ(SpectrumFileLines(" A", points, 0, 1),
              (std::vector<std::string>{"\" A\"", "\"\"", "\"\"", "57.50000     1500", "58.12346     0.5"}));
    EXPECT_EQ(SpectrumFileLines("", points, 1, 0), (std::vector<std::string>{"\"\"", "\"\"", "\"\""}));
    EXPECT_EQ(PeakFileName(57), "57peak.txt");
}

TEST(SpectrumWriter, BeforeAnyLoadOnlyTheHeaderIsWritten) {
    TempFolder folder;
    WriteSpectrumFile(folder / "s.txt", SpectrumState{});
    EXPECT_EQ(ReadAll(folder / "s.txt"), "\"\"\r\n\"\"\r\n\"\"\r\n");
}

TEST(SpectrumWriter, PeakOutsideTheSpectrumIsRefusedBeforeAnythingIsWritten) {
    TempFolder folder;
    const std::string path = folder / "57peak.txt";
    testing::WriteAll(path, "old");
    const SpectrumState state = SampleState();  // 7 points
    EXPECT_EQ(ErrorText([&] { WritePeakFile(path, state, 57, 5, 7); }),
              "Точки 5–7 лежат вне спектра: номера его точек от 0 до 6");
    EXPECT_EQ(ErrorText([&] { WritePeakFile(path, state, 57, -1, 2); }),
              "Точки -1–2 лежат вне спектра: номера его точек от 0 до 6");
    EXPECT_EQ(ErrorText([&] { WritePeakFile(path, SpectrumState{}, 57, 0, 0); }),
              "Точки 0–0 лежат вне спектра: спектр не загружен");
    EXPECT_EQ(ReadAll(path), "old");
    WritePeakFile(path, state, 57, 4, 3);  // last before first: the header alone
    EXPECT_EQ(ReadAll(path), "\"57 \xEF\xE8\xEA\"\r\n\"\"\r\n\"\"\r\n");
}

TEST(SpectrumWriter, IntegralSpectrumReadsBackWithMassesRoundedAndOneMoreBlankInTheTitle) {
    TempFolder folder;
    SpectrumState state;
    state.SpectrumTitle = " Проба";
    for (int i = 0; i < 50; ++i) state.Spectrum.push(100 + i * 0.0123456789, i * 37 % 1000);

    for (const char* expectedTitle : {"  Проба", "   Проба"}) {
        WriteSpectrumFile(folder / "s.txt", state);
        const LoadedSpectrum back = ReadSpectrumFile(folder / "s.txt");
        EXPECT_EQ(back.title, expectedTitle);
        ASSERT_EQ(back.points.count(), state.Spectrum.count());
        EXPECT_EQ(back.points.y, state.Spectrum.y);
        for (int i = 0; i < back.points.count(); ++i)
            EXPECT_EQ(back.points.x[i], *ParseNumber(FormatFixed(state.Spectrum.x[i], 5))) << i;
        ApplyLoadedSpectrum(state, back);
    }
}

TEST(SpectrumWriter, FractionalIntensitiesReadBackMultipliedBy1000) {
    TempFolder folder;
    SpectrumState state;
    state.Spectrum.push(100, 2);
    state.Spectrum.push(101, 2.5);
    WriteSpectrumFile(folder / "s.txt", state);
    const LoadedSpectrum back = ReadSpectrumFile(folder / "s.txt");
    EXPECT_EQ(back.title, " ");  // the empty title was written as two quotes
    EXPECT_EQ(back.points.y, (std::vector<double>{2000, 2500}));
}

TEST(SpectrumWriter, PeakFileReadsBackAsTheSpectrumOfThePeak) {
    TempFolder folder;
    SpectrumState state;
    for (int i = 0; i < 10; ++i) state.Spectrum.push(56.9 + i * 0.05, 100 * i);
    WritePeakFile(folder / "p.txt", state, 57, 2, 6);
    const LoadedSpectrum back = ReadSpectrumFile(folder / "p.txt");
    EXPECT_EQ(back.title, " 57 пик");
    EXPECT_EQ(back.points.y, (std::vector<double>{200, 300, 400, 500, 600}));
    EXPECT_EQ(back.points.x.front(), 57.0);
}

}  // namespace
}  // namespace orvelo
