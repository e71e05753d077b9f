#pragma once
// "Подобрать автоматически" on page "Калибровочные массы": the reference ions of the list
// chosen under "Стандартные массы" (CH with its check boxes, or CF) are matched to the fitted
// peaks, and the kept pairs fill the calibration list as ">>" and "<<" would have filled it.
// The operator may still remove lines before "Создать кривую". The tolerance and the curve kind
// of the matcher are settings of the page, remembered between sessions.
#include <QObject>

#include "ui/command_context.h"

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace orvelo::ui {

class CalibrationCommands;
class SettingsStore;

class AutoCalibrationCommands : public QObject {
    Q_OBJECT
public:
    // Adds its frame "Автоматический подбор" to page "Калибровочные массы".
    AutoCalibrationCommands(CommandContext& context, CalibrationCommands& calibration, SettingsStore& settings);

    // A match that finds nothing is shown and changes nothing.
    void ButtonAutoClick();

    QGroupBox* GroupAuto;
    QDoubleSpinBox* EditTolerance;  // mmu
    QComboBox* ComboCurveKind;      // "Линия", "Парабола"
    QPushButton* ButtonAuto;
    QLabel* LabelAutoSummary;

private:
    void Match();

    CommandContext& c_;
    CalibrationCommands& calibration_;
    SettingsStore& settings_;
};

}  // namespace orvelo::ui
