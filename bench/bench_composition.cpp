// Elemental compositions with the default element ranges: one mass window at a time (formulas
// examined per second), and every peak of a spectrum of 1,000 peaks between 20 and 700 u.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "composition/candidates.h"

namespace orvelo {
namespace {

const std::vector<ElementRange>& DefaultRanges() {
    static const std::vector<ElementRange> ranges = ParseElementRanges(kDefaultElementRanges).ranges;
    return ranges;
}

void BM_SearchWindow(benchmark::State& state) {
    const double mass = static_cast<double>(state.range(0)) + 0.05;
    const FormulaSearch search(DefaultRanges(), kDefaultMaxRdbe, 2 * 710);
    const double w = kCandidateWindowSigmas * kDefaultTolerancePpm * 1e-6 * mass;
    uint64_t examined = 0, found = 0;
    std::vector<Formula> out;
    for (auto _ : state) {
        out.clear();
        search.Find(mass - w, mass + w, 1, out, &examined);
        found += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["examined/s"] = benchmark::Counter(static_cast<double>(examined), benchmark::Counter::kIsRate);
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SearchWindow)->Arg(100)->Arg(300)->Arg(500)->Arg(700)->Unit(benchmark::kMicrosecond);

// 1,000 fitted peaks between 20 and 700 u as a spectrum of organic ions gives them: random
// ions of C, H, N, O, S, Cl, Br, Si and F, each with its M+1 and M+2 peaks when they stand
// above the threshold. The table of the inner elements is built inside the timing, as a run
// builds it.
PeakResults ThousandPeaks() {
    std::mt19937 random(7);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    PeakResults peaks;
    while (peaks.size() < 1000) {
        Formula f;
        f.counts[kC] = static_cast<int16_t>(uniform(1, 45));
        f.counts[kN] = static_cast<int16_t>(uniform(0, 3) == 0 ? uniform(1, 2) : 0);
        f.counts[kO] = static_cast<int16_t>(uniform(0, 4));
        f.counts[kCl] = static_cast<int16_t>(uniform(0, 5) == 0 ? uniform(1, 3) : 0);
        f.counts[kBr] = static_cast<int16_t>(uniform(0, 8) == 0 ? uniform(1, 2) : 0);
        f.counts[kS] = static_cast<int16_t>(uniform(0, 6) == 0 ? 1 : 0);
        f.counts[kSi] = static_cast<int16_t>(uniform(0, 8) == 0 ? uniform(1, 2) : 0);
        const int saturated = 2 * f.count(kC) + 2 + f.count(kN) + 2 * f.count(kSi) - f.count(kCl) - f.count(kBr);
        f.counts[kH] = static_cast<int16_t>(std::max(0, saturated - 2 * uniform(0, f.count(kC) / 2) - uniform(0, 1)));
        const double m = IonMass(f);
        if (m < 20 || m > 700) continue;
        const double amplitude =
            std::exp(std::uniform_real_distribution<double>(std::log(300.0), std::log(1e5))(random));
        auto add = [&](double centre, double a) {
            PeakResult p;
            p.Centre = centre + std::normal_distribution<double>(0, 0.5e-6 * centre)(random);
            p.R = 5000;
            p.Background = 5;
            p.Height = 5 + a;
            p.Errors = {1, 0.01 * a + 3, 10, 0.5e-6 * centre};
            peaks.push_back(p);
        };
        add(m, amplitude);
        for (const IsotopePeak& iso : ExpectedIsotopePeaks(f, m / 5000))
            if (iso.ratio * amplitude > 100) add(m + iso.offset, iso.ratio * amplitude);
    }
    std::sort(peaks.begin(), peaks.end(), [](const PeakResult& a, const PeakResult& b) { return a.Centre < b.Centre; });
    return peaks;
}

void BM_ThousandPeaks(benchmark::State& state) {
    const PeakResults peaks = ThousandPeaks();
    CompositionSettings settings;
    settings.thresholdHeight = 100;
    uint64_t examined = 0;
    double candidates = 0;
    for (auto _ : state) {
        const CompositionRun run = FindCompositions(peaks, settings);
        examined += run.examined;
        for (const PeakComposition& pc : run.peaks) candidates += static_cast<double>(pc.found);
        benchmark::DoNotOptimize(run.peaks.data());
    }
    state.counters["examined/s"] = benchmark::Counter(static_cast<double>(examined), benchmark::Counter::kIsRate);
    state.counters["candidates"] = candidates / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ThousandPeaks)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace orvelo

BENCHMARK_MAIN();
