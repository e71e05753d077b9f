#pragma once
// Page "Калибровочные массы" (TabSheet4): the masses of all fitted peaks, the chosen
// calibration masses, manual entry and the standard CH/CF masses. The commands of this page
// (pairing masses, the standard lists) are attached by the calibration commands.
#include <QWidget>

#include "ui/page_commands.h"

#include "calibration/reference_masses.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace orvelo::ui {

// ">>", "<<", "<<" of "Ввод вручную", "<<" of "Стандартные массы", "Очистить список",
// "Создать кривую".
enum class CalibrationListCommand { TakePeak, RemoveLine, TypedMass, StandardMass, ClearList, CreateCurve, Count };

class PageCalibrationMasses : public QWidget, public PageCommands<CalibrationListCommand> {
    Q_OBJECT
public:
    explicit PageCalibrationMasses(QWidget* parent = nullptr);
    // The peak, calibration and standard-mass lists and the typed mass.
    void clear();

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
};

// The check boxes of "Стандартные массы" as ReFill reads them.
ListFlags ListFlagsOf(const PageCalibrationMasses& page);

}  // namespace orvelo::ui
