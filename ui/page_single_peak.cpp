#include "ui/page_single_peak.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "ui/layout_rule.h"
#include "ui/widget_kit.h"

namespace orvelo::ui {

PageSinglePeak::PageSinglePeak(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet8"));
    const LayoutBoxes design = DesignLayout();
    Button16 = MakeButton(this, "Button16", QStringLiteral("Обработать"), QRect(24, 16, 240, 49), ButtonLook::Main);
    Button17 = MakeButton(this, "Button17", QStringLiteral("Сохранить"), QRect(280, 16, 240, 49),
                          ButtonLook::Main, QStringLiteral("Сохранить пик"));
    Label14 = MakeSectionLabel(this, "Label14", QStringLiteral("Все массы"), 32, 80);
    const Box& l8 = design.ListBox8;
    ListBox8 = MakeList(this, "ListBox8", QRect(l8.left, l8.top, l8.width, l8.height));
    Label15 = MakeSectionLabel(this, "Label15", QStringLiteral("Параметры для каждой итерации"), 216, 80);
    const Box& l9 = design.ListBox9;
    ListBox9 = MakeList(this, "ListBox9", QRect(l9.left, l9.top, l9.width, l9.height));
}

}  // namespace orvelo::ui
