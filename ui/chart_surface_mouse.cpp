#include "ui/chart_surface.h"

#include <qcustomplot.h>

#include <cmath>

// The chart's mouse: rectangle zoom (left), undo zoom (drag up or left), pan (right), wheel
// zoom and the point cursor; and the conversions between chart pixels and axis values.

namespace orvelo::ui {

void ChartSurface::onMousePress(QPoint pos, Qt::MouseButton button) {
    pressPos_ = pos;
    pressButton_ = button;
    if (!mouseZoom_) {
        plot_->setSelectionRectMode(QCP::srmNone);
        return;
    }
    // The rectangle starts for any button unless switched off here, before the plot decides.
    plot_->setSelectionRectMode(button == Qt::LeftButton ? QCP::srmCustom : QCP::srmNone);
    panKeyLower_ = plot_->xAxis->range().lower;
    panKeyUpper_ = plot_->xAxis->range().upper;
    panValueLower_ = plot_->yAxis->range().lower;
    panValueUpper_ = plot_->yAxis->range().upper;
}

void ChartSurface::onMouseMove(QPoint pos, Qt::MouseButtons buttons) {
    lastMouse_ = pos;
    if (mouseZoom_ && pressButton_ == Qt::RightButton && (buttons & Qt::RightButton)) {
        plot_->xAxis->setRange(panKeyLower_, panKeyUpper_);
        plot_->yAxis->setRange(panValueLower_, panValueUpper_);
        panByPixels(pos.x() - pressPos_.x(), pos.y() - pressPos_.y());
    }
    updateCursor();
    emit mouseMoved(pos);
}

void ChartSurface::onMouseRelease(QPoint pos, Qt::MouseButton button) {
    if (mouseZoom_ && button == Qt::LeftButton && pressButton_ == Qt::LeftButton &&
        (std::abs(pos.x() - pressPos_.x()) > 3 || std::abs(pos.y() - pressPos_.y()) > 3))
        zoomToPixels(pressPos_, pos);
    pressButton_ = Qt::NoButton;
}

void ChartSurface::zoomToPixels(QPoint from, QPoint to) {
    if (to.x() < from.x() || to.y() < from.y()) {
        undoZoom();
        return;
    }
    QCPAxis* x = plot_->xAxis;
    QCPAxis* y = plot_->yAxis;
    x->setRange(x->pixelToCoord(from.x()), x->pixelToCoord(to.x()));
    y->setRange(y->pixelToCoord(to.y()), y->pixelToCoord(from.y()));
    zoomed_ = true;
    requestRedraw();
}

void ChartSurface::undoZoom() {
    zoomed_ = false;
    dataDirty_ = true;
    requestRedraw();
}

void ChartSurface::panByPixels(int dx, int dy) {
    QCPAxis* x = plot_->xAxis;
    QCPAxis* y = plot_->yAxis;
    const QCPRange kr = x->range(), vr = y->range();
    x->setRange(x->pixelToCoord(x->coordToPixel(kr.lower) - dx), x->pixelToCoord(x->coordToPixel(kr.upper) - dx));
    y->setRange(y->pixelToCoord(y->coordToPixel(vr.lower) - dy), y->pixelToCoord(y->coordToPixel(vr.upper) - dy));
    zoomed_ = true;
    requestRedraw();
}

// One notch (120) of the wheel away from the operator zooms in by a fifth.
void ChartSurface::onWheel(QPoint pos, int delta) {
    if (!mouseZoom_ || delta == 0) return;
    zoomKeyAround(pos.x(), std::pow(0.8, delta / 120.0));
}

void ChartSurface::zoomKeyAround(int x, double factor) {
    if (!(factor > 0)) return;
    QCPAxis* axis = plot_->xAxis;
    const double centre = axis->pixelToCoord(x);
    const QCPRange r = axis->range();
    axis->setRange(centre - (centre - r.lower) * factor, centre + (r.upper - centre) * factor);
    zoomed_ = true;
    requestRedraw();
}

double ChartSurface::keyAtPixel(int x) const { return plot_->xAxis->pixelToCoord(x); }
double ChartSurface::valueAtPixel(int y) const { return plot_->yAxis->pixelToCoord(y); }
double ChartSurface::pixelOfKey(double key) const { return plot_->xAxis->coordToPixel(key); }
double ChartSurface::pixelOfValue(double value) const { return plot_->yAxis->coordToPixel(value); }
QRect ChartSurface::plotArea() const { return plot_->axisRect()->rect(); }
bool ChartSurface::inPlotArea(QPoint pos) const { return plotArea().contains(pos); }

bool ChartSurface::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plot_ && event->type() == QEvent::Leave) {
        lastMouse_ = QPoint(-1, -1);
        emit mouseLeft();
    }
    return QWidget::eventFilter(watched, event);
}

void ChartSurface::updateCursor() {
    for (ChartSeries* s : series_) {
        if (s->pointCursor_ && s->pointUnderMouse() >= 0) {
            plot_->setCursor(*s->pointCursor_);
            return;
        }
    }
    if (plot_->cursor().shape() != Qt::WaitCursor) plot_->unsetCursor();
}

}  // namespace orvelo::ui
