// The CH and CF reference tables over the widest range they are built for (100,000 nominal
// masses), low and near a million, and ReFill's full list of it.
#include <benchmark/benchmark.h>

#include "calibration/reference_masses.h"

namespace orvelo {
namespace {

PeakResults PeaksFromTo(double first, double last) {
    PeakResults peaks(2);
    peaks[0].Centre = first;
    peaks[1].Centre = last;
    return peaks;
}

void BM_StandartCHAndCF(benchmark::State& state) {
    const double first = static_cast<double>(state.range(0));
    const PeakResults peaks = PeaksFromTo(first, first + kMaxReferenceNominalMasses - 1);
    for (auto _ : state) {
        ReferenceTables t;
        StandartCH(peaks, ElementMasses{}, t);
        StandartCF(peaks, ElementMasses{}, t);
        benchmark::DoNotOptimize(t.CFList.data());
    }
}
BENCHMARK(BM_StandartCHAndCF)->Arg(10)->Arg(900'000)->Unit(benchmark::kMillisecond);

void BM_ReFillFullList(benchmark::State& state) {
    ReferenceTables t;
    StandartCH(PeaksFromTo(900'000, 900'000 + kMaxReferenceNominalMasses - 1), ElementMasses{}, t);
    ListFlags full;
    full.fullList = true;
    for (auto _ : state) benchmark::DoNotOptimize(ReFill(t, full).data());
}
BENCHMARK(BM_ReFillFullList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvelo

BENCHMARK_MAIN();
