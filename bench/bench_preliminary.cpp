// The preliminary run on a generated spectrum of 1,000,000 samples with the default KolUsred
// (150: 3 + 152 smoothing passes), and the smoothing passes alone, fast and one pass at a time.
// The counter ns/sample/pass is the time divided by samples times smoothing passes.
#include <benchmark/benchmark.h>

#include <chrono>

#include "processing/kernels.h"
#include "processing/preliminary.h"
#include "support/reference_smoothing.h"
#include "support/synthetic_spectrum.h"

namespace orvelo {
namespace {

constexpr int kSamples = 1'000'000;

// One peak per nominal mass from 10 to 1009, resolving power 1500, amplitudes that vary
// from mass to mass, on a baseline with noise; whole-number intensities as in real files.
const PointList& MillionSamples() {
    static const PointList points = [] {
        testing::SyntheticSpectrum s;
        s.massFirst = 10;
        s.spacing = 0.001;
        s.massLast = 10 + (kSamples - 1) * 0.001;
        s.baseline = 50;
        s.noiseAmplitude = 5;
        s.seed = 2024;
        s.integral = true;
        for (int m = 10; m < 1010; ++m) s.peaks.push_back({m + 0.0313 * (m % 7), 1500, 100.0 + (m * 7919 % 1000) * 20});
        PointList p = s.Generate();
        p.x.resize(kSamples);
        p.y.resize(kSamples);
        return p;
    }();
    return points;
}

// Wall time per sample per smoothing pass, in nanoseconds (the fast path may use both cores,
// so CPU time of the calling thread would say too little).
class PassClock {
public:
    void Start() { start_ = std::chrono::steady_clock::now(); }
    void Stop() { total_ += std::chrono::steady_clock::now() - start_; }
    void Report(benchmark::State& state, double passes) const {
        const double ns = std::chrono::duration<double, std::nano>(total_).count();
        state.counters["ns/sample/pass"] = ns / (static_cast<double>(state.iterations()) * kSamples * passes);
    }

private:
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::duration total_{};
};

void BM_PreliminaryRun(benchmark::State& state) {
    SpectrumState s;
    s.Spectrum = MillionSamples();
    s.KolUsred = kDefaultKolUsred;
    PassClock clock;
    for (auto _ : state) {
        clock.Start();
        RunPreliminary(s);
        clock.Stop();
        benchmark::DoNotOptimize(s.zones.height.data());
    }
    state.counters["zones"] = s.zones.count();
    clock.Report(state, 3 + kDefaultKolUsred + 2);
}
BENCHMARK(BM_PreliminaryRun)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SmoothingPassesFast(benchmark::State& state) {
    const int passes = static_cast<int>(state.range(0));
    PointList out;
    PassClock clock;
    for (auto _ : state) {
        clock.Start();
        MidpointSmoothPasses(MillionSamples(), out, passes);
        clock.Stop();
        benchmark::DoNotOptimize(out.y.data());
    }
    clock.Report(state, passes);
}
BENCHMARK(BM_SmoothingPassesFast)->Arg(3)->Arg(152)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SmoothingPassesOneAtATime(benchmark::State& state) {
    const int passes = static_cast<int>(state.range(0));
    PassClock clock;
    for (auto _ : state) {
        clock.Start();
        PointList out = reference::SmoothPasses(MillionSamples(), passes);
        clock.Stop();
        benchmark::DoNotOptimize(out.y.data());
    }
    clock.Report(state, passes);
}
BENCHMARK(BM_SmoothingPassesOneAtATime)->Arg(3)->Arg(152)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace orvelo

BENCHMARK_MAIN();
