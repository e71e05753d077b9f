#pragma once
// The choice "ионы (минус масса электрона)" on page "Калибровочные массы", off at the first
// start and remembered afterwards; the session holds it. Switching it rebuilds the reference
// tables, "Стандартные массы" and the CH and CF saws of the last run with the other masses; the
// calibration list keeps the true masses it already holds.
#include <QObject>

#include "ui/command_context.h"

namespace orvelo::ui {

class CalibrationCommands;
class FinalRunCommands;
class SettingsStore;

class IonMassesChoice : public QObject {
    Q_OBJECT
public:
    // Shows the remembered choice on the page and makes it the program's.
    IonMassesChoice(CommandContext& context, FinalRunCommands& finalRun, CalibrationCommands& calibration,
                    SettingsStore& settings);

    // The operator switched the choice; runs inside the command wrapper.
    void CheckBoxIonsClick(bool ions);

private:
    void choose(bool ions);

    CommandContext& c_;
    FinalRunCommands& finalRun_;
    CalibrationCommands& calibration_;
    SettingsStore& settings_;
};

}  // namespace orvelo::ui
