#pragma once
// "Подобрать автоматически" on page "Калибровочные массы": the reference ions of the list
// chosen under "Стандартные массы" (CH with its check boxes, or CF) are matched to the fitted
// peaks, and the kept pairs fill the calibration list as ">>" and "<<" would have filled it.
// The operator may still remove lines before "Создать кривую". The tolerance and the curve kind
// of the matcher are settings of the page, remembered between sessions.
#include <QObject>

#include "calibration/curve_report.h"
#include "ui/command_context.h"

namespace orvelo::ui {

class PageCalibrationMasses;
class SettingsStore;

class AutoCalibrationCommands : public QObject {
    Q_OBJECT
public:
    // Shows the remembered settings of the matcher on page "Калибровочные массы"; a remembered
    // tolerance out of the matcher's range counts as none.
    AutoCalibrationCommands(CommandContext& context, PageCalibrationMasses& page, SettingsStore& settings);

    // A match that finds nothing is shown and changes nothing.
    void ButtonAutoClick();
    // Each setting is remembered on its own change, alone.
    void rememberTolerance(double mmu);
    void rememberCurveKind(CurveKind kind);

private:
    void match();

    CommandContext& c_;
    PageCalibrationMasses& page_;
    SettingsStore& settings_;
};

}  // namespace orvelo::ui
