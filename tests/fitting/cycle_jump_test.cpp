// Fits that reach the step cap in a cycle of their parameters skip whole periods: the result,
// the log and the state must be those of every one of the 10,000 steps computed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/spectrum_file.h"
#include "fit_test_support.h"
#include "fitting/final_run.h"
#include "fitting/noise_threshold.h"
#include "fitting/peak_fit.h"

namespace orvelo {
namespace {

// The fused sums, counting the steps actually computed.
class CountedSums final : public StepSums {
public:
    void BeginFit(const FitSamples& s) override { fused_.BeginFit(s); }
    void NormalSums(const FitSamples& s, const Params& P, NormalMatrix& M) override {
        ++steps;
        fused_.NormalSums(s, P, M);
    }
    void ResidualSums(const FitSamples& s, const Params& P, std::array<double, 5>& r) override {
        fused_.ResidualSums(s, P, r);
    }
    int steps = 0;

private:
    FusedStepSums fused_;
};

struct Fitted {
    FitOutcome outcome;
    FitState state;
    std::vector<std::string> log;
    int computedSteps = 0;
};

Fitted Fit(const FitSource& source, const PeakInput& input, bool jumpCycles) {
    Fitted f;
    CountedSums sums;
    f.outcome = FitPeakWith(f.state, source, input, {&f.log, nullptr}, sums, jumpCycles);
    f.computedSteps = sums.steps;
    return f;
}

template <class T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Both ways must end at the cap with the same bits; returns the steps the jumping fit computed.
int ExpectJumpMatchesEveryStep(const FitSource& source, const PeakInput& input, const std::string& what) {
    const Fitted every = Fit(source, input, false);
    const Fitted jumped = Fit(source, input, true);
    EXPECT_EQ(every.outcome.stop, FitStop::StepCap) << what;
    EXPECT_EQ(every.computedSteps, kMaxFitSteps) << what;
    EXPECT_EQ(jumped.outcome.stop, every.outcome.stop) << what;
    EXPECT_EQ(jumped.outcome.settled, every.outcome.settled) << what;
    EXPECT_TRUE(testing::BitEqual(jumped.outcome.result, every.outcome.result)) << what;
    EXPECT_EQ(jumped.state.FitIterations, kMaxFitSteps) << what;
    EXPECT_TRUE(SameBits(jumped.state.P, every.state.P) && SameBits(jumped.state.e, every.state.e) &&
                SameBits(jumped.state.S, every.state.S) && SameBits(jumped.state.s2, every.state.s2) &&
                SameBits(jumped.state.M, every.state.M) && SameBits(jumped.state.d, every.state.d))
        << what;
    EXPECT_EQ(jumped.log.size(), 6u * kMaxFitSteps) << what;
    EXPECT_TRUE(jumped.log == every.log) << what;
    return jumped.computedSteps;
}

// A noisy peak a billion times higher than usual: its increments stay at the rounding of
// values near 1e12, far above 1e-8, and soon repeat.
TEST(CycleJump, TallNoisyPeakOfEitherShapeSkipsToTheCapWithTheSameResult) {
    for (double n : {2.0, 8.0}) {
        PointList peak = testing::ModelPeak({5e9, 1e12, 1500, 100}, n);
        for (int i = 0; i < peak.count(); ++i) peak.y[i] += 1e6 * ((i * 7) % 5 - 2);
        const FitSource source(peak, peak, n);
        const int computed =
            ExpectJumpMatchesEveryStep(source, testing::WholeListInput(source), "n = " + std::to_string(n));
        EXPECT_LT(computed, kMaxFitSteps / 10) << n;
    }
}

SpectrumState RealSpectrum(const char* name, int64_t threshold) {
    SpectrumState state;
    ApplyLoadedSpectrum(state, ReadSpectrumFile(std::string(ORVELO_REAL_DATA) + "/" + name));
    state.KolUsred = 150;
    RunPreliminary(state);
    ApplyNoiseThreshold(state, threshold);
    return state;
}

PeakInput ZoneFrom(const FitSource& source, const PointList& extrema, double left) {
    for (int j = 0; j + 2 < extrema.count(); ++j)
        if (std::fabs(extrema.x[j] - left) < 1e-5) return source.Input(extrema.x[j], extrema.x[j + 2]);
    ADD_FAILURE() << "no zone starts at " << left;
    return {};
}

// Zones of the real spectra whose parameters start repeating late or with a long period: the
// Gaussian zone from 465.7274 of the Orbitrap spectrum cycles from step 1,606 with period 76;
// the flat-topped zone from 1139.1796 of the LTQ FT spectrum from step 235 with period 4 and
// does not settle.
TEST(CycleJump, LateAndLongCyclesOfRealZonesGiveTheResultOfEveryStep) {
    const SpectrumState orbitrap = RealSpectrum("orbitrap_qexactive_ms1.txt", 300);
    const FitSource gaussian(orbitrap.Spectrum, orbitrap.Smooth, 2.0);
    const int late = ExpectJumpMatchesEveryStep(gaussian, ZoneFrom(gaussian, orbitrap.FinalExtrema, 465.727417),
                                                "Orbitrap 465.7274");
    EXPECT_GT(late, 1606);
    EXPECT_LT(late, kMaxFitSteps / 2);

    const SpectrumState ltqft = RealSpectrum("ltqft_ms1_scan1.txt", 300);
    const FitSource flat(ltqft.Spectrum, ltqft.Smooth, 8.0);
    const PeakInput moving = ZoneFrom(flat, ltqft.FinalExtrema, 1139.179604);
    EXPECT_LT(ExpectJumpMatchesEveryStep(flat, moving, "LTQ FT 1139.1796"), kMaxFitSteps / 10);
    FitState state;
    EXPECT_FALSE(FitPeak(state, flat, moving).settled);
}

// A whole final run, jumping or not: the same peaks, problem reports and settled flags.
TEST(CycleJump, FinalRunIsTheSameWithAndWithoutJumps) {
    SpectrumState state = RealSpectrum("orbitrap_qexactive_ms1.txt", 3000);
    for (double n : {2.0, 8.0}) {
        FinalRunOptions options;
        options.gaussPower = n;
        const FinalRunResult jumped = RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
        options.jumpCycles = false;
        const FinalRunResult every = RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
        ASSERT_EQ(jumped.peaks.size(), every.peaks.size());
        int caps = 0;
        for (std::size_t p = 0; p < every.peaks.size(); ++p) {
            EXPECT_TRUE(testing::BitEqual(jumped.peaks[p], every.peaks[p])) << p;
            caps += every.stops[p] == FitStop::StepCap;
        }
        EXPECT_GT(caps, 20) << n;
        EXPECT_EQ(jumped.stops, every.stops);
        EXPECT_EQ(jumped.warnings, every.warnings);
        EXPECT_EQ(jumped.problemLines, every.problemLines);
        EXPECT_EQ(jumped.ProblemCount, every.ProblemCount);
    }
}

}  // namespace
}  // namespace orvelo
