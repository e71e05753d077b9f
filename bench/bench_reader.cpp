// The spectrum reader on files of a million and ten million lines.
#include <benchmark/benchmark.h>

#include "core/spectrum_file.h"
#include "support/generated_spectrum_text.h"

namespace {

void BM_ParseSpectrumText(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string text = orvelo::GeneratedSpectrumText(lines);
    for (auto _ : state) {
        orvelo::LoadedSpectrum s = orvelo::ParseSpectrumText(text);
        benchmark::DoNotOptimize(s.points.x.data());
    }
    state.counters["ns_per_line"] = benchmark::Counter(
        static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseSpectrumText)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
