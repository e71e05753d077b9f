#include "ui/page_theory.h"

#include <QVBoxLayout>

#include "ui/chart_surface.h"

namespace orvelo::ui {
namespace {
constexpr int kTheoryMarkerSize = 4;  // a 5-pixel disc: the colour of a point can be seen
}  // namespace

PageTheory::PageTheory(TheoryKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    const bool ch = kind == TheoryKind::CH;
    setObjectName(ch ? QStringLiteral("TabSheet6") : QStringLiteral("TabSheet7"));
    chart = new ChartSurface(this);
    chart->setObjectName(ch ? QStringLiteral("Chart3") : QStringLiteral("Chart4"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart);

    const QColor theoryFill = ch ? QColor(0, 0, 128) : QColor(Qt::red);
    const QColor practiceFill = ch ? QColor(128, 0, 128) : QColor(Qt::green);
    theory = chart->addSeries(ch ? QStringLiteral("Series9") : QStringLiteral("Series12"),
                              {Qt::red, MarkerShape::Circle, kTheoryMarkerSize, theoryFill, theoryFill, 1});
    practice = chart->addSeries(ch ? QStringLiteral("Series10") : QStringLiteral("Series13"),
                                {QColor(0, 128, 0), MarkerShape::Circle, kTheoryMarkerSize, practiceFill, practiceFill, 1});
    theory->setMarkers(true);
    practice->setMarkers(true);
    practice->setMarks(true);  // marks follow HintyCHCF, on at start
    practice->setMarksClipped(ch);
    if (ch) practice->setPointCursor(Qt::PointingHandCursor);
    // Without a hover handler no point has a mark.
    practice->setMarkTextCallback([](int, const QString&) { return QString(); });
}

}  // namespace orvelo::ui
