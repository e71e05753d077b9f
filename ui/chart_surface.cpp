#include "ui/chart_surface.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/text_file.h"

namespace orvelo::ui {
namespace {

constexpr int kMaxMarksDrawn = 5000;  // marks beyond this many visible points would be unreadable
constexpr double kKeyPadding = 0.02;
constexpr double kValuePadding = 0.08;

QCPRange Padded(QCPRange r, double fraction) {
    double span = r.size();
    if (span <= 0) span = std::max(std::abs(r.lower) * 0.1, 1.0);
    return QCPRange(r.lower - span * fraction, r.upper + span * fraction);
}

}  // namespace

// The layer above the series: marks and the after-draw callbacks.
class ChartSurface::AfterDrawLayer : public QCPLayerable {
public:
    AfterDrawLayer(QCustomPlot* plot, ChartSurface* owner)
        : QCPLayerable(plot, QStringLiteral("afterdraw")), owner_(owner) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override { painter->setAntialiasing(false); }
    void draw(QCPPainter* painter) override { owner_->drawAfterSeries(*painter); }
    QRect clipRect() const override { return mParentPlot->viewport(); }

private:
    ChartSurface* owner_;
};

// ---------------------------------------------------------------------------------------------
// Chart.

ChartSurface::ChartSurface(QWidget* parent) : QWidget(parent), plot_(new QCustomPlot(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_);
    plot_->setLocale(QLocale::c());  // axis numbers with the point, as every number of the program
    plot_->setNoAntialiasingOnDrag(true);
    plot_->setPlottingHint(QCP::phCacheLabels, true);
    plot_->setSelectionRectMode(QCP::srmCustom);
    plot_->axisRect()->setAutoMargins(QCP::msAll);
    plot_->addLayer(QStringLiteral("afterdraw"), plot_->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    afterDraw_ = new AfterDrawLayer(plot_, this);
    titleFont_ = QFont(QStringLiteral("Arial"));
    titleFont_.setPixelSize(16);

    connect(plot_, &QCustomPlot::beforeReplot, this, [this] { fitAxesToData(); });
    connect(plot_, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) { onMouseMove(e->pos(), e->buttons()); });
    connect(plot_, &QCustomPlot::mousePress, this, [this](QMouseEvent* e) { onMousePress(e->pos(), e->button()); });
    connect(plot_, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* e) { onMouseRelease(e->pos(), e->button()); });
    connect(plot_, &QCustomPlot::mouseWheel, this,
            [this](QWheelEvent* e) { onWheel(e->position().toPoint(), e->angleDelta().y()); });
    plot_->installEventFilter(this);
}

ChartSurface::~ChartSurface() = default;

ChartSeries* ChartSurface::addSeries(const QString& name, const SeriesStyle& style) {
    QCPGraph* graph = plot_->addGraph();
    auto* s = new ChartSeries(this, graph, style);
    s->setObjectName(name);
    graph->setName(name);
    series_.push_back(s);
    return s;
}

ChartSeries* ChartSurface::series(const QString& name) const {
    for (ChartSeries* s : series_)
        if (s->objectName() == name) return s;
    return nullptr;
}

void ChartSurface::setValueAxisMinimum(double minimum) {
    valueMinimum_ = minimum;
    dataDirty_ = true;
    requestRedraw();
}

void ChartSurface::setLogarithmic(bool on) {
    logarithmic_ = on;
    QCPAxis* axis = plot_->yAxis;
    if (on) {
        axis->setScaleType(QCPAxis::stLogarithmic);
        axis->setTicker(QSharedPointer<QCPAxisTickerLog>::create());
        axis->setRange(axis->range().sanitizedForLogScale());
    } else {
        axis->setScaleType(QCPAxis::stLinear);
        axis->setTicker(QSharedPointer<QCPAxisTicker>::create());
        if (valueMinimum_) axis->setRangeLower(*valueMinimum_);
    }
    dataDirty_ = true;
    requestRedraw();
}

// Axis ranges follow the shown series unless the operator has zoomed or panned.
void ChartSurface::fitAxesToData() {
    if (zoomed_ || !dataDirty_) return;
    dataDirty_ = false;
    bool anyKey = false, anyValue = false;
    QCPRange keys, values;
    const QCP::SignDomain domain = logarithmic_ ? QCP::sdPositive : QCP::sdBoth;
    for (ChartSeries* s : series_) {
        if (!s->graph_->visible() || s->graph_->data()->isEmpty()) continue;
        bool found = false;
        QCPRange k = s->graph_->getKeyRange(found, QCP::sdBoth);
        if (found) {
            keys = anyKey ? QCPRange(std::min(keys.lower, k.lower), std::max(keys.upper, k.upper)) : k;
            anyKey = true;
        }
        QCPRange v = s->graph_->getValueRange(found, domain);
        if (found) {
            values = anyValue ? QCPRange(std::min(values.lower, v.lower), std::max(values.upper, v.upper)) : v;
            anyValue = true;
        }
    }
    if (anyKey) plot_->xAxis->setRange(Padded(keys, kKeyPadding));
    if (!anyValue) return;
    if (logarithmic_) {
        plot_->yAxis->setRange(QCPRange(values.lower / 2, values.upper * 4));
        return;
    }
    QCPRange padded = Padded(values, kValuePadding);
    if (valueMinimum_ && *valueMinimum_ <= values.lower) padded.lower = *valueMinimum_;
    plot_->yAxis->setRange(padded);
}

void ChartSurface::clearTitle() {
    titleLines_.clear();
    updateTitle();
}

void ChartSurface::addTitleLine(const QString& line) {
    titleLines_.append(line);
    updateTitle();
}

void ChartSurface::setTitleFont(const QFont& font, const QColor& colour) {
    titleFont_ = font;
    titleColour_ = colour;
    updateTitle();
}

void ChartSurface::updateTitle() {
    auto* layout = plot_->plotLayout();
    QCPTextElement* title = titleVisible_ ? qobject_cast<QCPTextElement*>(layout->element(0, 0)) : nullptr;
    if (titleLines_.isEmpty()) {
        if (title) {
            layout->remove(title);
            layout->simplify();
            titleVisible_ = false;
        }
    } else {
        if (!title) {
            layout->insertRow(0);
            title = new QCPTextElement(plot_, QString(), titleFont_);
            layout->addElement(0, 0, title);
            titleVisible_ = true;
        }
        title->setFont(titleFont_);
        title->setTextColor(titleColour_);
        title->setText(titleLines_.join(QLatin1Char('\n')));
    }
    requestRedraw();
}

void ChartSurface::setAxisTitles(const QString& bottom, const QString& left, const QFont& font, const QColor& colour) {
    for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis}) {
        axis->setLabelFont(font);
        axis->setLabelColor(colour);
    }
    plot_->xAxis->setLabel(bottom);
    plot_->yAxis->setLabel(left);
    requestRedraw();
}

void ChartSurface::setAxisTitles(const QString& bottom, const QString& left) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    setAxisTitles(bottom, left, font, QColor(0x40, 0x40, 0x40));
}

void ChartSurface::setLeftTickLength(int length) {
    plot_->yAxis->setTickLength(length, 0);
    plot_->yAxis->setSubTickLength(length, 0);
}

void ChartSurface::setPanelColour(const QColor& colour) {
    plot_->setBackground(colour);
    plot_->axisRect()->setBackground(Qt::white);
}

void ChartSurface::setPlotAreaColour(const QColor& colour) { plot_->axisRect()->setBackground(colour); }

void ChartSurface::setBuffered(bool on) {
    buffered_ = on;
    if (on) requestRedraw();
}

void ChartSurface::setBusy(bool busy) {
    if (busy) plot_->setCursor(Qt::WaitCursor);
    else plot_->unsetCursor();
}

void ChartSurface::requestRedraw() {
    if (buffered_) plot_->replot(QCustomPlot::rpQueuedReplot);
}

void ChartSurface::redrawNow() { plot_->replot(QCustomPlot::rpImmediateRefresh); }

double ChartSurface::visibleKeyLower() const { return plot_->xAxis->range().lower; }
double ChartSurface::visibleKeyUpper() const { return plot_->xAxis->range().upper; }
double ChartSurface::visibleValueLower() const { return plot_->yAxis->range().lower; }
double ChartSurface::visibleValueUpper() const { return plot_->yAxis->range().upper; }

// ---------------------------------------------------------------------------------------------
// After the series: marks, then each series' after-draw callback.

void ChartSurface::drawAfterSeries(QPainter& painter) {
    for (ChartSeries* s : series_) {
        if (!s->graph_->visible()) continue;
        if (s->marks_) drawMarks(painter, *s);
        if (s->afterDraw_) {
            painter.save();
            ChartCanvas canvas(painter);
            s->afterDraw_(canvas);
            painter.restore();
        }
    }
}

void ChartSurface::drawMarks(QPainter& painter, const ChartSeries& s) {
    auto data = s.graph_->data();
    const QCPRange keys = plot_->xAxis->range();
    auto begin = data->findBegin(keys.lower, false);
    auto end = data->findEnd(keys.upper, false);
    if (end - begin > kMaxMarksDrawn) return;
    painter.save();
    if (s.marksClipped_) painter.setClipRect(plot_->axisRect()->rect());
    const QFontMetrics metrics(painter.font());
    for (auto it = begin; it != end; ++it) {
        if (std::isnan(it->value)) continue;  // a break between pieces
        const int i = s.pointIndex(static_cast<int>(it - data->constBegin()));
        QString text = s.markText(i);
        if (text.isEmpty()) continue;
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QRect box = metrics.boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft, text).adjusted(-3, -2, 3, 2);
        const QPoint at(s.pixelX(i), s.pixelY(i));
        box.moveBottomLeft(QPoint(at.x() - box.width() / 2, at.y() - 8));
        painter.setPen(Qt::black);
        painter.setBrush(QColor(255, 255, 225));
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, text);
        painter.drawLine(at, QPoint(at.x(), at.y() - 8));
    }
    painter.restore();
}

// ---------------------------------------------------------------------------------------------
// Bitmap and printer.

QWidget* ChartSurface::mouseArea() const { return plot_; }

QString ChartSurface::bottomAxisTitle() const { return plot_->xAxis->label(); }
QString ChartSurface::leftAxisTitle() const { return plot_->yAxis->label(); }

QByteArray ChartSurface::render(const QByteArray& format, QSize size) const {
    if (size.isEmpty()) size = plot_->size();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString title = titleLines_.join(QLatin1Char(' '));
    if (format == "SVG") {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        QCPPainter painter;
        if (!painter.begin(&svg)) return {};
        plot_->toPainter(&painter, size.width(), size.height());
        painter.end();
    } else if (format == "PDF") {
        // One page of exactly the picture's size, at the screen's 96 dots per inch.
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setTitle(title);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point, QString(), QPageSize::ExactMatch));
        QCPPainter painter;
        if (!painter.begin(&pdf)) return {};
        plot_->toPainter(&painter, size.width(), size.height());
        painter.end();
    } else if (format == "BMP" || format == "PNG") {
        if (!plot_->toPixmap(size.width(), size.height()).save(&buffer, format.constData())) return {};
    } else {
        return {};
    }
    return bytes;
}

void ChartSurface::setPrintMargins(int left, int top, int right, int bottom) {
    printMargins_ = {left, top, right, bottom};
}

bool ChartSurface::paintOnPrinter(QPrinter& printer, QPoint origin) {
    QCPPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.translate(origin);
    plot_->toPainter(&painter, plot_->width(), plot_->height());
    return painter.end();
}

}  // namespace orvelo::ui
