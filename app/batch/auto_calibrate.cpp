#include "batch/auto_calibrate.h"

#include <cmath>

#include "core/errors.h"
#include "core/number_text.h"

namespace orvelo::batch {

std::optional<ReferenceChoice> ParseReferenceFamilies(std::string_view text) {
    ReferenceChoice choice;
    if (text == "CH") return choice;
    choice.cf = true;
    if (text == "CH,CF" || text == "CF,CH") return choice;
    choice.ch = false;
    if (text == "CF") return choice;
    return std::nullopt;
}

std::optional<double> ParseToleranceMmu(std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value || !std::isfinite(*value) || *value <= 0) return std::nullopt;
    return value;
}

void CheckAutoCalibrationOptions(const Options& o) {
    if (o.autoCalibrate && o.calibrate) throw UsageError{"--auto-calibrate and --calibrate exclude each other"};
    if ((o.autoCalibrate || o.ionMasses) && !o.threshold)
        throw UsageError{"--auto-calibrate and --ion-masses need --threshold"};
    if (o.autoCalibrate && !o.outDir) throw UsageError{"--auto-calibrate needs --out (the corrected spectrum is a file)"};
    if (o.autoCalibrate && !ParseReferenceFamilies(*o.autoCalibrate))
        throw UsageError{"--auto-calibrate takes CH, CF or CH,CF, not '" + *o.autoCalibrate + "'"};
    if (o.tolerance && !o.autoCalibrate) throw UsageError{"--tolerance needs --auto-calibrate"};
    if (o.tolerance && !ParseToleranceMmu(*o.tolerance))
        throw UsageError{"--tolerance takes a positive number of mmu, not '" + *o.tolerance + "'"};
}

ReferenceMassKind MassKindOf(const Options& o) {
    return o.ionMasses ? ReferenceMassKind::Ion : ReferenceMassKind::Neutral;
}

AutoCalibrationRun AutoCalibrate(const Options& o, const MassAssignment& assigned, const PeakResults& peaks) {
    AutoCalibrationSettings settings;
    if (o.tolerance) settings.toleranceMmu = *ParseToleranceMmu(*o.tolerance);
    settings.kind = o.parabola ? CurveKind::Parabola : CurveKind::Line;
    AutoCalibrationRun run;
    run.match = MatchReferences(peaks, ReferenceIons(assigned.tables, *ParseReferenceFamilies(*o.autoCalibrate)), settings);
    const ListChange filled = FillCalibrationList(run.match, assigned.massLines, run.list);
    if (!filled.changed()) throw OrveloError(filled.message);
    return run;
}

void WriteAutoCalibration(Output& output, const AutoCalibrationRun& run, const PeakResults& peaks,
                          const CalibrationCurve& applied, ReferenceMassKind kind) {
    output.WriteProgramFile("auto-calibration.tsv", AutoCalibrationTableLines(run.match, peaks, applied, kind));
    output.Print({AutoCalibrationSummary(run.match)});
}

}  // namespace orvelo::batch
