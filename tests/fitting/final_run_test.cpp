#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fit_test_support.h"
#include "fitting/final_run.h"
#include "fitting/noise_threshold.h"
#include "fitting/fitted_curve.h"

namespace orvelo {
namespace {

PointList Extrema(const std::vector<double>& y) {
    PointList list;
    for (std::size_t i = 0; i < y.size(); ++i) list.push(10.0 + static_cast<double>(i), y[i]);
    return list;
}

TEST(FinalRun, ZonesStartAtTheFirstMinimumOfStageSeven) {
    const ZonePlan a = PlanZones(Extrema({3, 8, 2, 9, 1}));
    EXPECT_EQ(a.d, 0);
    EXPECT_EQ(a.count, 2);
    EXPECT_EQ(a.LeftEntry(1), 2);
    const ZonePlan b = PlanZones(Extrema({8, 3, 9, 2, 7, 1}));
    EXPECT_EQ(b.d, 1);
    EXPECT_EQ(b.count, 2);
    EXPECT_EQ(b.LeftEntry(0), 1);
    EXPECT_EQ(b.LeftEntry(1), 3);
    for (const std::vector<double>& few : {std::vector<double>{}, {5}, {1, 5}, {8, 3, 9}})
        EXPECT_EQ(ZoneCount(Extrema(few)), 0) << few.size();
    EXPECT_EQ(ZoneCount(Extrema({3, 8, 2, 9})), 1);
}

TEST(FinalRun, HeightTextMustBeDigitsWithinTheHeightRange) {
    for (const char* bad :
         {"", "-5", "+5", "12a", " 12", "1 2", "12 ", "1.5", "9223372036854775808", "99999999999999999999"})
        EXPECT_FALSE(CheckNoiseHeight(bad).has_value()) << '"' << bad << '"';
    EXPECT_EQ(CheckNoiseHeight("0012"), 12);
    EXPECT_EQ(CheckNoiseHeight("0"), 0);
    EXPECT_EQ(CheckNoiseHeight("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(std::string(kInvalidHeightMessage), "Недопустимое значение высоты.");
    EXPECT_EQ(GaussPowerFor(GaussShape::Ordinary), 2.0);
    EXPECT_EQ(GaussPowerFor(GaussShape::FlatTop), 8.0);
}

TEST(FinalRun, NoiseThresholdKeepsOnlyTheZonesAtOrAboveIt) {
    SpectrumState state = testing::PreparedState(testing::TwelvePeaks(2, 4).Generate(), 2);
    EXPECT_GT(ZoneCount(state.FinalExtrema), 100);
    ApplyNoiseThreshold(state, 100);
    EXPECT_EQ(state.NoiseThreshold, 100);
    EXPECT_EQ(ZoneCount(state.FinalExtrema), 12);
}

class SyntheticRun : public ::testing::TestWithParam<double> {};

TEST_P(SyntheticRun, FindsEveryPeakWithItsZoneInputAndLines) {
    const double n = GetParam();
    const testing::SyntheticSpectrum made = testing::TwelvePeaks(n, 0);
    const SpectrumState state = testing::PreparedState(made.Generate(), 2);
    FinalRunOptions options;
    options.gaussPower = n;
    options.threads = 1;
    const FinalRunResult run = RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);

    ASSERT_EQ(run.peaks.size(), made.peaks.size());
    EXPECT_EQ(run.ProblemCount, 0);
    EXPECT_FALSE(run.cancelled);
    const ZonePlan plan = PlanZones(state.FinalExtrema);
    const FitSource source(state.Spectrum, state.Smooth, n);
    for (std::size_t i = 0; i < made.peaks.size(); ++i) {
        const PeakResult& p = run.peaks[i];
        const int j = plan.LeftEntry(static_cast<int>(i));
        EXPECT_EQ(p.ZoneIndex, j);
        EXPECT_EQ(p.Left, state.FinalExtrema.x[j]);
        EXPECT_EQ(p.Right, state.FinalExtrema.x[j + 2]);
        EXPECT_NEAR(p.Centre, made.peaks[i].centre, 2e-5) << i;
        EXPECT_NEAR(p.R, made.peaks[i].resolvingPower, made.peaks[i].resolvingPower * 0.01) << i;
        EXPECT_NEAR(p.Height, made.baseline + made.peaks[i].amplitude, 2.0) << i;
        EXPECT_EQ(run.stops[i], FitStop::Converged) << i;
    }
    ASSERT_EQ(run.zoneLines.size(), 6 * made.peaks.size());
    const PeakInput first = source.Input(state.FinalExtrema.x[plan.d], state.FinalExtrema.x[plan.d + 2]);
    EXPECT_EQ(std::vector<std::string>(run.zoneLines.begin(), run.zoneLines.begin() + 6), ZoneLines(1, first));
    EXPECT_EQ(run.zoneLines[6].rfind("2, Fon = ", 0), 0u);
    EXPECT_EQ(run.zoneLines[5], " ");
    EXPECT_TRUE(run.problemLines.empty());
}

INSTANTIATE_TEST_SUITE_P(GaussianAndFlatTopped, SyntheticRun, ::testing::Values(2.0, 8.0));

TEST(FinalRun, ZoneLinesUseTheGeneralNumberForm) {
    PeakInput in;
    in.Fon = 12;
    in.Left = 57.0123;
    in.V = 3400;
    in.Center = 57.07;
    in.Right = 57.125;
    const std::vector<std::string> expected{"7, Fon = 12",       "7, Left = 57.0123", "7, V = 3400",
                                            "7, Center = 57.07", "7, Right = 57.125", " "};
    EXPECT_EQ(ZoneLines(7, in), expected);
}

struct Delivery {
    int zone;
    std::thread::id thread;
    PeakResult result;
    std::vector<std::string> lines;
    std::vector<std::string> problems;
};

FinalRunResult RunRecorded(const SpectrumState& state, int threads, std::vector<Delivery>& deliveries) {
    FinalRunOptions options;
    options.gaussPower = 2.0;
    options.threads = threads;
    options.onZone = [&](const ZoneReport& z) {
        deliveries.push_back({z.zone, std::this_thread::get_id(), z.result, z.lines, z.problemLines});
    };
    return RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
}

// Noise zones included: converged, step-cap and problem peaks all go through the run.
TEST(FinalRun, ParallelRunIsIdenticalToTheOneThreadRunAndDeliversInZoneOrder) {
    const SpectrumState state = testing::PreparedState(testing::TwelvePeaks(2, 4).Generate(), 2);
    std::vector<Delivery> one, many;
    const FinalRunResult a = RunRecorded(state, 1, one);
    const FinalRunResult b = RunRecorded(state, 4, many);

    ASSERT_EQ(a.peaks.size(), static_cast<std::size_t>(ZoneCount(state.FinalExtrema)));
    ASSERT_EQ(a.peaks.size(), b.peaks.size());
    for (std::size_t i = 0; i < a.peaks.size(); ++i) EXPECT_TRUE(testing::BitEqual(a.peaks[i], b.peaks[i])) << i;
    EXPECT_EQ(a.stops, b.stops);
    EXPECT_EQ(a.zoneLines, b.zoneLines);
    EXPECT_EQ(a.problemLines, b.problemLines);
    EXPECT_EQ(a.ProblemCount, b.ProblemCount);
    EXPECT_GT(a.ProblemCount, 10);
    EXPECT_EQ(a.problemLines.size(), 14u * a.ProblemCount);

    ASSERT_EQ(many.size(), one.size());
    for (std::size_t i = 0; i < many.size(); ++i) {
        EXPECT_EQ(many[i].zone, static_cast<int>(i));
        EXPECT_EQ(many[i].thread, std::this_thread::get_id());
        EXPECT_TRUE(testing::BitEqual(many[i].result, b.peaks[i]));
        EXPECT_EQ(many[i].lines, one[i].lines);
        EXPECT_EQ(many[i].problems, one[i].problems);
    }
}

// Counts the fits begun, so the callback can see how far the fitting has gone.
class CountingSums final : public StepSums {
public:
    explicit CountingSums(std::atomic<int>& fits) : fits_(fits) {}
    void BeginFit(const FitSamples& s) override {
        ++fits_;
        inner_.BeginFit(s);
    }
    void NormalSums(const FitSamples& s, const Params& P, NormalMatrix& M) override { inner_.NormalSums(s, P, M); }
    void ResidualSums(const FitSamples& s, const Params& P, std::array<double, 5>& r) override {
        inner_.ResidualSums(s, P, r);
    }

private:
    std::atomic<int>& fits_;
    FusedStepSums inner_;
};

TEST(FinalRun, OneThreadRunReportsEachZoneBeforeFittingTheNext) {
    const SpectrumState state = testing::PreparedState(testing::TwelvePeaks(2, 0).Generate(), 2);
    std::atomic<int> fits{0};
    std::vector<int> fitsSeen;
    FinalRunOptions options;
    options.threads = 1;
    options.makeSums = [&] { return std::make_unique<CountingSums>(fits); };
    options.onZone = [&](const ZoneReport&) { fitsSeen.push_back(fits.load()); };
    RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
    ASSERT_EQ(fitsSeen.size(), 12u);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(fitsSeen[i], i + 1);
}

TEST(FinalRun, CancelStopsTheRunBetweenZones) {
    const SpectrumState state = testing::PreparedState(testing::TwelvePeaks(2, 0).Generate(), 2);
    for (int threads : {1, 3}) {
        std::atomic<bool> cancel{false};
        int delivered = 0;
        FinalRunOptions options;
        options.threads = threads;
        options.cancel = &cancel;
        options.onZone = [&](const ZoneReport& z) {
            ++delivered;
            if (z.zone == 3) cancel = true;
        };
        const FinalRunResult run = RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
        EXPECT_TRUE(run.cancelled);
        EXPECT_EQ(delivered, 4);
        EXPECT_EQ(run.peaks.size(), 4u);
        EXPECT_EQ(run.zoneLines.size(), 24u);

        const FinalRunResult none = RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
        EXPECT_TRUE(none.cancelled);
        EXPECT_TRUE(none.peaks.empty());
    }
}

TEST(FinalRun, ExceptionFromTheCallbackEndsTheRunAndPropagates) {
    const SpectrumState state = testing::PreparedState(testing::TwelvePeaks(8, 0).Generate(), 2);
    for (int threads : {1, 4}) {
        FinalRunOptions options;
        options.threads = threads;
        options.onZone = [](const ZoneReport& z) {
            if (z.zone == 2) throw std::runtime_error("window gone");
        };
        EXPECT_THROW(RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options), std::runtime_error);
    }
}

// Zone 1 has no sample above zero; zone 2 reaches past the last sample.
TEST(FinalRun, ZonesWithoutSignalOrBeyondTheSpectrumAreHandledSoundly) {
    PointList spectrum;
    for (int i = 0; i < 50; ++i)
        spectrum.push(100 + 0.01 * i, i < 15 ? 0.0 : 100 * std::exp(-(i - 35) * (i - 35) / 20.0));
    PointList extrema;
    extrema.push(spectrum.x[1], 0);
    extrema.push(spectrum.x[8], 0.5);
    extrema.push(spectrum.x[14], 0);
    extrema.push(spectrum.x[35], 100);
    extrema.push(101.00, 5);
    FinalRunOptions options;
    options.threads = 1;
    const FinalRunResult run = RunFinal(spectrum, spectrum, extrema, options);
    ASSERT_EQ(run.peaks.size(), 2u);
    EXPECT_EQ(run.stops[0], FitStop::UnusableWindow);
    EXPECT_TRUE(IsProblemPeak(run.peaks[0]));
    EXPECT_EQ(run.peaks[0].Centre, spectrum.x[1]);
    EXPECT_EQ(run.zoneLines[3], "1, Center = 100.01");
    EXPECT_EQ(run.ProblemCount, 1);
    EXPECT_EQ(run.problemLines.size(), 14u);
    EXPECT_EQ(run.problemLines[0], "1 пик");
    EXPECT_EQ(run.peaks[1].N, 36);  // samples 14 .. 49
    EXPECT_FALSE(IsProblemPeak(run.peaks[1]));
    EXPECT_NEAR(run.peaks[1].Centre, 100.35, 0.01);
    for (const PeakResult& p : run.peaks) EXPECT_TRUE(testing::AllFinite(p));
}

TEST(FinalRun, FittedCurvesAreDrawnInThousandthsFromTheLeftBoundUpToTheRight) {
    PeakResult a;
    a.Left = 10;
    a.Right = 10.0105;
    a.Centre = 10.005;
    a.R = 1000;
    a.Height = 105;
    a.Background = 5;
    PeakResult b = a;
    b.Left = 20;
    b.Right = 70;
    b.Centre = 21;
    std::vector<int> starts{99};
    const PointList curve = FittedCurves({a, b}, 2.0, &starts);
    ASSERT_EQ(curve.count(), 11 + 10001);
    EXPECT_EQ(starts, (std::vector<int>{0, 11}));  // each peak's curve is a piece of its own
    EXPECT_EQ(curve.x[0], 10);
    EXPECT_EQ(curve.x[10], 10 + 10 / 1000.0);
    EXPECT_EQ(curve.x[11], 20);
    EXPECT_EQ(curve.x.back(), 30);
    EXPECT_DOUBLE_EQ(curve.y[5], 105);  // at the centre
    EXPECT_LT(curve.y[0], 105);
    EXPECT_GT(curve.y[0], 5);
    // The flat-topped shape stays higher near the centre.
    const PointList flat = FittedCurves({a}, 8.0);
    EXPECT_GT(flat.y[2], curve.y[2]);
}

}  // namespace
}  // namespace orvelo
