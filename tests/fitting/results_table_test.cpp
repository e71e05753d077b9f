#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fitting/peak_fit.h"
#include "fitting/results_table.h"

namespace orvelo {
namespace {

PeakResult Peak(double centre) {
    PeakResult p;
    p.Centre = centre;
    p.R = 1499.6;
    p.Height = 1005;
    p.Background = 5.04;
    p.Errors = {0.5, 1.25, 12.34, 0.0000126};
    p.StdErr = 20.1;
    p.Iter = 5;
    p.N = 61;
    return p;
}

PeakResult Problem(double centre, double n) {
    PeakResult p;
    p.Centre = centre;
    p.R = kProblemC;
    p.Height = kProblemPeakHeight;
    p.N = n;
    return p;
}

TEST(ResultsTable, HeadsAreTheTwelveColumnNames) {
    const ResultRow expected{"M", "Масса", "Ошибка", "Me", "DMe", "R", "dR", "A", "B", "Std Err", "Iter", "Kol"};
    EXPECT_EQ(ResultsTableHeads(), expected);
    const std::vector<ResultRow> rows = ResultsTable({});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], expected);
}

TEST(ResultsTable, NominalMassAndMassDefectFollowTheirOwnRoundings) {
    struct Case {
        double centre;
        int M;
        const char* Me;
    };
    for (const Case& c : {Case{28.0313, 28, "31.30"}, Case{27.995, 28, "-5.00"}, Case{43.7, 43, "-300.00"},
                          Case{43.8, 43, "-200.00"}, Case{43.81, 44, "-190.00"}, Case{100, 100, "0.00"}}) {
        EXPECT_EQ(NominalMass(c.centre), c.M) << c.centre;
        const std::vector<ResultRow> rows = ResultsTable({Peak(c.centre)});
        EXPECT_EQ(rows[1][0], std::to_string(c.M)) << c.centre;
        EXPECT_EQ(rows[1][3], c.Me) << c.centre;
    }
}

// Beyond 2^31 (and beyond every integer type) the nominal mass is still the whole number.
TEST(ResultsTable, NominalMassesBeyondTheIntegerRangeStayExact) {
    EXPECT_EQ(NominalMass(3e9 + 0.5), 3e9);
    EXPECT_EQ(NominalMass(-3e9), -3e9);
    EXPECT_EQ(NominalMass(1e20), 1e20);
    EXPECT_EQ(ResultsTable({Peak(4294967296.3)})[1][0], "4294967296");
    EXPECT_EQ(ResultsTable({Peak(1e20)})[1][0], "100000000000000000000");
    EXPECT_EQ(ResultsTable({Peak(-0.1)})[1][0], "0");
}

TEST(ResultsTable, NormalRowShowsEveryColumnWithItsDecimals) {
    const std::vector<ResultRow> rows = ResultsTable({Peak(28.0313)});
    const ResultRow expected{"28",   "28.031300", "0.000013", "31.30", "",  "1500",
                             "12.3", "5.0",       "1000.0",   "0.02",  "5", "61"};
    EXPECT_EQ(rows[1], expected);
}

TEST(ResultsTable, DMeIsTakenAgainstThePreviousNormalRow) {
    const std::vector<ResultRow> rows = ResultsTable({Peak(28.0313), Problem(29.5, 7), Peak(27.995), Peak(43.7)});
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1][4], "");
    EXPECT_EQ(rows[3][4], "-36.3");   // -5.00 - 31.30, past the problem row
    EXPECT_EQ(rows[4][4], "-295.0");  // -300.00 - (-5.00)
}

TEST(ResultsTable, ProblemRowShowsMassErrorBlanksAndSampleCount) {
    const std::vector<ResultRow> rows = ResultsTable({Problem(57.93, 4), Peak(28.0313)});
    const ResultRow expected{"58", "Ошибка", " ", " ", " ", " ", " ", " ", " ", " ", " ", "4"};
    EXPECT_EQ(rows[1], expected);
    // A first problem row leaves previousMe at 0: the second row's DMe is its own Me.
    EXPECT_EQ(rows[2][4], "31.3");
}

TEST(ResultsTable, ZeroHeightShowsAMarkerInsteadOfADivisionResult) {
    PeakResult p = Peak(50.1);
    p.Height = 0;
    p.Background = 2;
    EXPECT_EQ(ResultsTable({p})[1][9], "-");
}

// A capped fit is marked as settled or still moving, R that is not positive is marked whatever
// the stop, and converged or problem rows are not marked; every mark has its reason.
TEST(ResultsTable, RowWarningsTellSettledCapsFromMovingOnesAndFlagBadR) {
    PeakResult badR = Peak(43.1);
    badR.R = -3;
    PeakResult nanR = Peak(43.1);
    nanR.R = NAN;
    EXPECT_EQ(RowWarningOf(FitStop::Converged, false, Peak(43.1)), RowWarning::None);
    EXPECT_EQ(RowWarningOf(FitStop::StepCap, true, Peak(43.1)), RowWarning::CapSettled);
    EXPECT_EQ(RowWarningOf(FitStop::StepCap, false, Peak(43.1)), RowWarning::CapMoving);
    EXPECT_EQ(RowWarningOf(FitStop::Converged, false, badR), RowWarning::RNotPositive);
    EXPECT_EQ(RowWarningOf(FitStop::StepCap, true, nanR), RowWarning::RNotPositive);
    EXPECT_EQ(RowWarningOf(FitStop::Singular, false, Problem(43.1, 61)), RowWarning::None);
    EXPECT_TRUE(RowWarningText(RowWarning::None).empty());
    EXPECT_NE(RowWarningText(RowWarning::CapSettled).find("установились"), std::string::npos);
    EXPECT_NE(RowWarningText(RowWarning::CapMoving).find("ещё менялись"), std::string::npos);
    EXPECT_NE(RowWarningText(RowWarning::RNotPositive).find("R не положительно"), std::string::npos);
}

}  // namespace
}  // namespace orvelo
