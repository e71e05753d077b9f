#pragma once
// The choice "ионы (минус масса электрона)" on page "Калибровочные массы", off at the first
// start and remembered afterwards; the session holds it. Switching it rebuilds the reference
// tables, "Стандартные массы" and the CH and CF saws of the last run with the other masses; the
// calibration list keeps the true masses it already holds.
#include <QObject>

#include "calibration/after_final_run.h"
#include "ui/command_context.h"

namespace orvelo::ui {

class PageCalibrationMasses;
class SettingsStore;

class IonMassesChoice : public QObject {
    Q_OBJECT
public:
    // Shows the remembered choice on the page and makes it the program's.
    IonMassesChoice(CommandContext& context, PageCalibrationMasses& page, SettingsStore& settings);

    // The operator switched the choice; runs inside the command wrapper.
    void CheckBoxIonsClick(bool ions);

signals:
    // The masses of the last run's peaks assigned again with the new choice (only when there are
    // results and no run is going), then the choice made in any case.
    void massesReassigned(const MassAssignment& assigned);
    void chosen();

private:
    void choose(bool ions);

    CommandContext& c_;
    SettingsStore& settings_;
};

}  // namespace orvelo::ui
