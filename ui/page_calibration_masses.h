#pragma once
// Page "Калибровочные массы" (TabSheet4): the masses of all fitted peaks, the chosen
// calibration masses, manual entry, the standard CH/CF masses, the choice of ion masses and the
// automatic match. The page shows what the calibration commands hand it and asks for each
// command by a signal; the commands themselves are the calibration command groups'.
#include <QWidget>
#include <string>
#include <vector>

#include "ui/page_commands.h"

#include "calibration/auto_calibration.h"
#include "ui/layout_rule.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace orvelo::ui {

// ">>", "<<", "<<" of "Ввод вручную", "<<" of "Стандартные массы", "Очистить список",
// "Создать кривую", "Подобрать автоматически".
enum class CalibrationListCommand {
    TakePeak,
    RemoveLine,
    TypedMass,
    StandardMass,
    ClearList,
    CreateCurve,
    AutoCalibrate,
    Count
};

class PageCalibrationMasses : public QWidget, public PageCommands<CalibrationListCommand> {
    Q_OBJECT
public:
    explicit PageCalibrationMasses(QWidget* parent = nullptr);
    // The peak, calibration and standard-mass lists, the typed mass and the summary of the
    // automatic match.
    void clear();

    // "Все массы": one line per fitted peak.
    void showPeaks(const std::vector<std::string>& massLines);
    std::vector<std::string> peakLines() const;
    int chosenPeak() const;  // -1: none

    // "Калибровочные массы": line `selectRow` is chosen (-1 or past the end: none).
    void showCalibrationList(const std::vector<std::string>& lines, int selectRow);
    int chosenListLine() const;  // -1: none
    // The pairing of list lines with peaks, kept out of sight.
    void addDiagnostics(const std::vector<std::string>& lines);

    // The text of "Ввод вручную".
    std::string typedMass() const;

    // "Стандартные массы".
    void showStandardMasses(const std::vector<std::string>& lines);
    std::vector<std::string> standardMassLines() const;
    int chosenStandardMass() const;  // -1: none
    // The family (CH or CF) and the CH rows chosen by the check boxes.
    ReferenceChoice referenceChoice() const;

    // "Опорные массы": ion masses (minus the electron) instead of neutral ones.
    void setIonMasses(bool ions);

    // "Автоматический подбор": the tolerance and the curve kind of the matcher, and what the
    // last match found.
    AutoCalibrationSettings autoSettings() const;
    void showAutoSettings(const AutoCalibrationSettings& settings);
    void showAutoSummary(const std::string& text);

    // The layout rule's boxes of this page's controls (LayoutBoxes), read and placed again.
    void readLayout(LayoutBoxes& boxes) const;
    void applyLayout(const LayoutBoxes& boxes);

signals:
    void takePeakRequested();       // ">>"
    void removeLineRequested();     // "<<"
    void typedMassRequested();      // "<<" of "Ввод вручную"
    void standardMassRequested();   // "<<" of "Стандартные массы"
    void clearListRequested();      // "Очистить список"
    void createCurveRequested();    // "Создать кривую"
    void referenceChoiceChanged();  // CH/CF or a check box of "Стандартные массы" clicked
    void ionMassesToggled(bool ions);
    void autoCalibrateRequested();  // "Подобрать автоматически"
    // The operator changed one setting of the matcher.
    void toleranceChanged(double mmu);
    void curveKindChanged(CurveKind kind);

private:
    void buildReferenceMasses();
    void buildAutoCalibration();

    QLabel* Label13;
    QListWidget* ListBox5;
    QPushButton* Button1;
    QPushButton* Button3;
    QLabel* Label12;
    QListWidget* ListBox6;
    QPushButton* Button15;
    QPushButton* Button14;
    QListWidget* ListBox7;  // never shown
    QGroupBox* GroupBox4;
    QPushButton* Button2;
    QLineEdit* Edit1;
    QGroupBox* GroupBox5;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QPushButton* Button8;
    QListWidget* ListBox2;
    QGroupBox* GroupReferenceMasses;
    QCheckBox* CheckBoxIons;
    QGroupBox* GroupAuto;
    QDoubleSpinBox* EditTolerance;  // mmu
    QComboBox* ComboCurveKind;      // "Линия", "Парабола"
    QPushButton* ButtonAuto;
    QLabel* LabelAutoSummary;
};

}  // namespace orvelo::ui
