#include "ui/page_spectrum.h"

#include <QVBoxLayout>

#include "ui/chart_surface.h"
#include "ui/peak_labels.h"

namespace orvelo::ui {

PageSpectrum::PageSpectrum(const PeakResults& peaks, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    Chart1 = new ChartSurface(this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Chart1);

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(23);
    Chart1->setTitleFont(title, Qt::blue);
    Chart1->addTitleLine(QStringLiteral("Спектр"));
    Chart1->setPanelColour(Qt::lightGray);
    Chart1->setValueAxisMinimum(0);
    Chart1->setAxisTitles(QStringLiteral("m/z"), QStringLiteral("Интенсивность"));

    Series1 =
        Chart1->addSeries(QStringLiteral("Series1"), {Qt::black, MarkerShape::Circle, 2, Qt::blue, std::nullopt, 1});
    Series2 = Chart1->addSeries(QStringLiteral("Series2"),
                                {Qt::green, MarkerShape::Circle, 3, Qt::green, QColor(Qt::green), 3});
    Series3 = Chart1->addSeries(QStringLiteral("Series3"),
                                {Qt::yellow, MarkerShape::Diamond, 3, Qt::black, QColor(Qt::yellow), 1});
    Series4 = Chart1->addSeries(QStringLiteral("Series4"),
                                {Qt::blue, MarkerShape::Square, 2, Qt::black, QColor(Qt::blue), 1});
    Series5 = Chart1->addSeries(QStringLiteral("Series5"),
                                {Qt::white, MarkerShape::Square, 2, Qt::black, QColor(Qt::white), 1});
    Series6 = Chart1->addSeries(QStringLiteral("Series6"),
                                {Qt::red, MarkerShape::Square, 1, Qt::black, QColor(Qt::black), 1});
    Series16 =
        Chart1->addSeries(QStringLiteral("Series16"), {Qt::red, MarkerShape::Circle, 3, Qt::black, QColor(Qt::red), 1});
    // By default the stages are filled but not drawn (their View entries are unchecked).
    for (ChartSeries* s : {Series2, Series3, Series4, Series5, Series16}) s->setShown(false);
    labels_ = std::make_unique<PeakLabels>(*Chart1, *Series6, peaks);
}

PageSpectrum::~PageSpectrum() = default;

ChartSeries& PageSpectrum::series(SpectrumLayer layer) const {
    switch (layer) {
        case SpectrumLayer::Spectrum: return *Series1;
        case SpectrumLayer::Smooth: return *Series2;
        case SpectrumLayer::Extrema: return *Series3;
        case SpectrumLayer::Trimmed: return *Series4;
        case SpectrumLayer::PeakValley: return *Series5;
        case SpectrumLayer::FittedPeaks: return *Series6;
        case SpectrumLayer::FinalExtrema:
        case SpectrumLayer::Count: break;
    }
    return *Series16;
}

void PageSpectrum::showSpectrum(const PointList& points, bool markers) {
    Series1->setMarkers(markers);
    Series1->setPoints(points.x, points.y);
    Chart1->undoZoom();
}

void PageSpectrum::showLayer(SpectrumLayer layer, const PointList& points, LayerView view,
                             const std::vector<int>& starts) {
    ChartSeries& s = series(layer);
    s.setMarkers(view.markers);
    s.setShown(view.shown);
    if (starts.empty()) s.setPoints(points.x, points.y);
    else s.setPieces(points.x, points.y, starts);
}

void PageSpectrum::toggleShown(SpectrumLayer layer) {
    ChartSeries& s = series(layer);
    s.setShown(!s.shown());
}

void PageSpectrum::toggleMarkers(SpectrumLayer layer) {
    ChartSeries& s = series(layer);
    s.setMarkers(!s.markers());
}

void PageSpectrum::setPeakLabelsShown(bool on) { labels_->setShown(on); }

void PageSpectrum::clear(ClearMode mode) {
    if (mode == ClearMode::NewSpectrum) Series1->clear();
    for (ChartSeries* s : {Series2, Series3, Series4, Series5, Series6, Series16}) s->clear();
}

}  // namespace orvelo::ui
