// Instrument files: opening small.mzML and listing its 48 scans, loading its scan 1, and the
// same spectrum read from its text file.
#include <benchmark/benchmark.h>

#include "core/ms_data_file.h"
#include "core/spectrum_file.h"

namespace {

const std::string kSmall = ORVELO_TEST_DATA "/mzml/small.mzML";

void BM_OpenAndListScans(benchmark::State& state) {
    for (auto _ : state) {
        const orvelo::MsDataFile file(kSmall);
        benchmark::DoNotOptimize(file.scans().data());
    }
}
BENCHMARK(BM_OpenAndListScans)->Unit(benchmark::kMillisecond);

void BM_OpenListAndLoadScan1(benchmark::State& state) {
    for (auto _ : state) {
        const orvelo::MsDataFile file(kSmall);
        orvelo::LoadedSpectrum s = file.LoadScan(1);
        benchmark::DoNotOptimize(s.points.x.data());
    }
}
BENCHMARK(BM_OpenListAndLoadScan1)->Unit(benchmark::kMillisecond);

void BM_LoadScan1FromOpenFile(benchmark::State& state) {
    const orvelo::MsDataFile file(kSmall);
    for (auto _ : state) {
        orvelo::LoadedSpectrum s = file.LoadScan(1);
        benchmark::DoNotOptimize(s.points.x.data());
    }
}
BENCHMARK(BM_LoadScan1FromOpenFile)->Unit(benchmark::kMillisecond);

void BM_LoadScan1TextFile(benchmark::State& state) {
    for (auto _ : state) {
        orvelo::LoadedSpectrum s = orvelo::ReadSpectrumFile(ORVELO_TEST_DATA "/real/ltqft_ms1_scan1.txt");
        benchmark::DoNotOptimize(s.points.x.data());
    }
}
BENCHMARK(BM_LoadScan1TextFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
