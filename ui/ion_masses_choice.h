#pragma once
// The choice "ионы (минус масса электрона)" on page "Калибровочные массы", off at the first
// start and remembered afterwards. Switching it rebuilds the reference tables, "Стандартные
// массы" and the CH and CF saws of the last run with the other masses; the calibration list
// keeps the true masses it already holds.
#include <QObject>

#include "ui/command_context.h"

class QCheckBox;

namespace orvelo::ui {

class CalibrationCommands;
class FinalRunCommands;
class SettingsStore;

class IonMassesChoice : public QObject {
    Q_OBJECT
public:
    IonMassesChoice(CommandContext& context, FinalRunCommands& finalRun, CalibrationCommands& calibration,
                    SettingsStore& settings);

    QCheckBox* CheckBoxIons;

private:
    void CheckBoxIonsClick();

    CommandContext& c_;
    FinalRunCommands& finalRun_;
    CalibrationCommands& calibration_;
    SettingsStore& settings_;
};

}  // namespace orvelo::ui
