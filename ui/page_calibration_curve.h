#pragma once
// Page "Калибровочная кривая" (TabSheet5): the curve-fitting buttons and the calibration chart
// Chart2 (calibration points Series7, fitted line or parabola Series8).
#include <QWidget>

class QPushButton;

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;

class PageCalibrationCurve : public QWidget {
    Q_OBJECT
public:
    explicit PageCalibrationCurve(QWidget* parent = nullptr);

    QPushButton* Button6;
    QPushButton* Button4;
    QPushButton* Button5;
    ChartSurface* Chart2;
    ChartSeries* Series7;
    ChartSeries* Series8;
};

}  // namespace orvelo::ui
