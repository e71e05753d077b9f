#include "ui/calibration_commands.h"

#include <algorithm>

#include "calibration/auto_calibration.h"
#include "calibration/curve_report.h"
#include "calibration/reference_masses.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_calibration_masses.h"
#include "ui/widget_kit.h"

namespace orvelo::ui {
CalibrationCommands::CalibrationCommands(CommandContext& context, PageCalibrationMasses& masses,
                                         PageCalibrationCurve& curve)
    : c_(context), masses_(masses), curve_(curve) {}

void CalibrationCommands::Button1Click() {
    c_.run([this] {
        PageCalibrationMasses& m = masses_;
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
        const int line = masses_.chosenListLine();
        showOutcome(c_.session.RemoveLine(line), -1);
    });
}

void CalibrationCommands::Button2Click() {
    c_.run([this] {
        PageCalibrationMasses& m = masses_;
        const int line = m.chosenListLine();
        showOutcome(c_.session.AttachTypedMass(line, m.typedMass()), line);
    });
}

void CalibrationCommands::Button8Click() {
    c_.run([this] {
        PageCalibrationMasses& m = masses_;
        const int line = m.chosenListLine();
        const ListChange change = c_.session.AttachStandardMass(line, m.standardMassLines(), m.chosenStandardMass());
        showOutcome(change, line);
    });
}

// A refusal keeps the list and its selection as they were; a change redraws the list.
void CalibrationCommands::showOutcome(const ListChange& change, int selectRow) {
    if (change.changed()) showCalibList(selectRow);
    if (!change.message.empty()) c_.info(QString::fromStdString(change.message));
}

void CalibrationCommands::showCalibList(int selectRow) {
    masses_.showCalibrationList(c_.session.state().calibrationList.lines(), selectRow);
}

void CalibrationCommands::Button14Click() {
    c_.run([this] {
        masses_.showCalibrationList({}, -1);
        curve_.clear();  // the points, the curve and its check
        c_.session.ClearCalibrationList();
        c_.flags.workflow.markListCleared();
        refillMassLists();
    });
}

// "Все массы" and the single-peak list again from the peaks of the last final run.
void CalibrationCommands::refillMassLists() {
    const std::vector<std::string> lines = FillListMass(c_.session.state().run.peaks);
    masses_.showPeaks(lines);
    emit massListsRefilled(lines);
}

// New points make the check of the old curve meaningless, also when they are refused.
void CalibrationCommands::Button15Click() {
    c_.run([this] { ProverkaZapol(); });
    curve_.clearCheck();
}

void CalibrationCommands::ProverkaZapol() {
    const SessionState& s = c_.session.state();
    const CurveResult r = c_.session.CreatePoints();
    if (!r.ok()) {
        c_.info(QString::fromStdString(r.message));
        return;
    }
    const PointList& points = s.calibration.points;
    c_.flags.workflow.markPointsCreated();
    curve_.showPoints(points);
    masses_.addDiagnostics(s.calibrationList.ShowIndexLines());
    c_.guidance(kPointsCreatedGuidance);
}

void CalibrationCommands::Button6Click() {
    c_.run([this] { fitCurve(false); });
}
void CalibrationCommands::Button4Click() {
    c_.run([this] { fitCurve(true); });
}

// A refusal (too few points, a singular parabola) is shown and changes nothing, so the
// operator may still try the other fit. A fitted curve is shown with its check.
void CalibrationCommands::fitCurve(bool parabola) {
    const CurveKind kind = parabola ? CurveKind::Parabola : CurveKind::Line;
    const CurveFit fit = c_.session.FitCurve(kind);
    if (!fit.result.ok()) {
        c_.info(QString::fromStdString(fit.result.message));
        return;
    }
    c_.flags.workflow.markCurveFitted();
    curve_.showCurve(fit.samples);
    const PointList& points = c_.session.state().calibration.points;
    curve_.showCheck(CheckCalibration(points, c_.session.state().calibration.curve, kind), kind);
    c_.guidance(kCurveFittedGuidance);
}

void CalibrationCommands::Button5Click() {
    c_.run([this] { recalculate(); });
}

// Every mass of the raw spectrum moves by the curve; the results of the old masses are thrown
// away (the session drops them; on `recalculated` ClearAll empties their displays and the
// corrected spectrum is drawn again). Only a load enables "Предварительная" again: the
// operator saves the spectrum and opens it.
void CalibrationCommands::recalculate() {
    // A curve that would ruin the mass axis is refused; the spectrum and the buttons stay.
    if (const auto refusal = c_.session.Recalculate()) {
        c_.info(QString::fromStdString(*refusal));
        return;
    }
    c_.flags.workflow.markRecalculated();
    emit recalculated();
    c_.info(QString::fromUtf8(kRecalculatedMessage));
}

void CalibrationCommands::showAssignment(const MassAssignment& assigned) { masses_.showPeaks(assigned.massLines); }

void CalibrationCommands::ReFill() {
    PageCalibrationMasses& m = masses_;
    const ReferenceChoice choice = m.referenceChoice();
    const StandardFamily family = choice.cf ? StandardFamily::CF : StandardFamily::CH;
    m.showStandardMasses(StandardMassLines(c_.session.state().tables, choice.chFlags, family));
}

}  // namespace orvelo::ui
