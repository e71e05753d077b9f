#include "ui/availability.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QEvent>
#include <QPushButton>
#include <initializer_list>

#include "ui/main_menu.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_calibration_masses.h"
#include "ui/page_settings.h"
#include "ui/page_single_peak.h"

namespace orvelo::ui {
namespace {

void SetEnabled(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* w : widgets) w->setEnabled(on);
}

// Mirrors the enabled state of `source` on `target`.
class EnabledMirror : public QObject {
public:
    EnabledMirror(QWidget* source, QWidget* target) : QObject(source), target_(target) {
        target->setEnabled(source->isEnabled());
        source->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && target_)
            target_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

private:
    QPointer<QWidget> target_;
};

}  // namespace

void FollowListOpen(QWidget* autoButton, Pages& p) { new EnabledMirror(p.calibrationMasses->Button1, autoButton); }

void SetRecentFilesAvailable(QMenu& recent, const MainMenu& menu, bool any) {
    recent.menuAction()->setEnabled(any && menu.N2->isEnabled());
}

void AtStartup(Pages& p) {
    const auto& c = *p.calibrationCurve;
    const auto& m = *p.calibrationMasses;
    const auto& s = *p.settings;
    const auto& sp = *p.singlePeak;
    SetEnabled({c.Button6, c.Button4, c.Button5, s.Button9, s.Button13, s.BitBtn1, sp.Button16,
                sp.Button17, m.Button1, m.Button2, m.Button3, m.Button8, m.Button14, m.Button15},
               false);
}

void AfterClearAll(Pages& p) {
    SetEnabled({p.calibrationCurve->Button6, p.calibrationCurve->Button4, p.calibrationCurve->Button5,
                p.singlePeak->Button16, p.singlePeak->Button17},
               false);
}

void AfterSpectrumLoaded(Pages& p) { p.settings->Button9->setEnabled(true); }
void AtPreliminaryStart(Pages& p) { p.settings->Button9->setEnabled(false); }
void AfterPreliminary(Pages& p) { SetEnabled({p.settings->Button13, p.settings->BitBtn1}, true); }
void AfterPreliminaryFailed(Pages& p) { p.settings->Button9->setEnabled(true); }
void AtFinalRunStart(Pages& p) { p.settings->Button13->setEnabled(false); }
void AfterFinalRunFailed(Pages& p) { p.settings->Button13->setEnabled(true); }

void AfterFinalRun(Pages& p) {
    const auto& m = *p.calibrationMasses;
    SetEnabled({m.Button1, m.Button2, m.Button3, m.Button8, m.Button14, m.Button15,
                p.singlePeak->Button16, p.singlePeak->Button17},
               true);
}

void AfterSinglePeakChosen(Pages& p) {
    p.singlePeak->Button16->setEnabled(true);
    p.singlePeak->Button17->setEnabled(false);
}

void AfterSinglePeakFitted(Pages& p) {
    p.singlePeak->Button16->setEnabled(false);
    p.singlePeak->Button17->setEnabled(true);
}

// Back to "List open": the list buttons and "Обработать" (the mass lists are refilled) on; with
// the points gone there is nothing to fit. "Пересчитать данные" keeps its state: the fitted
// coefficients stay, and only its own click and the reset turn it off.
void AfterCalibrationListCleared(Pages& p) {
    const auto& m = *p.calibrationMasses;
    const auto& c = *p.calibrationCurve;
    SetEnabled({m.Button1, m.Button2, m.Button3, m.Button8, p.singlePeak->Button16}, true);
    SetEnabled({c.Button6, c.Button4}, false);
}

void AfterCalibrationListComplete(Pages& p, bool line, bool parabola) {
    const auto& m = *p.calibrationMasses;
    SetEnabled({m.Button1, m.Button2, m.Button3, m.Button8}, false);
    p.calibrationCurve->Button6->setEnabled(line);
    p.calibrationCurve->Button4->setEnabled(parabola);
}

void AtCurveFitStart(Pages& p) {
    SetEnabled({p.calibrationCurve->Button6, p.calibrationCurve->Button4}, false);
}

void AfterCurveFitted(Pages& p) { p.calibrationCurve->Button5->setEnabled(true); }
void AfterRecalculated(Pages& p) { p.calibrationCurve->Button5->setEnabled(false); }

void RunLock::lock(Pages& p, MainMenu& menu) {
    if (locked_) return;
    locked_ = true;
    const auto& m = *p.calibrationMasses;
    const auto& c = *p.calibrationCurve;
    const auto& s = *p.settings;
    const auto& sp = *p.singlePeak;
    for (QWidget* w : std::initializer_list<QWidget*>{
             s.Button9, s.Button13, s.BitBtn1, s.ListBox1, sp.Button16, sp.Button17, sp.ListBox8,
             m.Button1, m.Button2, m.Button3, m.Button8, m.Button14, m.Button15, c.Button6,
             c.Button4, c.Button5}) {
        widgets_.emplace_back(w, w->isEnabled());
        w->setEnabled(false);
    }
    for (QAction* a : {menu.N2, menu.N9->menuAction()}) {
        actions_.emplace_back(a, a->isEnabled());
        a->setEnabled(false);
    }
}

void RunLock::unlock() {
    if (!locked_) return;
    locked_ = false;
    for (auto& [w, on] : widgets_)
        if (w) w->setEnabled(on);
    for (auto& [a, on] : actions_)
        if (a) a->setEnabled(on);
    widgets_.clear();
    actions_.clear();
}

}  // namespace orvelo::ui
