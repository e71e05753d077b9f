#pragma once
// Page "Калибровочная кривая" (TabSheet5): the curve-fitting buttons, the calibration chart
// Chart2 (calibration points Series7, fitted line or parabola Series8) and beside it the check
// of the fitted curve. The page shows what the calibration commands hand it and asks for each
// command by a signal.
#include <QWidget>

#include "ui/page_commands.h"

#include "calibration/curve_report.h"
#include "core/spectrum_state.h"
#include "ui/layout_rule.h"

class QPushButton;

namespace orvelo::ui {

class CalibrationCheckView;
class ChartSeries;
class ChartSurface;

enum class CurveCommand { FitLine, FitParabola, Recalculate, Count };

class PageCalibrationCurve : public QWidget, public PageCommands<CurveCommand> {
    Q_OBJECT
public:
    explicit PageCalibrationCurve(QWidget* parent = nullptr);
    // The calibration points, the fitted curve and its check.
    void clear();

    void showPoints(const PointList& points);  // Series7
    void showCurve(const PointList& samples);  // Series8
    // The check of the fitted curve beside the chart, which gives way to it; clearCheck hides
    // it and gives the chart the page's width again.
    void showCheck(const CalibrationCheck& check, CurveKind kind);
    void clearCheck();
    // Puts the check back beside the chart; run after every layout of the page.
    void placeCheck();

    // For picture export, printing and the status-bar readout.
    ChartSurface& chart() { return *Chart2; }

    // The layout rule's boxes of this page's controls (LayoutBoxes), read and placed again.
    void readLayout(LayoutBoxes& boxes) const;
    void applyLayout(const LayoutBoxes& boxes);

signals:
    void fitLineRequested();      // "Подобрать линию"
    void fitParabolaRequested();  // "Подобрать параболу"
    void recalculateRequested();  // "Пересчитать данные"

private:
    QPushButton* Button6;
    QPushButton* Button4;
    QPushButton* Button5;
    ChartSurface* Chart2;
    ChartSeries* Series7;
    ChartSeries* Series8;
    CalibrationCheckView* checkView_;  // "CalibrationCheck"
};

}  // namespace orvelo::ui
