#pragma once
// Beside the chart of "Калибровочная кривая": the check of the fitted curve, so the operator
// can judge it before "Пересчитать данные" — the curve kind, its equation, one row per
// calibration point (measured mass, true mass, deviation before and after the curve, mmu)
// and the RMS of the residuals. Hidden, and the chart at its full width, while no curve is
// fitted to the current points. Page "Калибровочная кривая" shows it after every fit of a line
// or parabola and clears it when the points go ("Очистить список", "Создать кривую", the
// window's reset).
#include <QFrame>

#include "calibration/curve_report.h"

class QLabel;
class QTableWidget;

namespace orvelo::ui {

class CalibrationCheckView : public QFrame {
    Q_OBJECT
public:
    // A child of the chart's page; `chart` gives way to it while it is shown.
    CalibrationCheckView(QWidget* page, QWidget* chart);

    void showCheck(const CalibrationCheck& check, CurveKind kind);
    void clear();
    // At the right of the page over the chart's height, the chart narrowed by its width; run
    // after every layout of the page.
    void place();

private:
    QLabel* LabelCurve;
    QLabel* LabelEquation;
    QTableWidget* TableCheck;
    QLabel* LabelRms;
    QWidget* chart_;
};

}  // namespace orvelo::ui
