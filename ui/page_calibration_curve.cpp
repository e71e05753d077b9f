#include "ui/page_calibration_curve.h"

#include <QPushButton>

#include "ui/calibration_check_view.h"
#include "ui/chart_surface.h"
#include "ui/layout_rule.h"
#include "ui/widget_kit.h"
#include "ui/page_layout.h"

namespace orvelo::ui {

PageCalibrationCurve::PageCalibrationCurve(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet5"));
    Button6 = MakeButton(this, "Button6", QStringLiteral("Подобрать линию"), QRect(0, 8, 313, 97));
    Button4 = MakeButton(this, "Button4", QStringLiteral("Подобрать параболу"), QRect(328, 8, 273, 97));
    Button5 = MakeButton(this, "Button5", QStringLiteral("Пересчитать данные"), QRect(616, 8, 393, 97));

    Chart2 = new ChartSurface(this);
    Chart2->setObjectName(QStringLiteral("Chart2"));
    const Box c2 = DesignLayout().Chart2;
    Chart2->setGeometry(c2.left, c2.top, c2.width, c2.height);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setBold(true);
    Chart2->setTitleFont(font, Qt::blue);
    Chart2->addTitleLine(QStringLiteral("Калибровочная кривая"));
    Chart2->setAxisTitles(QStringLiteral("М изм"), QStringLiteral("Δm, mmu"), font, QColor(0, 128, 0));
    Chart2->setLeftTickLength(0);
    // The fitted curve first, so that the calibration points stay visible on top of it.
    const QColor green(0, 128, 0);
    Series8 = Chart2->addSeries(QStringLiteral("Series8"), {green, MarkerShape::Circle, 2, green, std::nullopt, 1});
    Series7 =
        Chart2->addSeries(QStringLiteral("Series7"), {Qt::red, MarkerShape::Circle, 4, Qt::blue, QColor(Qt::blue), 1});
    Series7->setMarkers(true);
    checkView_ = new CalibrationCheckView(this, Chart2);
    bind(CurveCommand::FitLine, Button6);
    bind(CurveCommand::FitParabola, Button4);
    bind(CurveCommand::Recalculate, Button5);
    connect(Button6, &QPushButton::clicked, this, &PageCalibrationCurve::fitLineRequested);
    connect(Button4, &QPushButton::clicked, this, &PageCalibrationCurve::fitParabolaRequested);
    connect(Button5, &QPushButton::clicked, this, &PageCalibrationCurve::recalculateRequested);
}

void PageCalibrationCurve::clear() {
    Series7->clear();
    Series8->clear();
    checkView_->clear();
}

void PageCalibrationCurve::showPoints(const PointList& points) { Series7->setPoints(points.x, points.y); }
void PageCalibrationCurve::showCurve(const PointList& samples) { Series8->setPoints(samples.x, samples.y); }

void PageCalibrationCurve::showCheck(const CalibrationCheck& check, CurveKind kind) {
    checkView_->showCheck(check, kind);
}

void PageCalibrationCurve::clearCheck() { checkView_->clear(); }
void PageCalibrationCurve::placeCheck() { checkView_->place(); }

void PageCalibrationCurve::readLayout(LayoutBoxes& boxes) const {
    boxes.Button6 = BoxOf(Button6);
    boxes.Button4 = BoxOf(Button4);
    boxes.Button5 = BoxOf(Button5);
    boxes.Chart2 = BoxOf(Chart2);
}

void PageCalibrationCurve::applyLayout(const LayoutBoxes& boxes) {
    Place(Button6, boxes.Button6);
    Place(Button4, boxes.Button4);
    Place(Button5, boxes.Button5);
    Place(Chart2, boxes.Chart2);
}

}  // namespace orvelo::ui
