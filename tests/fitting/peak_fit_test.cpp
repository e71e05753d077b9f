#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "fit_test_support.h"
#include "fitting/peak_fit.h"
#include "fitting/self_test.h"
#include "fitting/step_sums.h"
#include "support/one_pass_per_sum.h"

namespace orvelo {
namespace {

using testing::ModelPeak;
using testing::WholeListInput;

const Params kModel{5, 1000, 1500, 100};

TEST(PeakFit, DeterminantsOfKnownMatricesMatchHandValues) {
    const Matrix4 a{{{1, 1, 5, 6}, {1, 2, 8, 3}, {1, 3, 0, 1}, {1, 4, 2, 0}}};
    EXPECT_EQ(Det4(a), -21.0);
    const Matrix4 b{{{1, 4, 345, 1}, {2, 4, 6744, 4}, {56, -3, 167, -23}, {3, 4, -17, 9}}};
    EXPECT_EQ(Cofactor(b, 2, 2), -8.0);
    EXPECT_EQ(Det3({2, 0, 0, 0, 3, 0, 0, 0, 4}), 24.0);
    EXPECT_EQ(Op44Message(), "Op44 = -21");
    EXPECT_EQ(DopolnenieMessage(), "Dopolnenie = -8");

    NormalMatrix m{{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}, {-1, -2, -3, -4}}};
    const Matrix4 r = ReplaceRow(m, 2);
    EXPECT_EQ(r[2], m[4]);
    EXPECT_EQ(r[1], m[1]);
    EXPECT_EQ(ReplaceRow(m, 4)[2], m[2]);
}

TEST(PeakFit, IntPowerSquaresAndMultipliesInTheDocumentedOrder) {
    const double t = -0.7316;
    const double t2 = t * t, t4 = t2 * t2;
    EXPECT_EQ(IntPower(t, 7), 1.0 * t * t2 * t4);
    EXPECT_EQ(IntPower(t, 8), t4 * t4);
    EXPECT_EQ(IntPower(t, 2), t2);
    EXPECT_EQ(IntPower(t, 1), t);
    EXPECT_EQ(IntPower(t, 0), 1.0);
    EXPECT_LT(IntPower(t, 7), 0.0);  // odd powers keep the sign of the high-mass side
    EXPECT_EQ(IntPower(2.0, -2), 0.25);
}

class NoiseFreeModelPeak : public ::testing::TestWithParam<double> {};

TEST_P(NoiseFreeModelPeak, IsRecoveredInAboutFiveSteps) {
    const double n = GetParam();
    const PointList peak = ModelPeak(kModel, n);
    const FitSource source(peak, peak, n);
    FitState state;
    std::vector<std::string> log;
    const FitOutcome out = FitPeak(state, source, WholeListInput(source), {&log, nullptr});

    EXPECT_EQ(out.stop, FitStop::Converged);
    EXPECT_GE(out.result.Iter, 3);
    EXPECT_LE(out.result.Iter, 8);
    EXPECT_NEAR(out.result.Centre, 100, 1e-10);
    EXPECT_NEAR(out.result.R, 1500, 1e-6);
    EXPECT_NEAR(out.result.Background, 5, 1e-8);
    EXPECT_NEAR(out.result.Height, 1005, 1e-8);
    EXPECT_EQ(out.result.N, 61);
    // S keeps the terms P_k * g_k, which vanish only to rounding at convergence.
    EXPECT_LT(out.result.StdErr, 1e-3);
    EXPECT_EQ(log.size(), 6 * static_cast<std::size_t>(out.result.Iter));
}

INSTANTIATE_TEST_SUITE_P(GaussianAndFlatTopped, NoiseFreeModelPeak, ::testing::Values(2.0, 8.0));

TEST(PeakFit, AnalyticPartialDerivativesMatchFiniteDifferences) {
    for (double n : {2.0, 8.0}) {
        const PointList peak = ModelPeak(kModel, n, 41);
        const FitSamples s{peak.x.data(), peak.y.data(), 0, peak.count() - 1, n};
        const Params at{4, 900, 1400, 100.002};
        for (int i = 0; i < peak.count(); i += 3) {
            const auto model = [&](const Params& p) { return PointTerm(4, s, i, p) + peak.y[i]; };
            EXPECT_EQ(PointTerm(0, s, i, at), 1.0);
            for (int k = 1; k < 4; ++k) {
                const double h = std::fabs(at[k]) * 1e-9;
                Params up = at, down = at;
                up[k] += h;
                down[k] -= h;
                const double numeric = (model(up) - model(down)) / (2 * h);
                const double analytic = PointTerm(k, s, i, at);
                EXPECT_NEAR(analytic, numeric, 1e-5 * (1 + std::fabs(analytic)))
                    << "n " << n << " sample " << i << " parameter " << k;
            }
        }
    }
}

// A window whose samples are all equal: B0 = 0 makes the C and D columns zero. The smoothed
// spectrum never rises to half the height, so C0 is 1000.
TEST(PeakFit, SingularZoneBecomesAProblemPeakWithAFourteenLineReport) {
    PointList flat, smooth;
    for (int i = 0; i < 20; ++i) flat.push(200 + 0.01 * i, 7);
    for (int i = 0; i < 20; ++i) smooth.push(200 + 0.01 * i, 0);
    const FitSource source(flat, smooth, 2.0);
    FitState state;
    state.PeakNumber = 3;
    std::vector<std::string> problems;
    const FitOutcome out = FitPeak(state, source, WholeListInput(source), {nullptr, &problems});

    EXPECT_EQ(out.stop, FitStop::Singular);
    EXPECT_TRUE(IsProblemPeak(out.result));
    EXPECT_EQ(out.result.Height, kProblemPeakHeight);
    EXPECT_EQ(out.result.Centre, 200);
    EXPECT_EQ(out.result.R, 1000);
    EXPECT_EQ(out.result.Background, 7);
    const std::vector<std::string> expected{"3 пик",
                                            "0 итерация",
                                            "Начальные параметры",
                                            "A0 = 7",
                                            "B0 = 0",
                                            "C0 = 1000",
                                            "D0 = 200",
                                            "Текущие параметры",
                                            "A = 7",
                                            "B = 0",
                                            "C = 1000",
                                            "D = 200",
                                            "",
                                            ""};
    EXPECT_EQ(problems, expected);
}

TEST(PeakFit, StepCounterStartsFromZeroForEveryFit) {
    const PointList peak = ModelPeak(kModel, 2.0);
    PointList flat;
    for (int i = 0; i < 20; ++i) flat.push(200 + 0.01 * i, 7);
    FitState state;
    const FitSource good(peak, peak, 2.0);
    FitPeak(state, good, WholeListInput(good));
    ASSERT_GT(state.FitIterations, 0);

    const FitSource bad(flat, flat, 2.0);
    std::vector<std::string> problems;
    FitPeak(state, bad, WholeListInput(bad), {nullptr, &problems});
    ASSERT_EQ(problems.size(), 14u);
    EXPECT_EQ(problems[1], "0 итерация");
}

// On a noisy peak a billion times higher, rounding keeps the increments of A and B far above
// 1e-8 in absolute value.
TEST(PeakFit, FitThatNeverConvergesStopsAfterExactlyTenThousandSteps) {
    PointList peak = ModelPeak({5e9, 1e12, 1500, 100}, 2.0);
    for (int i = 0; i < peak.count(); ++i) peak.y[i] += 1e6 * ((i * 7) % 5 - 2);
    const FitSource source(peak, peak, 2.0);
    FitState state;
    const FitOutcome out = FitPeak(state, source, WholeListInput(source));
    EXPECT_EQ(out.stop, FitStop::StepCap);
    EXPECT_EQ(out.result.Iter, kMaxFitSteps);
    EXPECT_FALSE(IsProblemPeak(out.result));
    EXPECT_NEAR(out.result.Centre, 100, 1e-9);
    EXPECT_TRUE(out.settled) << "its last steps are at the rounding of values near 1e12";
}

// Settled means every increment is within 1e-9 of its own parameter; one larger step (here
// C moving by 2e-9 of itself) or any parameter that is not a number keeps the fit moving.
TEST(PeakFit, SettledIncrementsAreRelativeToEachParameter) {
    const Params values{5e9, 1e12, 1e5, 100};
    EXPECT_TRUE(SettledIncrements({4, -900, 1e-5, 1e-8}, values));
    EXPECT_FALSE(SettledIncrements({4, -900, 2e-4, 1e-8}, values));
    EXPECT_FALSE(SettledIncrements({0, 0, 0, 1e-8}, {5e9, 1e12, 1e5, 0}));
    EXPECT_FALSE(SettledIncrements({NAN, 0, 0, 0}, values));
}

// Five samples, one more than the parameters: the smallest window that is fitted. The residual
// variance has N - 4 = 1 degree of freedom, so StdErr is the root of the residual sum itself,
// computed here from the fitted values.
TEST(PeakFit, FiveSampleNoisyWindowFitsWithOneDegreeOfFreedom) {
    const Params truth{20, 1000, 1500, 100};
    PointList peak;
    const double noise[5] = {3, -4, 5, 2, -6};
    for (int i = -2; i <= 2; ++i) {
        const double x = 100 + 0.02 * i;
        peak.push(x, testing::ModelValue(truth, 2.0, x) + noise[i + 2]);
    }
    const FitSource source(peak, peak, 2.0);
    FitState state;
    const FitOutcome out = FitPeak(state, source, WholeListInput(source));
    ASSERT_EQ(out.stop, FitStop::Converged);
    EXPECT_EQ(out.result.N, 5);
    EXPECT_EQ(out.result.Iter, 10);  // the first step whose four increments are all below 1e-8
    const Params fitted{state.P[0], state.P[1], state.P[2], state.P[3]};
    double residuals = 0;
    for (int i = 0; i < 5; ++i) {
        const double r = testing::ModelValue(fitted, 2.0, peak.x[i]) - peak.y[i];
        residuals += r * r;
    }
    // S keeps the terms P_k * g_k, which vanish only to rounding at convergence.
    EXPECT_NEAR(out.result.StdErr, std::sqrt(residuals / 1), 1e-4 * out.result.StdErr);
}

TEST(PeakFit, WindowsTooSmallOrWithoutSignalAreProblemPeaksWithoutNaN) {
    PointList four;
    for (int i = 0; i < 4; ++i) four.push(10 + i, 1 + i % 2);
    PointList zeros;
    for (int i = 0; i < 10; ++i) zeros.push(10 + i, 0);
    for (const PointList* list : {&four, &zeros}) {
        const FitSource source(*list, *list, 2.0);
        FitState state;
        std::vector<std::string> problems;
        const FitOutcome out = FitPeak(state, source, WholeListInput(source), {nullptr, &problems});
        EXPECT_EQ(out.stop, FitStop::UnusableWindow);
        EXPECT_TRUE(IsProblemPeak(out.result));
        EXPECT_TRUE(testing::AllFinite(out.result));
        EXPECT_EQ(problems.size(), 14u);
        EXPECT_EQ(problems[1], "0 итерация");
    }
    // No sample above zero: the centre is the zone's left bound.
    const FitSource source(zeros, zeros, 2.0);
    const PeakInput in = source.Input(12, 15);
    EXPECT_EQ(in.centreIndex, -1);
    EXPECT_EQ(in.Center, 12);
    // A zone beyond the spectrum has an empty window.
    const PeakInput beyond = source.Input(30, 40);
    EXPECT_EQ(beyond.window.N, 0);
    FitState state;
    EXPECT_EQ(FitPeak(state, source, beyond).stop, FitStop::UnusableWindow);
}

// V = 0 and Center = Left: the half-height crossings are those of level 0 on the smoothed
// spectrum, rising at 13, never falling, so the scan ends at the window's last sample, 19.
TEST(PeakFit, ZoneWithoutPositiveSampleReportsTheStartValuesOfTheFit) {
    PointList zeros, smooth;
    for (int i = 0; i < 10; ++i) zeros.push(10 + i, 0);
    for (int i = 0; i < 10; ++i) smooth.push(10 + i, i >= 3 && i <= 6 ? 5 : 0);
    const FitSource source(zeros, smooth, 2.0);
    FitState state;
    std::vector<std::string> problems;
    const FitOutcome out = FitPeak(state, source, WholeListInput(source), {nullptr, &problems});
    EXPECT_EQ(out.stop, FitStop::UnusableWindow);
    ASSERT_EQ(problems.size(), 14u);
    EXPECT_EQ(problems[5], "C0 = " + FormatGeneral(10.0 / (19 - 13)));
    EXPECT_EQ(problems[6], "D0 = 10");
    EXPECT_EQ(out.result.R, kProblemC);
    // An empty window gives no start values: C0 is 1000.
    problems.clear();
    FitPeak(state, source, source.Input(30, 40), {nullptr, &problems});
    EXPECT_EQ(problems[5], "C0 = 1000");
}

TEST(PeakFit, OverflowingWindowBecomesAProblemPeakWithFiniteValues) {
    const PointList peak = ModelPeak({1e200, 1e300, 1500, 100}, 2.0);
    const FitSource source(peak, peak, 2.0);
    FitState state;
    const FitOutcome out = FitPeak(state, source, WholeListInput(source));
    EXPECT_TRUE(out.problem());
    EXPECT_TRUE(IsProblemPeak(out.result));
    EXPECT_TRUE(testing::AllFinite(out.result));
}

TEST(PeakFit, WindowAndInputFollowTheZoneBounds) {
    PointList s;
    const double y[] = {1, 3, 9, 9, 4, 2, 5};
    for (int i = 0; i < 7; ++i) s.push(1 + i, y[i]);
    const FitSource source(s, s, 2.0);
    const PeakInput in = source.Input(1.5, 6);
    EXPECT_EQ(in.window.first, 1);
    EXPECT_EQ(in.window.last, 5);
    EXPECT_EQ(in.window.N, 5);
    EXPECT_EQ(in.V, 9);
    EXPECT_EQ(in.centreIndex, 2);  // the first of equal maxima
    EXPECT_EQ(in.Center, 3);
    EXPECT_EQ(in.Fon, 2);
    // Nothing reaches Right: the window ends at the last sample.
    const FitWindow open = source.Window(4, 100);
    EXPECT_EQ(open.last, 6);
    EXPECT_EQ(open.N, 4);
}

TEST(PeakFit, LevelCrossingStaysInsideTheSmoothedSpectrum) {
    PointList spectrum, smooth;
    for (int i = 0; i < 10; ++i) spectrum.push(i, i == 5 ? 10 : 1);
    for (int i = 0; i < 4; ++i) smooth.push(i, 1);
    const FitSource source(spectrum, smooth, 2.0);
    // The fit window ends at index 9, the smoothed spectrum at index 3.
    EXPECT_EQ(source.LevelCrossing(Crossing::Rising, 5, 0, 9), 3);
    EXPECT_EQ(source.EstimateR(10, 0, 5, 9), 1000.0);  // both crossings on the same sample
    const PointList empty;
    const FitSource none(spectrum, empty, 2.0);
    EXPECT_EQ(none.LevelCrossing(Crossing::Falling, 5, 2.5, 9), 2.5);
}

TEST(PeakFit, UnorderedMassesFindTheSmallestIndexAtOrAbove) {
    const std::vector<double> x{5, 1, 7, 3, 9};
    const MassIndex index(x);
    EXPECT_EQ(index.FirstAtOrAbove(6), 2);
    EXPECT_EQ(index.FirstAtOrAbove(2), 0);
    EXPECT_EQ(index.FirstAtOrAbove(10), 5);
    const std::vector<double> sorted{1, 2, 2, 3};
    EXPECT_EQ(MassIndex(sorted).FirstAtOrAbove(2), 1);
}

TEST(PeakFit, IterationLogHasSixLinesPerStepInTheGeneralForm) {
    const std::vector<std::string> lines = IterationLines(3, {5, 1000.5, 1500, 100.25}, {0.01, 2, 1e-7, 0});
    const std::vector<std::string> expected{"Итерация № 3",    "A = 5,  0.01",   "B = 1000.5,  2",
                                            "C = 1500,  1E-7", "D = 100.25,  0", ""};
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace orvelo
