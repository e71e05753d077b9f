#include <gtest/gtest.h>

#include "calibration/golden_file.h"
#include "calibration/peaks.h"
#include "calibration/theory_series.h"
#include "core/file_support.h"
#include "core/text_file.h"

namespace orvelo {
namespace {

using testing::ExpectMatchesGolden;
using testing::Peak;

// Peaks from 14.2 to 57.1 (j = 15 .. 58) with one problem peak (height 1.0) at 27.995.
PeakResults SamplePeaks() {
    return {Peak(14.2, 500, 900), Peak(27.995, kProblemPeakHeight, 0), Peak(28.0313, 8000, 1400),
            Peak(43.0548, 12345.4, 1480.6), Peak(57.0712, 8410, 1523)};
}

ReferenceTables TablesOf(const PeakResults& peaks) {
    ReferenceTables t;
    StandartCH(peaks, ElementMasses{}, t);
    StandartCF(peaks, ElementMasses{}, t);
    return t;
}

TEST(TheorySeries, DefectsAreMeasuredFromTheWholeNumberBelowOrNearest) {
    EXPECT_NEAR(CHDefectMmu(15.02349), 23.49, 1e-9);
    EXPECT_NEAR(CFDefectMmu(68.9952), -4.8, 1e-9);
    EXPECT_NEAR(CHDefectMmu(57.0712), 71.2, 1e-9);
    EXPECT_NEAR(CFDefectMmu(57.0712), 71.2, 1e-9);
    EXPECT_NEAR(CHDefectMmu(68.9941), 994.1, 1e-9);
    EXPECT_NEAR(CFDefectMmu(68.9941), -5.9, 1e-9);
    EXPECT_EQ(CFDefectMmu(40.5), 500.0);  // 40.5 rounds to 40
}

TEST(TheorySeries, TheorySeriesAreInAscendingMassThoughTheTablesAreNot) {
    const PeakResults peaks = SamplePeaks();
    const ReferenceTables t = TablesOf(peaks);
    const TheoryChart ch = CreateTeoriaCH(t, peaks);
    ASSERT_EQ(ch.theory.count(), static_cast<int>(t.CHList.size()));
    EXPECT_TRUE(std::is_sorted(ch.theory.x.begin(), ch.theory.x.end()));
    EXPECT_EQ(ch.theory.x.front(), 14.01566);
    EXPECT_NEAR(ch.theory.y[1], 23.49, 1e-9);

    const TheoryChart cf = CreateTeoriaCF(t, peaks);
    ASSERT_EQ(cf.theory.count(), static_cast<int>(t.CFList.size()));
    EXPECT_TRUE(std::is_sorted(cf.theory.x.begin(), cf.theory.x.end()));
    for (int i = 0; i < cf.theory.count(); ++i) EXPECT_NEAR(cf.theory.y[i], CFDefectMmu(cf.theory.x[i]), 0);
}

TEST(TheorySeries, ProblemPeaksAreLeftOutOfTheCHPracticeOnly) {
    const PeakResults peaks = SamplePeaks();
    const ReferenceTables t = TablesOf(peaks);
    const TheoryChart ch = CreateTeoriaCH(t, peaks);
    const TheoryChart cf = CreateTeoriaCF(t, peaks);
    EXPECT_EQ(ch.practice.peakIndex, (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(cf.practice.peakIndex, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_NEAR(ch.practice.points.y[3], 71.2, 1e-9);
    EXPECT_NEAR(cf.practice.points.y[1], -5.0, 1e-9);

    // Point 1 of the CH practice follows the problem peak: its mark shows peak 2.
    EXPECT_EQ(HoverMarkText(ch.practice, peaks, 1, 1, true), "M = 28.031\rR = 1400\rV = 8000");
    EXPECT_EQ(HoverMarkText(ch.practice, peaks, 3, 3, true), "M = 57.071\rR = 1523\rV = 8410");
    EXPECT_EQ(HoverMarkText(cf.practice, peaks, 1, 1, true), "M = 27.995\rR = 0\rV = 1");
}

TEST(TheorySeries, HoverMarkOnlyForThePointUnderTheCursorWithHintsOn) {
    const PeakResults peaks = SamplePeaks();
    const TheoryChart ch = CreateTeoriaCH(TablesOf(peaks), peaks);
    EXPECT_EQ(HoverMarkText(ch.practice, peaks, 2, 2, true), "M = 43.055\rR = 1481\rV = 12345");
    EXPECT_EQ(HoverMarkText(ch.practice, peaks, 2, 2, false), "");
    EXPECT_EQ(HoverMarkText(ch.practice, peaks, 2, 3, true), "");
    EXPECT_EQ(HoverMarkText(ch.practice, peaks, -1, -1, true), "");
    EXPECT_EQ(HoverMarkText(ch.practice, peaks, 9, 9, true), "");
}

TEST(TheorySeries, SawFilesStartWithThreeHeadingLinesThenRoundedPoints) {
    const PeakResults peaks = SamplePeaks();
    const TheoryChart ch = CreateTeoriaCH(TablesOf(peaks), peaks);
    const auto theory = PilaCHTheoryLines(ch.theory);
    ASSERT_GE(theory.size(), 5u);
    EXPECT_EQ(theory[0], "\"Пила CH (теория)\"");
    EXPECT_EQ(theory[1], "\"\"");
    EXPECT_EQ(theory[2], "\"\"");
    EXPECT_EQ(theory[3], "14\t16");
    EXPECT_EQ(theory[4], "15\t23");
    ExpectMatchesGolden(theory, "calibration-pila-ch-theory.txt");
    ExpectMatchesGolden(PilaCHPracticeLines(ch.practice.points), "calibration-pila-ch-practice.txt");

    EXPECT_EQ(PilaCHPracticeLines(PointList{}), (std::vector<std::string>{"\"Пила CH (практика)\"", "\"\"", "\"\""}));
}

TEST(TheorySeries, CHListFileHasOneTabSeparatedLinePerRow) {
    const ReferenceTables t = TablesOf(SamplePeaks());
    const auto lines = CHListLines(t.CHList);
    ASSERT_EQ(lines.size(), t.CHList.size());
    EXPECT_EQ(lines[0], "14.01566\tC 1 H 2");
    EXPECT_EQ(lines[2], "16.03132\tC 1 H 4\tмолек");
    ExpectMatchesGolden(lines, "calibration-ch-list.txt");
    EXPECT_TRUE(CHListLines({}).empty());
}

TEST(TheorySeries, SawFileOnDiskIsTheGoldenFile) {
    const PeakResults peaks = SamplePeaks();
    const TheoryChart ch = CreateTeoriaCH(TablesOf(peaks), peaks);
    const testing::TempFolder dir;
    const std::string path = dir / "CH_t.txt";
    WriteTextFile(path, PilaCHTheoryLines(ch.theory));
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(testing::GoldenPath("calibration-pila-ch-theory.txt")));
}

}  // namespace
}  // namespace orvelo
