// The fused one-pass gathering of the step sums against one pass per sum: every fit must come
// out bit for bit the same, whatever way it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <string>
#include <thread>
#include <vector>

#include "core/spectrum_file.h"
#include "fit_test_support.h"
#include "fitting/final_run.h"
#include "fitting/noise_threshold.h"
#include "fitting/peak_fit.h"
#include "support/one_pass_per_sum.h"

namespace orvelo {
namespace {

struct FitRecord {
    FitOutcome outcome;
    FitState state;
    std::vector<std::string> log;
    std::vector<std::string> problems;
};

FitRecord Fit(const FitSource& source, const PeakInput& input, StepSums& sums) {
    FitRecord r;
    r.state.PeakNumber = 4;
    r.outcome = FitPeakWith(r.state, source, input, {&r.log, &r.problems}, sums);
    return r;
}

template <class T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

struct FitPair {
    FitRecord fused;
    FitRecord plain;
};

FitPair FitBothWays(const FitSource& source, const PeakInput& input) {
    FusedStepSums fused;
    reference::OnePassPerSum plain;
    return {Fit(source, input, fused), Fit(source, input, plain)};
}

// Expects identical bits and counts how the fit ended.
void ExpectBitIdentical(const FitPair& pair, std::map<FitStop, int>& stops, const std::string& what) {
    const FitRecord& a = pair.fused;
    const FitRecord& b = pair.plain;
    ++stops[a.outcome.stop];
    EXPECT_EQ(a.outcome.stop, b.outcome.stop) << what;
    EXPECT_TRUE(testing::BitEqual(a.outcome.result, b.outcome.result)) << what;
    EXPECT_TRUE(SameBits(a.state.P, b.state.P) && SameBits(a.state.M, b.state.M) && SameBits(a.state.d, b.state.d) &&
                SameBits(a.state.e, b.state.e) && SameBits(a.state.S, b.state.S) && SameBits(a.state.det, b.state.det))
        << what;
    EXPECT_EQ(a.log, b.log) << what;
    EXPECT_EQ(a.problems, b.problems) << what;
}

void ExpectBitIdentical(const FitSource& source, const PeakInput& input, std::map<FitStop, int>& stops,
                        const std::string& what) {
    ExpectBitIdentical(FitBothWays(source, input), stops, what);
}

// Every zone of stage 7, fitted both ways on all cores (the plain way is slow), compared here.
void ExpectEveryZoneBitIdentical(const SpectrumState& state, double n, std::map<FitStop, int>& stops,
                                 const std::string& what) {
    const FitSource source(state.Spectrum, state.Smooth, n);
    const ZonePlan plan = PlanZones(state.FinalExtrema);
    ASSERT_GT(plan.count, 0) << what;
    std::vector<FitPair> pairs(plan.count);
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int zone = next++; zone < plan.count; zone = next++) {
            const int j = plan.LeftEntry(zone);
            pairs[zone] = FitBothWays(source, source.Input(state.FinalExtrema.x[j], state.FinalExtrema.x[j + 2]));
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::max(1u, std::thread::hardware_concurrency()); ++t) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
    for (int zone = 0; zone < plan.count && !::testing::Test::HasFailure(); ++zone)
        ExpectBitIdentical(pairs[zone], stops, what + " zone " + std::to_string(zone));
}

TEST(PeakFit, FusedSumsAreBitIdenticalOnModelAndSyntheticPeaks) {
    std::map<FitStop, int> stops;
    for (double n : {2.0, 8.0}) {
        // Model peaks seen through windows cut off-centre, so the fit has work to do.
        for (int shift = -12; shift <= 12; shift += 4) {
            PointList peak = testing::ModelPeak({5, 1000, 1500, 100}, n, 81);
            for (int i = 0; i < peak.count(); ++i) peak.y[i] += (i * 37 % 11) - 5;
            const FitSource source(peak, peak, n);
            const PeakInput input = source.Input(peak.x[20 + shift], peak.x[60 + shift]);
            ExpectBitIdentical(source, input, stops, "model shift " + std::to_string(shift));
        }
        for (double noise : {0.0, 4.0}) {
            SpectrumState state = testing::PreparedState(testing::TwelvePeaks(n, noise).Generate(), 2);
            ApplyNoiseThreshold(state, 100);
            ExpectEveryZoneBitIdentical(state, n, stops, "synthetic noise " + std::to_string(noise));
        }
    }
    // A step-cap fit and a singular one.
    PointList huge = testing::ModelPeak({5e9, 1e12, 1500, 100}, 2.0);
    for (int i = 0; i < huge.count(); ++i) huge.y[i] += 1e6 * ((i * 7) % 5 - 2);
    const FitSource hugeSource(huge, huge, 2.0);
    ExpectBitIdentical(hugeSource, testing::WholeListInput(hugeSource), stops, "step cap");
    PointList flat;
    for (int i = 0; i < 20; ++i) flat.push(200 + 0.01 * i, 7);
    const FitSource flatSource(flat, flat, 8.0);
    ExpectBitIdentical(flatSource, testing::WholeListInput(flatSource), stops, "singular");

    EXPECT_GT(stops[FitStop::Converged], 20);
    EXPECT_GE(stops[FitStop::StepCap], 1);
    EXPECT_GE(stops[FitStop::Singular], 1);
}

// Fused sums checked against one pass per sum at every call, for the first `budget` calls of
// each fit: equal sums at every step of a fit make equal fits.
class CheckedSums final : public StepSums {
public:
    explicit CheckedSums(int budget) : budget_(budget) {}

    void BeginFit(const FitSamples& s) override {
        fused_.BeginFit(s);
        calls_ = 0;
    }
    void NormalSums(const FitSamples& s, const Params& P, NormalMatrix& M) override {
        fused_.NormalSums(s, P, M);
        if (calls_++ >= budget_) return;
        NormalMatrix plain{};
        plain_.NormalSums(s, P, plain);
        mismatches += !SameBits(M, plain);
    }
    void ResidualSums(const FitSamples& s, const Params& P, std::array<double, 5>& r) override {
        fused_.ResidualSums(s, P, r);
        if (calls_++ >= budget_) return;
        std::array<double, 5> plain{};
        plain_.ResidualSums(s, P, plain);
        mismatches += !SameBits(r, plain);
    }
    bool wholeFitChecked() const { return calls_ <= budget_; }

    int mismatches = 0;

private:
    FusedStepSums fused_;
    reference::OnePassPerSum plain_;
    int budget_;
    int calls_ = 0;
};

const char* const kRealSpectra[] = {"ltqft_ms1_scan1.txt", "orbitrap_qexactive_ms1.txt"};

SpectrumState LoadRealSpectrum(const char* name, int kolUsred) {
    SpectrumState loaded;
    ApplyLoadedSpectrum(loaded, ReadSpectrumFile(std::string(ORVELO_REAL_DATA) + "/" + name));
    return testing::PreparedState(loaded.Spectrum, kolUsred);
}

// The Gaussian after light averaging, the flat-topped shape after a little more.
const std::pair<int, double> kRealRuns[] = {{2, 2.0}, {5, 8.0}};

// Every zone; every step of fits of up to 200 steps. Fits that reach the step cap (about a
// tenth of the zones on these high-resolution spectra) are checked over their first 200 steps.
TEST(PeakFit, FusedSumsMatchOnePassPerSumOnEveryZoneOfTheRealSpectra) {
    int zones = 0, wholeFits = 0, mismatches = 0;
    std::map<FitStop, int> stops;
    for (const char* name : kRealSpectra) {
        for (auto [kolUsred, n] : kRealRuns) {
            const SpectrumState state = LoadRealSpectrum(name, kolUsred);
            const FitSource source(state.Spectrum, state.Smooth, n);
            const ZonePlan plan = PlanZones(state.FinalExtrema);
            for (int zone = 0; zone < plan.count; ++zone, ++zones) {
                const int j = plan.LeftEntry(zone);
                CheckedSums sums(400);
                FitState fit;
                const FitOutcome out = FitPeakWith(
                    fit, source, source.Input(state.FinalExtrema.x[j], state.FinalExtrema.x[j + 2]), {}, sums);
                ++stops[out.stop];
                wholeFits += sums.wholeFitChecked();
                mismatches += sums.mismatches;
                EXPECT_FALSE(IsProblemStop(out.stop) && !IsProblemPeak(out.result));
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(zones, 6000);
    EXPECT_GT(wholeFits, zones * 8 / 10);
    EXPECT_GT(stops[FitStop::StepCap], 100);
    EXPECT_GT(stops[FitStop::Singular], 10);
}

// The whole of every fit, compared result by result: about ten minutes of one core, so only
// when ORVELO_LONG_TESTS is set.
TEST(PeakFit, FusedFitsAreBitIdenticalOnEveryZoneOfTheRealSpectra) {
    if (!std::getenv("ORVELO_LONG_TESTS")) GTEST_SKIP() << "set ORVELO_LONG_TESTS=1 to run";
    std::map<FitStop, int> stops;
    for (const char* name : kRealSpectra) {
        for (auto [kolUsred, n] : kRealRuns) {
            ExpectEveryZoneBitIdentical(LoadRealSpectrum(name, kolUsred), n, stops,
                                        std::string(name) + " KolUsred " + std::to_string(kolUsred));
        }
    }
    EXPECT_GT(stops[FitStop::Converged], 1000);
    EXPECT_GT(stops[FitStop::StepCap], 100);
}

}  // namespace
}  // namespace orvelo
