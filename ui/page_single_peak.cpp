#include "ui/page_single_peak.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QEvent>
#include <algorithm>

#include "ui/chart_surface.h"
#include "ui/layout_rule.h"
#include "ui/widget_kit.h"
#include "ui/page_layout.h"

namespace orvelo::ui {

PageSinglePeak::PageSinglePeak(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet8"));
    const LayoutBoxes design = DesignLayout();
    Button16 = MakeButton(this, "Button16", QStringLiteral("Обработать"), QRect(24, 16, 240, 49), ButtonLook::Main);
    Button17 = MakeButton(this, "Button17", QStringLiteral("Сохранить"), QRect(280, 16, 240, 49), ButtonLook::Main,
                          QStringLiteral("Сохранить пик"));
    Label14 = MakeSectionLabel(this, "Label14", QStringLiteral("Все массы"), 32, 80);
    const Box& l8 = design.ListBox8;
    ListBox8 = MakeList(this, "ListBox8", QRect(l8.left, l8.top, l8.width, l8.height));
    Label15 = MakeSectionLabel(this, "Label15", QStringLiteral("Параметры для каждой итерации"), 216, 80);
    const Box& l9 = design.ListBox9;
    ListBox9 = MakeList(this, "ListBox9", QRect(l9.left, l9.top, l9.width, l9.height));

    ChartPeak = new ChartSurface(this);
    ChartPeak->setObjectName(QStringLiteral("ChartPeak"));
    ChartPeak->setPanelColour(Qt::lightGray);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(16);
    ChartPeak->setTitleFont(title, Qt::blue);
    ChartPeak->setAxisTitles(QStringLiteral("m/z"), QStringLiteral("Интенсивность"));
    PeakSamples = ChartPeak->addSeries(QStringLiteral("PeakSamples"),
                                       {Qt::black, MarkerShape::Circle, 3, Qt::black, QColor(Qt::black), 1});
    PeakCurve =
        ChartPeak->addSeries(QStringLiteral("PeakCurve"), {Qt::red, MarkerShape::Square, 1, Qt::red, std::nullopt, 1});
    PeakSamples->setMarkers(true);
    ListBox9->installEventFilter(this);
    bind(SinglePeakCommand::Fit, Button16);
    bind(SinglePeakCommand::Save, Button17);
    bind(SinglePeakCommand::PeakList, ListBox8);
    connect(ListBox8, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) emit peakChosen();
    });
    connect(ListBox8, &QListWidget::itemClicked, this, &PageSinglePeak::peakChosen);
    connect(Button16, &QPushButton::clicked, this, &PageSinglePeak::fitRequested);
    connect(Button17, &QPushButton::clicked, this, &PageSinglePeak::saveRequested);
}

void PageSinglePeak::showPeaks(const std::vector<std::string>& massLines) { SetLines(ListBox8, massLines); }
int PageSinglePeak::chosenPeak() const { return ListBox8->currentRow(); }
void PageSinglePeak::showLog(const std::vector<std::string>& lines) { SetLines(ListBox9, lines); }

void PageSinglePeak::clear() {
    ListBox8->clear();
    ListBox9->clear();
    clearFit();
}

// The layout rule gives ListBox9 the page's width; on a page with room for both, the list and
// the chart share it (the list never below its design width, 441), the chart on the right,
// 16 pixels apart and as high as the list. A narrower page shows the list alone.
void PageSinglePeak::placeChart() {
    constexpr int kGap = 16, kMargin = 20, kListWidth = 441, kLeastChart = 300;
    QRect list = ListBox9->geometry();
    const int room = width() - list.left() - kMargin;  // what the rule gives the list
    if (room < kListWidth + kGap + kLeastChart) {
        ChartPeak->hide();
        return;
    }
    const int listWidth = std::max(kListWidth, (room - kGap) / 2);
    if (list.width() != listWidth) {
        list.setWidth(listWidth);
        ListBox9->setGeometry(list);
    }
    ChartPeak->setGeometry(list.right() + 1 + kGap, list.top(), room - listWidth - kGap, list.height());
    ChartPeak->show();
}

void PageSinglePeak::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChart();
}

// The window's layout rule may set the list's size after any page's resize.
bool PageSinglePeak::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox9 && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) placeChart();
    return QWidget::eventFilter(watched, event);
}

void PageSinglePeak::showFit(const QString& title, const std::vector<double>& sx, const std::vector<double>& sy,
                             const std::vector<double>& cx, const std::vector<double>& cy) {
    ChartPeak->clearTitle();
    ChartPeak->addTitleLine(title);
    ChartPeak->undoZoom();
    PeakSamples->setPoints(sx, sy);
    PeakCurve->setPoints(cx, cy);
}

void PageSinglePeak::clearFit() {
    ChartPeak->clearTitle();
    PeakSamples->clear();
    PeakCurve->clear();
}

void PageSinglePeak::readLayout(LayoutBoxes& boxes) const {
    boxes.ListBox8 = BoxOf(ListBox8);
    boxes.ListBox9 = BoxOf(ListBox9);
}

void PageSinglePeak::applyLayout(const LayoutBoxes& boxes) {
    Place(ListBox8, boxes.ListBox8);
    Place(ListBox9, boxes.ListBox9);
}

}  // namespace orvelo::ui
