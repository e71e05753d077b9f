#pragma once
// Page "Настройка" (TabSheet3): the processing settings, the zone list with its zone chart
// Chart5, the threshold entry and the buttons of the preliminary and the final run.
#include <QWidget>
#include <string>
#include <vector>

#include "fitting/final_run.h"
#include "processing/zone_list.h"

#include "ui/page_commands.h"
#include "ui/pages.h"
#include "ui/layout_rule.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace orvelo::ui {

class ChartCanvas;
class ChartSeries;
class ChartSurface;

enum class SettingsCommand { Preliminary, FinalRun, TakeHeight, ZoneList, AutoHeight, Count };

class PageSettings : public QWidget, public PageCommands<SettingsCommand> {
    Q_OBJECT
public:
    explicit PageSettings(QWidget* parent = nullptr);
    // What the controls stand on; the layout rule follows its size.
    QWidget* area() const { return area_; }
    ChartSurface& zoneChart() const { return *Chart5; }

    // The zone list always; the zone chart except at the start of the final run.
    void clear(ClearMode mode);
    // "KolUsred" and "KrivoMn" as stored.
    void showSettings(int kolUsred, double krivoMn);
    QString kolUsredText() const;
    QString krivoMnText() const;
    // "Первый не помеховый пик".
    QString thresholdText() const;
    void setThresholdText(const QString& text);
    GaussShape gaussShape() const;
    void setGaussShape(GaussShape shape);

    // The zone list: its lines, the chosen line (-1: none) and its text.
    void showZones(const std::vector<std::string>& lines);
    int chosenZone() const;
    QString chosenZoneLine() const;
    // The chosen zone on Chart5, a black triangle pointing down at its maximum.
    void showZone(const ZoneView& view);
    void clearZone();

    // The layout rule's boxes of this page's controls (LayoutBoxes), read and placed again.
    void readLayout(LayoutBoxes& boxes) const;
    void applyLayout(const LayoutBoxes& boxes);

signals:
    void preliminaryRequested();
    void finalRunRequested();
    void takeHeightRequested();
    void autoHeightRequested();
    // A line clicked (also the current one) or reached with the keys.
    void zoneChosen();
    void gaussShapeChanged(GaussShape shape);

private:
    void drawMarker(ChartCanvas& canvas) const;

    QWidget* area_;
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
    QPushButton* AutoHeightButton;
    QGroupBox* RadioGroup1;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    ChartSurface* Chart5;
    ChartSeries* Series14;
    ChartSeries* Series15;
    int markerIndex_ = -1;
};

}  // namespace orvelo::ui
