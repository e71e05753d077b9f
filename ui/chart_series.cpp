#include "ui/chart_series.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/number_text.h"
#include "ui/chart_surface.h"

namespace orvelo::ui {
namespace {

constexpr double kPointTolerancePx = 6.0;

QCPScatterStyle MarkerStyle(const SeriesStyle& s) {
    QCPScatterStyle::ScatterShape shape = QCPScatterStyle::ssDisc;
    switch (s.marker) {
        case MarkerShape::Circle: shape = QCPScatterStyle::ssCircle; break;
        case MarkerShape::Square: shape = QCPScatterStyle::ssSquare; break;
        case MarkerShape::Diamond: shape = QCPScatterStyle::ssDiamond; break;
    }
    QPen pen(s.markerOutline, s.markerOutlineWidth);
    QBrush brush = s.markerFill ? QBrush(*s.markerFill) : QBrush(Qt::NoBrush);
    // The library draws a circle "size" pixels across; keep tiny markers visible.
    return QCPScatterStyle(shape, pen, brush, std::max(s.markerSize + 1, 3));
}

}  // namespace

ChartSeries::ChartSeries(ChartSurface* surface, QCPGraph* graph, const SeriesStyle& style)
    : QObject(surface), surface_(surface), graph_(graph), style_(style) {
    graph_->setPen(QPen(style.line));
    graph_->setLineStyle(QCPGraph::lsLine);
    graph_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    graph_->setAdaptiveSampling(true);
}

void ChartSeries::changed(bool dataChanged) {
    if (dataChanged) surface_->dataDirty_ = true;
    surface_->requestRedraw();
}

void ChartSeries::clear() {
    graph_->data()->clear();
    labels_.clear();
    breaks_.clear();
    changed(true);
}

void ChartSeries::addPoint(double x, double y) {
    graph_->addData(x, y);
    changed(true);
}

void ChartSeries::setPoints(const std::vector<double>& x, const std::vector<double>& y) {
    const auto n = std::min(x.size(), y.size());
    QVector<QCPGraphData> data(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i) data[static_cast<qsizetype>(i)] = QCPGraphData(x[i], y[i]);
    graph_->data()->set(data, true);
    labels_.clear();
    breaks_.clear();
    changed(true);
}

// A break is a point whose value is not a number, halfway between the pieces: the library
// draws no line through it and no marker on it.
void ChartSeries::setPieces(const std::vector<double>& x, const std::vector<double>& y,
                            const std::vector<int>& starts) {
    const auto n = std::min(x.size(), y.size());
    QVector<QCPGraphData> data;
    data.reserve(static_cast<qsizetype>(n + starts.size()));
    std::vector<int> breaks;
    auto next = starts.begin();
    for (std::size_t i = 0; i < n; ++i) {
        while (next != starts.end() && *next < static_cast<int>(i)) ++next;
        if (i > 0 && next != starts.end() && *next == static_cast<int>(i)) {
            breaks.push_back(static_cast<int>(data.size()));
            data.append(QCPGraphData((x[i - 1] + x[i]) / 2, std::numeric_limits<double>::quiet_NaN()));
        }
        data.append(QCPGraphData(x[i], y[i]));
    }
    graph_->data()->set(data, true);
    labels_.clear();
    breaks_ = std::move(breaks);
    changed(true);
}

int ChartSeries::dataIndex(int i) const {
    int d = i;
    for (int b : breaks_) {
        if (b > d) break;
        ++d;
    }
    return d;
}

int ChartSeries::pointIndex(int dataIndex) const {
    const auto before = std::lower_bound(breaks_.begin(), breaks_.end(), dataIndex) - breaks_.begin();
    return dataIndex - static_cast<int>(before);
}

int ChartSeries::count() const { return graph_->data()->size() - static_cast<int>(breaks_.size()); }
double ChartSeries::x(int i) const { return graph_->data()->at(dataIndex(i))->key; }
double ChartSeries::y(int i) const { return graph_->data()->at(dataIndex(i))->value; }

bool ChartSeries::shown() const { return graph_->visible(); }
void ChartSeries::setShown(bool shown) {
    graph_->setVisible(shown);
    changed(true);
}

bool ChartSeries::markers() const { return !graph_->scatterStyle().isNone(); }
void ChartSeries::setMarkers(bool on) {
    graph_->setScatterStyle(on ? MarkerStyle(style_) : QCPScatterStyle(QCPScatterStyle::ssNone));
    changed(false);
}

void ChartSeries::setMarks(bool on) {
    marks_ = on;
    changed(false);
}

void ChartSeries::setMarksClipped(bool clipped) { marksClipped_ = clipped; }

int ChartSeries::pixelX(int i) const { return static_cast<int>(std::lround(graph_->keyAxis()->coordToPixel(x(i)))); }
int ChartSeries::pixelY(int i) const { return static_cast<int>(std::lround(graph_->valueAxis()->coordToPixel(y(i)))); }

int ChartSeries::nearestPoint(QPointF pixel, double tolerance) const {
    if (!graph_->visible() || graph_->data()->isEmpty()) return -1;
    QCPAxis* keyAxis = graph_->keyAxis();
    QCPAxis* valueAxis = graph_->valueAxis();
    double k1 = keyAxis->pixelToCoord(pixel.x() - tolerance);
    double k2 = keyAxis->pixelToCoord(pixel.x() + tolerance);
    if (k1 > k2) std::swap(k1, k2);
    auto data = graph_->data();
    auto begin = data->findBegin(k1, false);
    auto end = data->findEnd(k2, false);
    int best = -1;
    double bestDistance = tolerance * tolerance;
    for (auto it = begin; it != end; ++it) {
        if (std::isnan(it->value)) continue;  // a break between pieces
        double dx = keyAxis->coordToPixel(it->key) - pixel.x();
        double dy = valueAxis->coordToPixel(it->value) - pixel.y();
        double d = dx * dx + dy * dy;
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<int>(it - data->constBegin());
        }
    }
    return best < 0 ? -1 : pointIndex(best);
}

int ChartSeries::pointUnderMouse() const {
    QPoint p = surface_->lastMousePos();
    if (p.x() < 0) return -1;
    return nearestPoint(QPointF(p), kPointTolerancePx);
}

void ChartSeries::setLabel(int i, const QString& label) {
    if (label.isEmpty()) labels_.remove(i);
    else labels_.insert(i, label);
    changed(false);
}

QString ChartSeries::markText(int i) const {
    QString text = labels_.value(i);
    if (text.isEmpty()) text = QString::fromStdString(FormatGeneral(y(i)));
    return markText_ ? markText_(i, text) : text;
}

}  // namespace orvelo::ui
