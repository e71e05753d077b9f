#include "batch/auto_calibrate.h"

#include "batch/text_escape.h"
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
    if (!value || !ToleranceAccepted(*value)) return std::nullopt;
    return value;
}

void CheckAutoCalibrationOptions(const Options& o) {
    if (o.autoCalibrate && o.calibrate) throw UsageError{"--auto-calibrate и --calibrate исключают друг друга"};
    if ((o.autoCalibrate || o.ionMasses) && !o.threshold)
        throw UsageError{"--auto-calibrate и --ion-masses требуют --threshold"};
    if (o.autoCalibrate && !o.outDir)
        throw UsageError{"--auto-calibrate требует --out (исправленный спектр — это файл)"};
    if (o.autoCalibrate && !ParseReferenceFamilies(*o.autoCalibrate))
        throw UsageError{"--auto-calibrate принимает CH, CF или CH,CF, а не \"" + EscapedControls(*o.autoCalibrate) +
                         "\""};
    if (o.tolerance && !o.autoCalibrate) throw UsageError{"--tolerance требует --auto-calibrate"};
    if (o.tolerance && !ParseToleranceMmu(*o.tolerance))
        throw UsageError{"--tolerance: " + ToleranceRule() + ", а не \"" + EscapedControls(*o.tolerance) + "\""};
}

ReferenceMassKind MassKindOf(const Options& o) {
    return o.ionMasses ? ReferenceMassKind::Ion : ReferenceMassKind::Neutral;
}

AutoCalibration AutoCalibrate(const Options& o, Session& session, const std::vector<std::string>& massLines) {
    AutoCalibrationSettings settings;
    if (o.tolerance) settings.toleranceMmu = *ParseToleranceMmu(*o.tolerance);
    settings.kind = o.parabola ? CurveKind::Parabola : CurveKind::Line;
    AutoCalibrationOutcome run = session.AutoCalibrate(*ParseReferenceFamilies(*o.autoCalibrate), settings, massLines);
    if (!run.change.changed()) throw OrveloError(run.change.message);
    return std::move(run.match);
}

void WriteAutoCalibration(Output& output, const AutoCalibration& match, const PeakResults& peaks,
                          const CalibrationCurve& applied, ReferenceMassKind kind) {
    output.WriteProgramFile("auto-calibration.tsv", AutoCalibrationTableLines(match, peaks, applied, kind));
    output.Print({AutoCalibrationSummary(match)});
}

}  // namespace orvelo::batch
