#pragma once
// One processing session: the loaded spectrum and everything derived from it (stages, zones,
// the results of the last final run, the reference tables, the calibration list, points and
// curve), changed only through one operation per workflow step. Each operation returns its
// outcome as data and says below what it invalidates, so "who changes this?" is answered here.
// No Qt and no dialogs: the window (and any other front end) shows the outcomes.
//
//   Load ─> BeginPreliminary ─> (RunPreliminaryHere | AdoptPreliminary) ─> ChooseZone ...
//       ─> BeginFinalRun ─> (AdoptFinalRun | AbandonFinalRun) ─> calibration list edits
//       ─> CreatePoints ─> FitCurve ─> Recalculate ─> (save, Load again)
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calibration/after_final_run.h"
#include "calibration/auto_calibration.h"
#include "calibration/calibration_curve.h"
#include "calibration/calibration_list.h"
#include "calibration/calibration_workflow.h"
#include "calibration/curve_report.h"
#include "calibration/ion_masses.h"
#include "calibration/reference_masses.h"
#include "calibration/theory_series.h"
#include "composition/candidates.h"
#include "core/ms_data_file.h"
#include "core/spectrum_file.h"
#include "core/spectrum_state.h"
#include "fitting/final_run.h"
#include "fitting/peak_fit.h"
#include "fitting/peak_result.h"
#include "fitting/results_table.h"
#include "fitting/single_peak.h"
#include "processing/auto_threshold.h"
#include "processing/zone_list.h"

namespace orvelo {

struct FinalRunState {
    PeakResults peaks;                 // PeakResults of the last final run, in zone order
    std::vector<RowWarning> warnings;  // per peak: why its row of the table is marked
    double GaussPower = 2.0;           // 2: plain Gaussian, 8: flat-topped
    int ProblemCount = 0;
    bool running = false;  // begun and neither adopted nor abandoned yet
};

// The calibration data: the curve and the points behind Series7, and the measured points of
// the CH and CF saws (Series10, Series13) with the peak of each point.
struct CalibrationState {
    CalibrationCurve curve;
    PointList points;
    PracticeSeries practiceCH;
    PracticeSeries practiceCF;
};

struct SessionState {
    SpectrumState spectrum;
    SpectrumSource source;  // the file (and scan) the spectrum was loaded from
    FinalRunState run;
    FitState singlePeakFit;  // the fit state of single-peak processing
    PeakSelection singlePeak;
    ReferenceTables tables;
    CalibrationList calibrationList;
    CalibrationState calibration;
    std::optional<CalibrationCurve> appliedCalibration;  // set by Recalculate
    // The CH and CF reference ions ("C 4 H 9") of the calibration list the applied calibration
    // was made from; set by Recalculate, forgotten by Load.
    std::vector<std::string> appliedReferenceIons;
    // "ионы (минус масса электрона)": the reference tables, the saws and the calibration use
    // ion masses instead of the neutral ones.
    ReferenceMassKind ReferenceMasses = ReferenceMassKind::Neutral;
    // The spectrum in memory differs from its file (Recalculate since the last load or save).
    bool SpectrumUnsaved = false;
};

// What an automatic calibration did: the match, and how the list changed (unchanged, with a
// message, when no ion was within reach).
struct AutoCalibrationOutcome {
    AutoCalibration match;
    ListChange change;
};

class Session {
public:
    const SessionState& state() const { return s_; }

    // The remembered KolUsred and KrivoMn at start-up. Invalidates nothing.
    void RestoreRunSettings(std::optional<int> kolUsred, std::optional<double> krivoMn);

    // The new spectrum replaces stage 0 and its title (ApplyLoadedSpectrum); it counts as saved.
    // Invalidates: the results, the single peak, the reference tables, the saws' measured
    // points, the calibration list, points and curve, the applied calibration.
    void Load(LoadedSpectrum loaded, SpectrumSource source);
    // The spectrum was written to its file.
    void MarkSaved() { s_.SpectrumUnsaved = false; }

    // Checks and stores KolUsred, then KrivoMn. A refusal (an absurd KolUsred, a text that is no
    // number) is thrown as OrveloError; a KolUsred that passed its check is kept when KrivoMn is
    // refused, and nothing else changes. Invalidates: as Load, except the spectrum and the
    // applied calibration.
    void BeginPreliminary(const std::string& kolUsredText, const std::string& krivoMnText);
    // Stages 1 to 7 and the zone list, built in place (throws; the stages before a failed step
    // stay built) or on a copy elsewhere and then adopted whole.
    void RunPreliminaryHere();
    void AdoptPreliminary(SpectrumState built) { s_.spectrum = std::move(built); }
    // The zone chart of zone-list line `line`; sets the chosen zone, NoiseThreshold and the
    // marker. Invalidates nothing.
    ZoneView ChooseZone(int line) { return NextVysota(s_.spectrum, line); }
    // "Авто": the noise height proposed from the zones (auto_threshold.h). Invalidates nothing.
    NoiseEstimate ProposeNoiseHeight() const { return EstimateNoise(s_.spectrum.zones.height); }

    // "Последняя": the height of the first non-noise peak. A height that is no valid number
    // refuses with kInvalidHeightMessage and changes nothing. Otherwise stages 6 and 7 follow
    // the threshold and the run counts as running until it is adopted or abandoned.
    // Invalidates: the results, the single peak, the reference tables, the saws' measured
    // points, the calibration list, points and curve.
    std::optional<std::string> BeginFinalRun(const std::string& heightText, GaussShape shape);
    // The zones of the begun run fitted with its model on `threads` threads (0: every core), on
    // the calling thread's time; the result goes to AdoptFinalRun or AbandonFinalRun.
    // Invalidates nothing.
    FinalRunResult RunFinalHere(int threads = 0) const;
    // The worker's results become the session's, and the masses are assigned (AssignMasses).
    const MassAssignment& AdoptFinalRun(FinalRunResult result);
    // A cancelled or failed run: nothing of it is kept.
    void AbandonFinalRun() { s_.run.running = false; }
    // The reference tables and the saws' measured points from the results, with the reference
    // masses now chosen; also the outcome's "Все массы" lines. Invalidates nothing else.
    const MassAssignment& AssignMasses();
    // The operator's choice of neutral or ion masses. With results in hand (and no run going)
    // the masses are assigned again and returned; the calibration list keeps its true masses.
    const MassAssignment* ChooseReferenceMasses(ReferenceMassKind kind);

    // The calibration list (Part of "Калибровочные массы"); each returns the list's ListChange.
    // Invalidate nothing else.
    ListChange TakePeak(int peak, const std::vector<std::string>& allMassLines);
    ListChange RemoveLine(int line);
    ListChange AttachTypedMass(int line, const std::string& typed);
    ListChange AttachStandardMass(int line, const std::vector<std::string>& standardLines, int standard);
    // "Очистить список". Invalidates: the list and the points; the curve stays.
    void ClearCalibrationList();
    // "Подобрать автоматически": the pairs fill the list as the manual steps would.
    AutoCalibrationOutcome AutoCalibrate(const ReferenceChoice& choice, const AutoCalibrationSettings& settings,
                                         const std::vector<std::string>& allMassLines);
    // "Создать кривую": the points of the complete list are added (ProverkaZapol). A refusal
    // changes nothing.
    CurveResult CreatePoints();
    // The line or the parabola through the points; a fitted one becomes the curve. A refusal
    // changes nothing.
    CurveFit FitCurve(CurveKind kind);
    // "Пересчитать данные": every mass of stage 0 moves by the curve; the spectrum is then
    // unsaved. A curve that would ruin the mass axis is refused (its text) and changes nothing.
    // Invalidates: the results, the single peak, the reference tables, the saws' measured
    // points, the calibration list and points; the curve stays, and is the applied calibration.
    std::optional<std::string> Recalculate();

    // "Обработать": peak k of the results fitted again; a problem peak counts one more in
    // ProblemCount. Invalidates nothing else.
    SinglePeakFit FitSinglePeak(int k);

    // The ranked elemental formulas of result peak `peak` (the data row of "Информация" - 1),
    // with the run's noise threshold in place of settings.thresholdHeight. A candidate that is a
    // CH or CF reference ion of the calibration carries the ion's name: an ion whose true mass a
    // line of the calibration list gives this peak, or one of the applied calibration's ions.
    // Refused with the outcome's message and no peak: ranges that cannot be read, a tolerance
    // that is not a positive number, a peak that is not among the results or is a problem peak.
    // Invalidates nothing; the formula table of the last ranges, RDBE limit and mass range is kept.
    CompositionRun FindFormulas(std::size_t peak, CompositionSettings settings);
    // The reference ions of the calibration list: each line with a true mass that is a CH or CF
    // ion of the reference tables (within 1 mmu), with the peak of that line.
    std::vector<ReferenceMark> ListReferenceIons() const;

private:
    void InvalidateResults();
    void InvalidateCalibration();
    // ListReferenceIons, of one peak's lines only when `peak` is given.
    std::vector<ReferenceMark> ReferenceMarks(std::optional<std::size_t> peak) const;

    // The formula table of the last element ranges, RDBE limit and heaviest peak.
    struct SearchCache {
        std::string ranges;
        double maxRdbe = 0;
        double maxIonMass = 0;
        std::shared_ptr<const FormulaSearch> table;
    };

    SessionState s_;
    MassAssignment assigned_;
    SearchCache search_;
};

}  // namespace orvelo
