#include "ui/calibration_commands.h"

#include <algorithm>

#include "calibration/auto_calibration.h"
#include "calibration/curve_report.h"
#include "calibration/reference_masses.h"
#include "ui/availability.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_calibration_masses.h"
#include "ui/page_single_peak.h"
#include "ui/spectrum_commands.h"
#include "ui/widget_kit.h"

namespace orvelo::ui {
CalibrationCommands::CalibrationCommands(CommandContext& context, SpectrumCommands& spectrum)
    : c_(context), spectrum_(spectrum) {}

void CalibrationCommands::Button1Click() {
    c_.run([this] {
        PageCalibrationMasses& m = *c_.pages.calibrationMasses;
        const int peak = m.chosenPeak();
        const ListChange change = c_.session.TakePeak(peak, m.peakLines());
        const CalibrationList& list = c_.session.state().calibrationList;
        // The taken line becomes the selected one, ready for its true mass.
        const auto& index = list.CalibIndex();
        const auto at = std::find(index.begin(), index.end(), peak);
        showOutcome(change, at == index.end() ? m.chosenListLine() : static_cast<int>(at - index.begin()));
    });
}

void CalibrationCommands::Button3Click() {
    c_.run([this] {
        const int line = c_.pages.calibrationMasses->chosenListLine();
        showOutcome(c_.session.RemoveLine(line), -1);
    });
}

void CalibrationCommands::Button2Click() {
    c_.run([this] {
        PageCalibrationMasses& m = *c_.pages.calibrationMasses;
        const int line = m.chosenListLine();
        showOutcome(c_.session.AttachTypedMass(line, m.typedMass()), line);
    });
}

void CalibrationCommands::Button8Click() {
    c_.run([this] {
        PageCalibrationMasses& m = *c_.pages.calibrationMasses;
        const int line = m.chosenListLine();
        const ListChange change =
            c_.session.AttachStandardMass(line, m.standardMassLines(), m.chosenStandardMass());
        showOutcome(change, line);
    });
}

// A refusal keeps the list and its selection as they were; a change redraws the list.
void CalibrationCommands::showOutcome(const ListChange& change, int selectRow) {
    if (change.changed()) showCalibList(selectRow);
    if (!change.message.empty()) c_.info(QString::fromStdString(change.message));
}

void CalibrationCommands::showCalibList(int selectRow) {
    c_.pages.calibrationMasses->showCalibrationList(c_.session.state().calibrationList.lines(), selectRow);
}

void CalibrationCommands::Button14Click() {
    c_.run([this] {
        c_.pages.calibrationMasses->showCalibrationList({}, -1);
        c_.pages.calibrationCurve->clear();  // the points, the curve and its check
        c_.session.ClearCalibrationList();
        refillMassLists();
        AfterCalibrationListCleared(c_.pages);
    });
}

// "Все массы" and the single-peak list again from the peaks of the last final run.
void CalibrationCommands::refillMassLists() {
    const std::vector<std::string> lines = FillListMass(c_.session.state().run.peaks);
    c_.pages.calibrationMasses->showPeaks(lines);
    c_.pages.singlePeak->showPeaks(lines);
}

// New points make the check of the old curve meaningless, also when they are refused.
void CalibrationCommands::Button15Click() {
    c_.run([this] { ProverkaZapol(); });
    c_.pages.calibrationCurve->clearCheck();
}

void CalibrationCommands::ProverkaZapol() {
    const SessionState& s = c_.session.state();
    const CurveResult r = c_.session.CreatePoints();
    if (!r.ok()) {
        c_.info(QString::fromStdString(r.message));
        return;
    }
    const PointList& points = s.calibration.points;
    c_.pages.calibrationCurve->showPoints(points);
    c_.pages.calibrationMasses->addDiagnostics(s.calibrationList.ShowIndexLines());
    AfterCalibrationListComplete(c_.pages, CanFitLine(points), CanFitParabola(points));
    c_.guidance(kPointsCreatedGuidance);
}

void CalibrationCommands::Button6Click() { c_.run([this] { fitCurve(false); }); }
void CalibrationCommands::Button4Click() { c_.run([this] { fitCurve(true); }); }

// A refusal (too few points, a singular parabola) is shown and changes nothing, so the
// operator may still try the other fit. A fitted curve is shown with its check.
void CalibrationCommands::fitCurve(bool parabola) {
    const CurveKind kind = parabola ? CurveKind::Parabola : CurveKind::Line;
    const CurveFit fit = c_.session.FitCurve(kind);
    if (!fit.result.ok()) {
        c_.info(QString::fromStdString(fit.result.message));
        return;
    }
    AtCurveFitStart(c_.pages);
    PageCalibrationCurve& page = *c_.pages.calibrationCurve;
    page.showCurve(fit.samples);
    AfterCurveFitted(c_.pages);
    const PointList& points = c_.session.state().calibration.points;
    page.showCheck(CheckCalibration(points, c_.session.state().calibration.curve, kind), kind);
    c_.guidance(kCurveFittedGuidance);
}

void CalibrationCommands::Button5Click() { c_.run([this] { recalculate(); }); }

// Every mass of the raw spectrum moves by the curve; the results of the old masses are thrown
// away (the session drops them, ClearAll empties their displays and Series1), and the corrected spectrum is drawn again. Only a load
// enables "Предварительная" again: the operator saves the spectrum and opens it.
void CalibrationCommands::recalculate() {
    // A curve that would ruin the mass axis is refused; the spectrum and the buttons stay.
    if (const auto refusal = c_.session.Recalculate()) {
        c_.info(QString::fromStdString(*refusal));
        return;
    }
    AfterRecalculated(c_.pages);
    spectrum_.ClearAll(ClearMode::NewSpectrum);
    spectrum_.drawSpectrum();
    c_.info(QString::fromUtf8(kRecalculatedMessage));
}

void CalibrationCommands::ReFill() {
    PageCalibrationMasses& m = *c_.pages.calibrationMasses;
    const ReferenceChoice choice = m.referenceChoice();
    const StandardFamily family = choice.cf ? StandardFamily::CF : StandardFamily::CH;
    m.showStandardMasses(StandardMassLines(c_.session.state().tables, choice.chFlags, family));
}

}  // namespace orvelo::ui
