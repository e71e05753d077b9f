#pragma once
// Page "Калибровочная кривая" (TabSheet5): the curve-fitting buttons and the calibration chart
// Chart2 (calibration points Series7, fitted line or parabola Series8).
#include <QWidget>

#include "ui/page_commands.h"

class QPushButton;

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;

enum class CurveCommand { FitLine, FitParabola, Recalculate, Count };

class PageCalibrationCurve : public QWidget, public PageCommands<CurveCommand> {
    Q_OBJECT
public:
    explicit PageCalibrationCurve(QWidget* parent = nullptr);
    // The calibration points and the fitted curve.
    void clear();

    QPushButton* Button6;
    QPushButton* Button4;
    QPushButton* Button5;
    ChartSurface* Chart2;
    ChartSeries* Series7;
    ChartSeries* Series8;
};

}  // namespace orvelo::ui
