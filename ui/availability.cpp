#include "ui/availability.h"

#include <QAction>
#include <QMenu>

#include "calibration/calibration_workflow.h"
#include "ui/main_menu.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_calibration_masses.h"
#include "ui/page_settings.h"
#include "ui/page_single_peak.h"

namespace orvelo::ui {

Availability AvailableCommands(const SessionState& s, const WindowState& window, bool preliminaryRunning) {
    const WorkflowMarks& m = window.workflow;
    const bool idle = !preliminaryRunning && !s.run.running;
    const bool results = !s.run.peaks.empty();
    const PointList& points = s.calibration.points;
    Availability a;
    a.open = a.zoneList = a.peakList = idle;
    a.preliminary = idle && m.preliminaryDue();
    a.finalRun = idle && m.finalRunDue();
    a.takeHeight = a.autoHeight = idle && m.zonesListed();
    a.listEdits = idle && m.listOpen();
    a.clearList = a.createCurve = idle && m.resultsShown();
    const bool curveDue = idle && m.curveDue() && !points.empty();
    a.fitLine = curveDue && CanFitLine(points);
    a.fitParabola = curveDue && CanFitParabola(points);
    a.recalculate = idle && results && m.curveUnapplied();
    a.fitPeak = idle && results && !m.peakFitted();
    a.savePeak = idle && results && !m.peakChosen();
    return a;
}

void ShowAvailability(const Availability& a, Pages& p, MainMenu& menu) {
    using S = SettingsCommand;
    using L = CalibrationListCommand;
    using C = CurveCommand;
    using P = SinglePeakCommand;
    PageSettings& settings = *p.settings;
    settings.setAvailable(S::Preliminary, a.preliminary);
    settings.setAvailable(S::FinalRun, a.finalRun);
    settings.setAvailable(S::TakeHeight, a.takeHeight);
    settings.setAvailable(S::AutoHeight, a.autoHeight);
    settings.setAvailable(S::ZoneList, a.zoneList);
    PageCalibrationMasses& masses = *p.calibrationMasses;
    masses.setAvailable({L::TakePeak, L::RemoveLine, L::TypedMass, L::StandardMass, L::AutoCalibrate}, a.listEdits);
    masses.setAvailable(L::ClearList, a.clearList);
    masses.setAvailable(L::CreateCurve, a.createCurve);
    PageCalibrationCurve& curve = *p.calibrationCurve;
    curve.setAvailable(C::FitLine, a.fitLine);
    curve.setAvailable(C::FitParabola, a.fitParabola);
    curve.setAvailable(C::Recalculate, a.recalculate);
    PageSinglePeak& peak = *p.singlePeak;
    peak.setAvailable(P::Fit, a.fitPeak);
    peak.setAvailable(P::Save, a.savePeak);
    peak.setAvailable(P::PeakList, a.peakList);
    menu.N2->setEnabled(a.open);
    menu.N9->menuAction()->setEnabled(a.open);
}

void SetRecentFilesAvailable(QMenu& recent, const MainMenu& menu, bool any) {
    recent.menuAction()->setEnabled(any && menu.N2->isEnabled());
}

}  // namespace orvelo::ui
