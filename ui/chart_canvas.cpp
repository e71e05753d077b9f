#include "ui/chart_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace orvelo::ui {

void ChartCanvas::setFillColor(const QColor& colour) { painter_.setBrush(colour); }
void ChartCanvas::setOutlineColor(const QColor& colour) { painter_.setPen(QPen(colour)); }
void ChartCanvas::drawPolygon(const QPolygon& points) { painter_.drawPolygon(points); }
void ChartCanvas::drawText(const QRect& box, const QString& text) { painter_.drawText(box, Qt::AlignCenter, text); }
QSize ChartCanvas::textSize(const QString& text) const {
    return QFontMetrics(painter_.font()).size(Qt::TextSingleLine, text);
}

}  // namespace orvelo::ui
