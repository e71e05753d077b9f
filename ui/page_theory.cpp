#include "ui/page_theory.h"

#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/chart_surface.h"

namespace orvelo::ui {
namespace {
constexpr int kTheoryMarkerSize = 4;  // a 5-pixel disc: the colour of a point can be seen
// Headroom above the highest point, as a share of the values' span: with the chart's own
// padding about a sixth of the plot's height, enough for a three-line mark above the top point
// on any usual window size.
constexpr double kMarkRoom = 0.15;
}  // namespace

PageTheory::PageTheory(TheoryKind kind, QWidget* parent) : QWidget(parent) {
    const bool ch = kind == TheoryKind::CH;
    setObjectName(ch ? QStringLiteral("TabSheet6") : QStringLiteral("TabSheet7"));
    chart_ = new ChartSurface(this);
    chart_->setObjectName(ch ? QStringLiteral("Chart3") : QStringLiteral("Chart4"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart_);
    chart_->setAxisTitles(QStringLiteral("номинальная масса"), QStringLiteral("дефект массы, mmu"));

    const QColor theoryFill = ch ? QColor(0, 0, 128) : QColor(Qt::red);
    const QColor practiceFill = ch ? QColor(128, 0, 128) : QColor(0, 128, 0);
    theory = chart_->addSeries(ch ? QStringLiteral("Series9") : QStringLiteral("Series12"),
                               {Qt::red, MarkerShape::Circle, kTheoryMarkerSize, theoryFill, theoryFill, 1});
    practice =
        chart_->addSeries(ch ? QStringLiteral("Series10") : QStringLiteral("Series13"),
                          {QColor(0, 128, 0), MarkerShape::Circle, kTheoryMarkerSize, practiceFill, practiceFill, 1});
    theory->setMarkers(true);
    practice->setMarkers(true);
    practice->setMarks(true);  // marks follow HintyCHCF, on at start
    practice->setMarksClipped(ch);
    if (ch) practice->setPointCursor(Qt::PointingHandCursor);
    // Without a hover handler no point has a mark.
    practice->setMarkTextCallback([](int, const QString&) { return QString(); });
    // Drawn in no colour: one point above the others keeps room for a mark at the top.
    markRoom = chart_->addSeries(QStringLiteral("MarkRoom"),
                                 {Qt::transparent, MarkerShape::Circle, 1, Qt::transparent, std::nullopt, 0});
    connect(chart_, &ChartSurface::mouseMoved, this, &PageTheory::mouseMoved);
}

void PageTheory::showSaws(const PointList& theoryPoints, const PointList& practicePoints) {
    theory->setPoints(theoryPoints.x, theoryPoints.y);
    practice->setPoints(practicePoints.x, practicePoints.y);
}

namespace {
PointList PointsOf(const ChartSeries& series) {
    PointList points;
    for (int i = 0; i < series.count(); ++i) {
        points.x.push_back(series.x(i));
        points.y.push_back(series.y(i));
    }
    return points;
}
}  // namespace

PointList PageTheory::theoryPoints() const { return PointsOf(*theory); }
PointList PageTheory::practicePoints() const { return PointsOf(*practice); }
void PageTheory::setMarksShown(bool on) { practice->setMarks(on); }

void PageTheory::setHoverText(HoverTextFn text) {
    practice->setMarkTextCallback([text = std::move(text)](int index, const QString&) { return text(index); });
}

int PageTheory::pointUnderMouse() const { return practice->pointUnderMouse(); }

void PageTheory::clear() {
    for (ChartSeries* s : {theory, practice, markRoom}) s->clear();
}

void PageTheory::makeRoomForMarks() {
    markRoom->clear();
    bool any = false;
    double low = 0, high = 0, x = 0;
    for (const ChartSeries* s : {theory, practice})
        for (int i = 0; i < s->count(); ++i) {
            if (!any) x = s->x(i);
            low = any ? std::min(low, s->y(i)) : s->y(i);
            high = any ? std::max(high, s->y(i)) : s->y(i);
            any = true;
        }
    if (!any) return;
    const double span = high > low ? high - low : std::max(std::abs(high), 1.0);
    markRoom->addPoint(x, high + span * kMarkRoom);
}

}  // namespace orvelo::ui
