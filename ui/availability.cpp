#include "ui/availability.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <functional>
#include <initializer_list>

#include "ui/main_menu.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_calibration_masses.h"
#include "ui/page_settings.h"
#include "ui/page_single_peak.h"

namespace orvelo::ui {
void SetRecentFilesAvailable(QMenu& recent, const MainMenu& menu, bool any) {
    recent.menuAction()->setEnabled(any && menu.N2->isEnabled());
}

using C = CurveCommand;
using L = CalibrationListCommand;
using S = SettingsCommand;
using P = SinglePeakCommand;

void AtStartup(Pages& p) {
    p.calibrationCurve->setAvailable({C::FitLine, C::FitParabola, C::Recalculate}, false);
    p.settings->setAvailable({S::Preliminary, S::FinalRun, S::TakeHeight}, false);
    p.singlePeak->setAvailable({P::Fit, P::Save}, false);
    p.calibrationMasses->setAvailable({L::TakePeak, L::AutoCalibrate, L::TypedMass, L::RemoveLine, L::StandardMass,
                                       L::ClearList, L::CreateCurve},
                                      false);
}

void AfterClearAll(Pages& p) {
    p.calibrationCurve->setAvailable({C::FitLine, C::FitParabola, C::Recalculate}, false);
    p.singlePeak->setAvailable({P::Fit, P::Save}, false);
}

void AfterSpectrumLoaded(Pages& p) { p.settings->setAvailable(S::Preliminary, true); }
void AtPreliminaryStart(Pages& p) { p.settings->setAvailable(S::Preliminary, false); }
void AfterPreliminary(Pages& p) { p.settings->setAvailable({S::FinalRun, S::TakeHeight}, true); }
void AfterPreliminaryFailed(Pages& p) { p.settings->setAvailable(S::Preliminary, true); }
void AtFinalRunStart(Pages& p) { p.settings->setAvailable(S::FinalRun, false); }
void AfterFinalRunFailed(Pages& p) { p.settings->setAvailable(S::FinalRun, true); }

void AfterFinalRun(Pages& p) {
    p.calibrationMasses->setAvailable({L::TakePeak, L::AutoCalibrate, L::TypedMass, L::RemoveLine, L::StandardMass,
                                       L::ClearList, L::CreateCurve},
                                      true);
    p.singlePeak->setAvailable({P::Fit, P::Save}, true);
}

void AfterSinglePeakChosen(Pages& p) {
    p.singlePeak->setAvailable(P::Fit, true);
    p.singlePeak->setAvailable(P::Save, false);
}

void AfterSinglePeakFitted(Pages& p) {
    p.singlePeak->setAvailable(P::Fit, false);
    p.singlePeak->setAvailable(P::Save, true);
}

// Back to "List open": the list buttons and "Обработать" (the mass lists are refilled) on; with
// the points gone there is nothing to fit. "Пересчитать данные" keeps its state: the fitted
// coefficients stay, and only its own click and the reset turn it off.
void AfterCalibrationListCleared(Pages& p) {
    p.calibrationMasses->setAvailable({L::TakePeak, L::AutoCalibrate, L::TypedMass, L::RemoveLine, L::StandardMass},
                                      true);
    p.singlePeak->setAvailable(P::Fit, true);
    p.calibrationCurve->setAvailable({C::FitLine, C::FitParabola}, false);
}

void AfterCalibrationListComplete(Pages& p, bool line, bool parabola) {
    p.calibrationMasses->setAvailable({L::TakePeak, L::AutoCalibrate, L::TypedMass, L::RemoveLine, L::StandardMass},
                                      false);
    p.calibrationCurve->setAvailable(C::FitLine, line);
    p.calibrationCurve->setAvailable(C::FitParabola, parabola);
}

void AtCurveFitStart(Pages& p) { p.calibrationCurve->setAvailable({C::FitLine, C::FitParabola}, false); }
void AfterCurveFitted(Pages& p) { p.calibrationCurve->setAvailable(C::Recalculate, true); }
void AfterRecalculated(Pages& p) { p.calibrationCurve->setAvailable(C::Recalculate, false); }

// Switches the commands off and remembers how to put each back.
template <class Page>
void Hold(std::vector<std::function<void()>>& restore, Page& page,
          std::initializer_list<typename Page::CommandType> commands) {
    for (auto command : commands) {
        QPointer<QWidget> guard(&page);
        restore.push_back([guard, command, on = page.available(command)] {
            if (guard) static_cast<Page*>(guard.data())->setAvailable(command, on);
        });
        page.setAvailable(command, false);
    }
}

void RunLock::lock(Pages& p, MainMenu& menu) {
    if (locked_) return;
    locked_ = true;
    Hold(restore_, *p.settings, {S::Preliminary, S::FinalRun, S::TakeHeight, S::ZoneList});
    Hold(restore_, *p.singlePeak, {P::Fit, P::Save, P::PeakList});
    Hold(restore_, *p.calibrationMasses, {L::TakePeak, L::AutoCalibrate, L::TypedMass, L::RemoveLine,
                                          L::StandardMass, L::ClearList, L::CreateCurve});
    Hold(restore_, *p.calibrationCurve, {C::FitLine, C::FitParabola, C::Recalculate});
    for (QAction* a : {menu.N2, menu.N9->menuAction()}) {
        QPointer<QAction> guard(a);
        restore_.push_back([guard, on = a->isEnabled()] {
            if (guard) guard->setEnabled(on);
        });
        a->setEnabled(false);
    }
}

void RunLock::unlock() {
    if (!locked_) return;
    locked_ = false;
    for (const auto& restore : restore_) restore();
    restore_.clear();
}

}  // namespace orvelo::ui
