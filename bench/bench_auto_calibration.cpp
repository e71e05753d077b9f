// The automatic calibration matcher on 1,000 peaks against 1,000 reference ions: 700 ions
// measured with a curved error of up to 50 mmu, 200 strong peaks of other ions 36 mmu beside a
// reference, 100 weak noise peaks.
#include <benchmark/benchmark.h>

#include "calibration/auto_calibration.h"

namespace {

using namespace orvelo;

PeakResult Peak(double centre, double height) {
    PeakResult p;
    p.Centre = centre;
    p.Height = height;
    return p;
}

struct Input {
    PeakResults peaks;
    std::vector<ReferenceIon> references;
};

Input Make() {
    Input in;
    PeakResults span = {Peak(20.5, 1), Peak(1060.5, 1)};  // a few more than 1,000 rows
    const ReferenceTables tables = BuildReferenceTables(span, ElementMasses{}, ReferenceMassKind::Neutral);
    in.references = ReferenceIons(tables, ReferenceChoice{});
    in.references.resize(1000);
    for (std::size_t i = 0; i < in.references.size(); ++i) {
        const double m = in.references[i].mass;
        const double measured = m + (5 + 0.02 * m + 0.00002 * m * m) / 1000;
        if (i % 10 < 7) in.peaks.push_back(Peak(measured, 1000 + 37.0 * static_cast<double>(i % 50)));
        else if (i % 10 < 9) in.peaks.push_back(Peak(measured - 0.0364, 3000));
        else in.peaks.push_back(Peak(measured + 0.045, 150));
    }
    return in;
}

void BM_MatchReferences(benchmark::State& state) {
    const Input in = Make();
    AutoCalibrationSettings settings;
    settings.kind = state.range(0) ? CurveKind::Parabola : CurveKind::Line;
    int kept = 0;
    for (auto _ : state) {
        const AutoCalibration r = MatchReferences(in.peaks, in.references, settings);
        kept = r.KeptCount();
        benchmark::DoNotOptimize(r.curve);
    }
    state.counters["peaks"] = static_cast<double>(in.peaks.size());
    state.counters["references"] = static_cast<double>(in.references.size());
    state.counters["kept"] = kept;
}
BENCHMARK(BM_MatchReferences)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
