#pragma once
#include <QColor>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace orvelo::ui {

// The drawing surface handed to an after-draw callback (pixel coordinates of the chart).
class ChartCanvas {
public:
    explicit ChartCanvas(QPainter& painter) : painter_(painter) {}
    void setFillColor(const QColor& colour);
    void setOutlineColor(const QColor& colour);
    void drawPolygon(const QPolygon& points);
    // Text centred in `box`, in the outline colour.
    void drawText(const QRect& box, const QString& text);
    QSize textSize(const QString& text) const;

private:
    QPainter& painter_;
};

}  // namespace orvelo::ui
