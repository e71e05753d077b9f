// The final run on a generated spectrum of about 1,000,000 samples and 3,000 peaks, Gaussian
// (fitted with n = 2) and flat-topped (n = 8):
//   OnePassPerSum  one pass over the window per sum (19 per step), one core, first 300 zones
//   FusedFirstZones all sums of a step in one pass, one core, the same first 300 zones
//   Fused          all sums of a step in one pass, one core, every zone
//   FusedAllCores  the same on every core
// Counters: zones, problem peaks, steps (sum of Iter), and ns_per_sample_step: the run's wall
// time divided by the sum over zones of Iter * N.
//
// The real spectra of tests/data/real (LTQ FT = 0, Orbitrap = 1) at KolUsred 150 and threshold
// 300, Gaussian (2) and flat-topped (8), one core, every step computed (jump 0) or cycles
// skipped (jump 1):
//   RealCappedFits  only the zones whose fit reaches the step cap; ns_per_sample_step counts
//                   every step of Iter, computed or skipped
//   RealFinalRun    the whole final run
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/spectrum_file.h"
#include "fitting/final_run.h"
#include "fitting/noise_threshold.h"
#include "processing/preliminary.h"
#include "support/one_pass_per_sum.h"
#include "support/synthetic_spectrum.h"

namespace orvelo {
namespace {

constexpr int kPeaks = 3000;
constexpr int kPlainZones = 300;

SpectrumState MakeState(double power) {
    testing::SyntheticSpectrum s;
    s.massFirst = 100;
    s.massLast = 1100;
    s.spacing = 0.001;  // 1,000,001 samples
    s.baseline = 20;
    s.noiseAmplitude = 1;
    s.seed = 5;
    s.integral = true;
    const double gap = (s.massLast - s.massFirst) / kPeaks;
    for (int i = 0; i < kPeaks; ++i) {
        const double centre = s.massFirst + gap * (i + 0.5) + 0.0001 * (i % 7);
        // About 30 samples across the half height; amplitudes from 200 to 5,000.
        s.peaks.push_back({centre, centre / 0.03, 200.0 + (i * 977) % 4800, power});
    }
    SpectrumState state;
    state.Spectrum = s.Generate();
    state.KolUsred = 20;
    RunPreliminary(state);
    state.NoiseThreshold = 100;  // leaves exactly the generated peaks
    ObrabNaklon(state);
    return state;
}

const SpectrumState& State(double power) {
    static const SpectrumState gaussian = MakeState(2.0);
    static const SpectrumState flat = MakeState(8.0);
    return power == 8.0 ? flat : gaussian;
}

PointList FirstZones(const PointList& extrema, int zones) {
    const ZonePlan plan = PlanZones(extrema);
    PointList out = extrema;
    const std::size_t keep = static_cast<std::size_t>(plan.d + 2 * std::min(zones, plan.count) + 1);
    out.x.resize(std::min(keep, out.x.size()));
    out.y.resize(out.x.size());
    return out;
}

void RunBenchmark(benchmark::State& bench, int threads, bool plain, bool firstZones) {
    const double power = static_cast<double>(bench.range(0));
    const SpectrumState& state = State(power);
    const PointList extrema = firstZones ? FirstZones(state.FinalExtrema, kPlainZones) : state.FinalExtrema;
    FinalRunOptions options;
    options.gaussPower = power;
    options.threads = threads;
    if (plain) options.makeSums = [] { return std::make_unique<reference::OnePassPerSum>(); };

    FinalRunResult run;
    double seconds = 0;
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        run = RunFinal(state.Spectrum, state.Smooth, extrema, options);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(run.peaks.data());
    }
    double steps = 0, sampleSteps = 0;
    int stepCaps = 0;
    for (std::size_t i = 0; i < run.peaks.size(); ++i) {
        steps += run.peaks[i].Iter;
        sampleSteps += run.peaks[i].Iter * run.peaks[i].N;
        stepCaps += run.stops[i] == FitStop::StepCap;
    }
    bench.counters["zones"] = static_cast<double>(run.peaks.size());
    bench.counters["problems"] = run.ProblemCount;
    bench.counters["step_caps"] = stepCaps;
    bench.counters["steps"] = steps;
    bench.counters["threads"] = threads > 0 ? threads : std::thread::hardware_concurrency();
    bench.counters["ns_per_sample_step"] = seconds * 1e9 / (static_cast<double>(bench.iterations()) * sampleSteps);
}

void BM_FinalRunOnePassPerSum(benchmark::State& bench) { RunBenchmark(bench, 1, true, true); }
void BM_FinalRunFusedFirstZones(benchmark::State& bench) { RunBenchmark(bench, 1, false, true); }
void BM_FinalRunFused(benchmark::State& bench) { RunBenchmark(bench, 1, false, false); }
void BM_FinalRunFusedAllCores(benchmark::State& bench) { RunBenchmark(bench, 0, false, false); }

BENCHMARK(BM_FinalRunOnePassPerSum)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FinalRunFusedFirstZones)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FinalRunFused)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FinalRunFusedAllCores)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

const char* const kRealSpectra[] = {"ltqft_ms1_scan1.txt", "orbitrap_qexactive_ms1.txt"};
constexpr int64_t kRealThreshold = 300;

const SpectrumState& RealState(int which) {
    static const auto load = [](const char* name) {
        SpectrumState state;
        ApplyLoadedSpectrum(state, ReadSpectrumFile(std::string(ORVELO_TEST_DATA "/real/") + name));
        state.KolUsred = 150;
        RunPreliminary(state);
        ApplyNoiseThreshold(state, kRealThreshold);
        return state;
    };
    static const SpectrumState states[] = {load(kRealSpectra[0]), load(kRealSpectra[1])};
    return states[which];
}

void BM_RealCappedFits(benchmark::State& bench) {
    const SpectrumState& state = RealState(static_cast<int>(bench.range(0)));
    const double power = static_cast<double>(bench.range(1));
    const bool jump = bench.range(2) != 0;
    const FitSource source(state.Spectrum, state.Smooth, power);
    FinalRunOptions options;
    options.gaussPower = power;
    const FinalRunResult run = RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
    std::vector<PeakInput> capped;
    const ZonePlan plan = PlanZones(state.FinalExtrema);
    for (int zone = 0; zone < plan.count; ++zone) {
        if (run.stops[zone] != FitStop::StepCap) continue;
        const int j = plan.LeftEntry(zone);
        capped.push_back(source.Input(state.FinalExtrema.x[j], state.FinalExtrema.x[j + 2]));
    }
    FitState fit;
    FusedStepSums sums;
    double sampleSteps = 0, seconds = 0;
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        for (const PeakInput& input : capped) {
            const FitOutcome out = FitPeakWith(fit, source, input, {}, sums, jump);
            sampleSteps += out.result.Iter * out.result.N;
            benchmark::DoNotOptimize(out.result.Centre);
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    bench.counters["fits"] = static_cast<double>(capped.size());
    bench.counters["ns_per_sample_step"] = seconds * 1e9 / sampleSteps;
}

void BM_RealFinalRun(benchmark::State& bench) {
    const SpectrumState& state = RealState(static_cast<int>(bench.range(0)));
    FinalRunOptions options;
    options.gaussPower = static_cast<double>(bench.range(1));
    options.jumpCycles = bench.range(2) != 0;
    options.threads = 1;
    FinalRunResult run;
    for (auto _ : bench) {
        run = RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
        benchmark::DoNotOptimize(run.peaks.data());
    }
    bench.counters["zones"] = static_cast<double>(run.peaks.size());
}

void RealArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"spectrum", "n", "jump"});
    for (int spectrum : {0, 1})
        for (int n : {2, 8})
            for (int jump : {0, 1}) b->Args({spectrum, n, jump});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_RealCappedFits)->Apply(RealArgs);
BENCHMARK(BM_RealFinalRun)->Apply(RealArgs);

}  // namespace
}  // namespace orvelo

BENCHMARK_MAIN();
