#include "ui/page_settings.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "ui/chart_surface.h"
#include "ui/layout_rule.h"
#include "ui/widget_kit.h"
#include "ui/page_layout.h"

namespace orvelo::ui {

PageSettings::PageSettings(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet3"));
    // The controls stand on an area that scrolls when the page is smaller than they need (the
    // frame "Гаусс" ends at 1057 pixels); on a larger page the area fills it.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    area_ = new QWidget;
    area_->setObjectName(QStringLiteral("TabSheet3Area"));
    area_->setMinimumSize(1077, 420);
    scroll->setWidget(area_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    const LayoutBoxes design = DesignLayout();
    Label7 = MakeSectionLabel(area_, "Label7", QStringLiteral("Высоты зон пиков"), 24, 16);
    const Box& l1 = design.ListBox1;
    ListBox1 = MakeList(area_, "ListBox1", QRect(l1.left, l1.top, l1.width, l1.height));
    ListBox1->setUniformItemSizes(false);  // lines of every width scroll into view
    ListBox1->setLayoutMode(QListView::Batched);
    ListBox1->setToolTip(QStringLiteral("первое число - высота зоны пика\rвторое число - центр зоны")
                             .replace(QLatin1Char('\r'), QLatin1Char('\n')));

    Label5 = MakeSectionLabel(area_, "Label5", QStringLiteral("KolUsred"), 312, 32);
    Edit2 = MakeEdit(area_, "Edit2", QStringLiteral("150"), QRect(408, 32, 113, 32));
    Label6 = MakeSectionLabel(area_, "Label6", QStringLiteral("KrivoMn"), 312, 66);
    Edit3 = MakeEdit(area_, "Edit3", QStringLiteral("10"), QRect(408, 66, 113, 32));
    Button9 = MakeButton(area_, "Button9", QStringLiteral("Предварительная"), QRect(552, 32, 225, 65), ButtonLook::Main,
                         QStringLiteral("Предварительная обработка"));
    Button13 = MakeButton(area_, "Button13", QStringLiteral("Последняя"), QRect(552, 120, 225, 65), ButtonLook::Main,
                          QStringLiteral("Последняя обработка"));
    BitBtn1 = MakeButton(area_, "BitBtn1", QStringLiteral(">>"), QRect(232, 128, 57, 57));
    Label9 = MakeSectionLabel(area_, "Label9", QStringLiteral("Первый не помеховый пик"), 304, 128);
    Edit4 = MakeEdit(area_, "Edit4", QString(), QRect(304, 152, 161, 32));
    AutoHeightButton = MakeButton(area_, "AutoHeightButton", QStringLiteral("Авто"), QRect(471, 152, 66, 32),
                                  ButtonLook::Plain, QStringLiteral("Предложить высоту по шуму спектра"));

    RadioGroup1 =
        MakeFrame(area_, "RadioGroup1", QStringLiteral("Гаусс"), QRect(808, 32, 249, 113), QColor(0, 128, 0), 19);
    // The radio buttons lie over the frame but belong to the page.
    RadioButton3 = MakeRadio(area_, "RadioButton3", QStringLiteral("Обычный"), 824, 72, true);
    RadioButton4 = MakeRadio(area_, "RadioButton4", QStringLiteral("С плоской вершиной"), 824, 104);
    RadioButton3->raise();
    RadioButton4->raise();
    auto* group = new QButtonGroup(this);
    group->addButton(RadioButton3);
    group->addButton(RadioButton4);

    Chart5 = new ChartSurface(area_);
    Chart5->setObjectName(QStringLiteral("Chart5"));
    const Box& c5 = design.Chart5;
    Chart5->setGeometry(c5.left, c5.top, c5.width, c5.height);
    Chart5->setMouseZoomEnabled(false);
    Chart5->setAxisTitles(QStringLiteral("m/z"), QStringLiteral("Интенсивность"));
    Chart5->setPlotAreaColour(QColor(0xC0, 0xC0, 0xC0));  // the white valley/peak line shows on silver
    Series14 =
        Chart5->addSeries(QStringLiteral("Series14"), {Qt::red, MarkerShape::Circle, 2, Qt::black, QColor(Qt::red), 1});
    Series15 = Chart5->addSeries(QStringLiteral("Series15"),
                                 {Qt::white, MarkerShape::Circle, 2, Qt::black, QColor(Qt::white), 1});
    Series14->setMarkers(true);
    Series15->setMarkers(true);
    bind(SettingsCommand::Preliminary, Button9);
    bind(SettingsCommand::FinalRun, Button13);
    bind(SettingsCommand::TakeHeight, BitBtn1);
    bind(SettingsCommand::AutoHeight, AutoHeightButton);
    bind(SettingsCommand::ZoneList, ListBox1);
    Series15->setAfterDrawCallback([this](ChartCanvas& canvas) { drawMarker(canvas); });

    connect(Button9, &QPushButton::clicked, this, &PageSettings::preliminaryRequested);
    connect(Button13, &QPushButton::clicked, this, &PageSettings::finalRunRequested);
    connect(BitBtn1, &QPushButton::clicked, this, &PageSettings::takeHeightRequested);
    connect(AutoHeightButton, &QPushButton::clicked, this, &PageSettings::autoHeightRequested);
    // Both only show what the chosen line says, so a click that also moves the line does no harm.
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) emit zoneChosen();
    });
    connect(ListBox1, &QListWidget::itemClicked, this, &PageSettings::zoneChosen);
    connect(RadioButton4, &QRadioButton::toggled, this,
            [this](bool flat) { emit gaussShapeChanged(flat ? GaussShape::FlatTop : GaussShape::Ordinary); });
}

QString PageSettings::kolUsredText() const { return Edit2->text(); }
QString PageSettings::krivoMnText() const { return Edit3->text(); }
QString PageSettings::thresholdText() const { return Edit4->text(); }
void PageSettings::setThresholdText(const QString& text) { Edit4->setText(text); }

GaussShape PageSettings::gaussShape() const {
    return RadioButton3->isChecked() ? GaussShape::Ordinary : GaussShape::FlatTop;
}

void PageSettings::setGaussShape(GaussShape shape) {
    (shape == GaussShape::Ordinary ? RadioButton3 : RadioButton4)->setChecked(true);
}

void PageSettings::showZones(const std::vector<std::string>& lines) { SetLines(ListBox1, lines); }
int PageSettings::chosenZone() const { return ListBox1->currentRow(); }

QString PageSettings::chosenZoneLine() const {
    const QListWidgetItem* item = ListBox1->currentItem();
    return item ? item->text() : QString();
}

void PageSettings::showZone(const ZoneView& view) {
    markerIndex_ = view.markerIndex;
    Series14->setPoints(view.window.x, view.window.y);
    Series15->setPoints(view.peakValley.x, view.peakValley.y);
}

void PageSettings::clearZone() {
    markerIndex_ = -1;
    Series14->clear();
    Series15->clear();
}

// A black triangle pointing down at the zone's maximum, its tip 10 pixels above it.
void PageSettings::drawMarker(ChartCanvas& canvas) const {
    const int i = markerIndex_;
    if (i < 0 || i >= Series14->count()) return;
    const int x = Series14->pixelX(i), y = Series14->pixelY(i);
    canvas.setFillColor(Qt::black);
    canvas.setOutlineColor(Qt::black);
    canvas.drawPolygon(QPolygon({QPoint(x, y - 10), QPoint(x + 7, y - 30), QPoint(x - 7, y - 30)}));
}

void PageSettings::showSettings(int kolUsred, double krivoMn) {
    Edit2->setText(QString::number(kolUsred));
    Edit3->setText(QString::fromStdString(FormatGeneral(krivoMn)));
}

void PageSettings::clear(ClearMode mode) {
    ListBox1->clear();
    if (mode != ClearMode::FinalRun) clearZone();
}

void PageSettings::readLayout(LayoutBoxes& boxes) const {
    boxes.ListBox1 = BoxOf(ListBox1);
    boxes.Chart5 = BoxOf(Chart5);
}

void PageSettings::applyLayout(const LayoutBoxes& boxes) {
    Place(ListBox1, boxes.ListBox1);
    Place(Chart5, boxes.Chart5);
}

}  // namespace orvelo::ui
