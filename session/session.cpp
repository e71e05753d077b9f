#include "session/session.h"

#include <algorithm>
#include <cmath>

#include "core/errors.h"
#include "core/number_text.h"
#include "fitting/fit_window.h"
#include "fitting/noise_threshold.h"
#include "processing/preliminary.h"

namespace orvelo {

void Session::InvalidateResults() {
    s_.run.peaks.clear();
    s_.run.warnings.clear();
    s_.run.ProblemCount = 0;
    s_.singlePeak = {};
    s_.tables.clear();
    s_.calibration.practiceCH = {};
    s_.calibration.practiceCF = {};
    assigned_ = {};
}

void Session::InvalidateCalibration() {
    s_.calibrationList.clear();
    s_.calibration.points.clear();
}

void Session::RestoreRunSettings(std::optional<int> kolUsred, std::optional<double> krivoMn) {
    if (kolUsred) s_.spectrum.KolUsred = *kolUsred;
    if (krivoMn) s_.spectrum.KrivoMn = *krivoMn;
}

void Session::Load(LoadedSpectrum loaded, SpectrumSource source) {
    InvalidateResults();
    InvalidateCalibration();
    s_.calibration.curve = {};
    s_.appliedCalibration.reset();
    s_.appliedReferenceIons.clear();
    s_.source = std::move(source);
    ApplyLoadedSpectrum(s_.spectrum, std::move(loaded));
    s_.SpectrumUnsaved = false;
}

void Session::BeginPreliminary(const std::string& kolUsredText, const std::string& krivoMnText) {
    const int kolUsred = ParseInt32OrThrow(kolUsredText);
    if (auto refusal = CheckKolUsred(kolUsred, s_.spectrum.Spectrum.count())) throw OrveloError(*refusal);
    s_.spectrum.KolUsred = kolUsred;
    const double krivoMn = ParseNumberOrThrow(krivoMnText);
    InvalidateResults();
    InvalidateCalibration();
    s_.calibration.curve = {};
    s_.spectrum.KrivoMn = krivoMn;
}

void Session::RunPreliminaryHere() { RunPreliminary(s_.spectrum); }

std::optional<std::string> Session::BeginFinalRun(const std::string& heightText, GaussShape shape) {
    const auto height = CheckNoiseHeight(heightText);
    if (!height) return std::string(kInvalidHeightMessage);
    InvalidateResults();
    InvalidateCalibration();
    s_.calibration.curve = {};
    s_.run.GaussPower = GaussPowerFor(shape);
    ApplyNoiseThreshold(s_.spectrum, *height);
    s_.run.running = true;
    return std::nullopt;
}

FinalRunResult Session::RunFinalHere(int threads) const {
    FinalRunOptions options;
    options.threads = threads;
    options.gaussPower = s_.run.GaussPower;
    const SpectrumState& sp = s_.spectrum;
    return RunFinal(sp.Spectrum, sp.Smooth, sp.FinalExtrema, options);
}

const MassAssignment& Session::AdoptFinalRun(FinalRunResult result) {
    s_.run.running = false;
    s_.run.peaks = std::move(result.peaks);
    s_.run.warnings = std::move(result.warnings);
    s_.run.ProblemCount = result.ProblemCount;
    return AssignMasses();
}

const MassAssignment& Session::AssignMasses() {
    assigned_ = orvelo::AssignMasses(s_.spectrum, s_.run.peaks, s_.ReferenceMasses);
    s_.tables = assigned_.tables;
    s_.calibration.practiceCH = assigned_.ch.practice;
    s_.calibration.practiceCF = assigned_.cf.practice;
    return assigned_;
}

const MassAssignment* Session::ChooseReferenceMasses(ReferenceMassKind kind) {
    s_.ReferenceMasses = kind;
    if (s_.run.running || s_.run.peaks.empty()) return nullptr;
    return &AssignMasses();
}

ListChange Session::TakePeak(int peak, const std::vector<std::string>& allMassLines) {
    return s_.calibrationList.TakePeak(peak, allMassLines);
}

ListChange Session::RemoveLine(int line) { return s_.calibrationList.RemoveLine(line); }

ListChange Session::AttachTypedMass(int line, const std::string& typed) {
    return s_.calibrationList.AttachTypedMass(line, typed);
}

ListChange Session::AttachStandardMass(int line, const std::vector<std::string>& standardLines, int standard) {
    return s_.calibrationList.AttachStandardMass(line, standardLines, standard);
}

void Session::ClearCalibrationList() { InvalidateCalibration(); }

AutoCalibrationOutcome Session::AutoCalibrate(const ReferenceChoice& choice, const AutoCalibrationSettings& settings,
                                              const std::vector<std::string>& allMassLines) {
    AutoCalibrationOutcome out;
    out.match = MatchReferences(s_.run.peaks, ReferenceIons(s_.tables, choice), settings);
    out.change = FillCalibrationList(out.match, allMassLines, s_.calibrationList);
    return out;
}

CurveResult Session::CreatePoints() { return ProverkaZapol(s_.calibrationList, s_.run.peaks, s_.calibration.points); }

CurveFit Session::FitCurve(CurveKind kind) {
    const PointList& points = s_.calibration.points;
    CurveFit fit = kind == CurveKind::Parabola ? PodobratParabola(points) : PodobratParabolaLine(points);
    if (fit.result.ok()) s_.calibration.curve = fit.curve;
    return fit;
}

std::optional<std::string> Session::Recalculate() {
    const CalibrationCurve& curve = s_.calibration.curve;
    if (auto refusal = CalibrationRefusal(curve, s_.spectrum.Spectrum)) return refusal;
    ApplyCalibration(curve, s_.spectrum.Spectrum);
    s_.SpectrumUnsaved = true;
    s_.appliedCalibration = curve;
    s_.appliedReferenceIons.clear();
    for (const ReferenceMark& mark : ListReferenceIons()) s_.appliedReferenceIons.push_back(mark.name);
    InvalidateResults();
    InvalidateCalibration();
    return std::nullopt;
}

SinglePeakFit Session::FitSinglePeak(int k) {
    const FitSource source(s_.spectrum.Spectrum, s_.spectrum.Smooth, s_.run.GaussPower);
    SinglePeakFit fit = orvelo::FitSinglePeak(s_.singlePeakFit, source, s_.spectrum.FinalExtrema, s_.run.peaks, k);
    if (fit.outcome.problem()) ++s_.run.ProblemCount;  // the counter on "Тестирование" keeps the run's
    s_.singlePeak = fit.selection;
    return fit;
}

std::vector<ReferenceMark> Session::ListReferenceIons() const { return ReferenceMarks(std::nullopt); }

std::vector<ReferenceMark> Session::ReferenceMarks(std::optional<std::size_t> peak) const {
    // The tables' rows lie a nominal mass apart, and their element masses (H 1.00783) or an
    // electron mass typed in or left out move a true mass by well under this.
    constexpr double kSameMass = 1e-3;
    std::vector<ReferenceMark> marks;
    std::optional<std::vector<ReferenceIon>> ions;  // built at the first line with a true mass
    const std::vector<std::string>& lines = s_.calibrationList.lines();
    const std::vector<int>& peaks = s_.calibrationList.CalibIndex();
    for (std::size_t i = 0; i < lines.size() && i < peaks.size(); ++i) {
        if (peak && static_cast<std::size_t>(peaks[i]) != *peak) continue;
        std::string stripped = lines[i];
        if (!StripTrueMass(stripped)) continue;  // no true mass attached
        const std::optional<double> mass = TrailingNumber(lines[i]);
        if (!mass) continue;
        if (!ions) ions = ReferenceIons(s_.tables, ReferenceChoice{true, ListFlags{{true, false, false}, true}, true});
        const auto near = std::lower_bound(ions->begin(), ions->end(), *mass - kSameMass,
                                           [](const ReferenceIon& ion, double m) { return ion.mass < m; });
        for (auto it = near; it != ions->end() && it->mass <= *mass + kSameMass; ++it)
            marks.push_back({static_cast<std::size_t>(peaks[i]), it->name});
    }
    return marks;
}

CompositionRun Session::FindFormulas(std::size_t peak, CompositionSettings settings) {
    CompositionRun run;
    const PeakResults& peaks = s_.run.peaks;
    const ElementRangesParse ranges = ReadCompositionSettings(settings);
    if (!ranges.ok()) {
        run.message = ranges.message;
        return run;
    }
    if (peak >= peaks.size()) {
        run.message = "Нет такого пика в результатах";
        return run;
    }
    if (!SearchablePeak(peaks[peak])) {
        run.message = "Проблемный пик: формулы не подбираются";
        return run;
    }
    settings.thresholdHeight = static_cast<double>(s_.spectrum.NoiseThreshold);
    const double maxIonMass = HeaviestPeak(peaks);
    if (!search_.table || search_.ranges != settings.ranges || search_.maxRdbe != settings.maxRdbe ||
        search_.maxIonMass < maxIonMass)
        search_ = {settings.ranges, settings.maxRdbe, maxIonMass,
                   CompositionFinder::SearchTable(ranges.ranges, settings.maxRdbe, maxIonMass)};
    const CompositionFinder finder(search_.table, settings);
    run.peaks.push_back(finder.ForPeak(peaks, peak, &run.examined));
    std::vector<ReferenceMark> marks = ReferenceMarks(peak);
    for (const std::string& name : s_.appliedReferenceIons) marks.push_back({peak, name});
    MarkReferenceIons(run.peaks, marks);
    return run;
}

}  // namespace orvelo
