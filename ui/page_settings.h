#pragma once
// Page "Настройка" (TabSheet3): the processing settings, the zone list with its zone chart
// Chart5, the threshold entry and the buttons of the preliminary and the final run.
#include <QWidget>

#include "ui/page_commands.h"
#include "ui/pages.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;

enum class SettingsCommand { Preliminary, FinalRun, TakeHeight, ZoneList, Count };

class PageSettings : public QWidget, public PageCommands<SettingsCommand> {
    Q_OBJECT
public:
    explicit PageSettings(QWidget* parent = nullptr);
    // What the controls stand on; the layout rule follows its size.
    QWidget* area() const { return area_; }
    // The zone list always; the zone chart except at the start of the final run.
    void clear(ClearMode mode);
    // "KolUsred" and "KrivoMn" as stored.
    void showSettings(int kolUsred, double krivoMn);

    QLabel* Label7;
    QListWidget* ListBox1;
    QLabel* Label5;
    QLineEdit* Edit2;
    QLabel* Label6;
    QLineEdit* Edit3;
    QPushButton* Button9;
    QPushButton* Button13;
    QPushButton* BitBtn1;
    QLabel* Label9;
    QLineEdit* Edit4;
    QGroupBox* RadioGroup1;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    ChartSurface* Chart5;
    ChartSeries* Series14;
    ChartSeries* Series15;

private:
    QWidget* area_;
};

}  // namespace orvelo::ui
