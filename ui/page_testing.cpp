#include "ui/page_testing.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "ui/layout_rule.h"
#include "ui/widget_kit.h"
#include "ui/page_layout.h"

namespace orvelo::ui {

PageTesting::PageTesting(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet9"));
    const LayoutBoxes design = DesignLayout();
    const QString dash = QStringLiteral("-");
    Label10 = MakeLabel(this, "Label10", QStringLiteral("Всего пиков ="), 16, 8);
    Label11 = MakeLabel(this, "Label11", dash, 152, 8, 19, Qt::red);
    Label3 = MakeLabel(this, "Label3", QStringLiteral("Проблемных пиков ="), 15, 39);
    Label4 = MakeLabel(this, "Label4", dash, 210, 39, 19, Qt::red);
    Label1 = MakeLabel(this, "Label1", QStringLiteral("Время вычислений (мс) ="), 295, 8);
    Label2 = MakeLabel(this, "Label2", dash, 527, 8, 19, Qt::red);
    // A value starts at least 8 pixels right of its caption, however wide the font draws it.
    for (auto [caption, value] : {std::pair{Label10, Label11}, std::pair{Label3, Label4}, std::pair{Label1, Label2}})
        value->move(std::max(value->x(), caption->geometry().right() + 8), value->y());
    Label8 = MakeSectionLabel(this, "Label8", QStringLiteral("Проблемные пики"), 16, 80);
    const Box& l3 = design.ListBox3;
    ListBox3 = MakeList(this, "ListBox3", QRect(l3.left, l3.top, l3.width, l3.height));
    Label16 = MakeSectionLabel(this, "Label16", QStringLiteral("Массив пиков"), 296, 80);
    const Box& l4 = design.ListBox4;
    ListBox4 = MakeList(this, "ListBox4", QRect(l4.left, l4.top, l4.width, l4.height));
    Button7 = MakeButton(this, "Button7", QStringLiteral("Op44"), QRect(296, 40, 75, 25));
    Button10 = MakeButton(this, "Button10", QStringLiteral("Dopolnenie"), QRect(384, 40, 75, 25));
    Button7->setVisible(false);
    Button10->setVisible(false);
    connect(Button7, &QPushButton::clicked, this, &PageTesting::op44Requested);
    connect(Button10, &QPushButton::clicked, this, &PageTesting::dopolnenieRequested);
}

void PageTesting::addZoneLines(const std::vector<std::string>& lines, const std::vector<std::string>& problemLines) {
    AddLines(ListBox4, lines);
    AddLines(ListBox3, problemLines);
}

void PageTesting::clearLines() {
    ListBox3->clear();
    ListBox4->clear();
}

void PageTesting::showCounters(long long elapsedMs, std::size_t peaks, int problems) {
    setCounter(Label2, QString::number(elapsedMs));
    setCounter(Label11, QString::number(peaks));
    setCounter(Label4, QString::number(problems));
}

void PageTesting::clear() {
    clearLines();
    setCounter(Label2, QStringLiteral("-"));
    setCounter(Label4, QStringLiteral("-"));
}

void PageTesting::setCounter(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

void PageTesting::readLayout(LayoutBoxes& boxes) const {
    boxes.ListBox3 = BoxOf(ListBox3);
    boxes.ListBox4 = BoxOf(ListBox4);
}

void PageTesting::applyLayout(const LayoutBoxes& boxes) {
    Place(ListBox3, boxes.ListBox3);
    Place(ListBox4, boxes.ListBox4);
}

}  // namespace orvelo::ui
