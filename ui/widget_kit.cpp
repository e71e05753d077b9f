#include "ui/widget_kit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace orvelo::ui {
namespace {

QFont PixelFont(int pixelSize, bool bold = false) {
    QFont f;
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// The colour of an enabled control; a disabled one keeps the toolkit's greyed text, so that it
// looks disabled.
void SetTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            p.setColor(group, role, colour);
    w->setPalette(p);
}

}  // namespace

QLabel* MakeSectionLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    QLabel* label = MakeLabel(parent, name, text, left, top, 16, QColor(0, 128, 0));
    label->setFont(PixelFont(16, true));
    label->adjustSize();
    return label;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int pixelSize,
                  const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(PixelFont(pixelSize));
    SetTextColour(label, colour);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& place, ButtonLook look,
                        const QString& hint) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(PixelFont(19, look == ButtonLook::Main));
    if (look == ButtonLook::Main) SetTextColour(button, Qt::red);
    button->setGeometry(place);
    button->setToolTip(hint);
    return button;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFont(PixelFont(19));
    edit->setGeometry(place);
    return edit;
}

QListWidget* MakeList(QWidget* parent, const char* name, const QRect& place) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(PixelFont(16, true));
    list->setUniformItemSizes(true);
    list->setTextElideMode(Qt::ElideNone);  // a line wider than the list scrolls, it is not cut
    list->setStyleSheet(QStringLiteral("QListWidget::item { height: 20px; }"));
    list->setGeometry(place);
    return list;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, int left, int top, bool checked) {
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setFont(PixelFont(16));
    radio->setChecked(checked);
    radio->move(left, top);
    radio->adjustSize();
    return radio;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text, int left, int top, bool checked) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(PixelFont(16));
    box->setChecked(checked);
    box->move(left, top);
    box->adjustSize();
    return box;
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& text, const QRect& place,
                     const QColor& captionColour, int pixelSize) {
    auto* frame = new QGroupBox(text, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFont(PixelFont(pixelSize, true));
    SetTextColour(frame, captionColour);
    frame->setGeometry(place);
    return frame;
}

QStringList ListLines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

std::vector<std::string> ListLineStrings(const QListWidget* list) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i) lines.push_back(list->item(i)->text().toStdString());
    return lines;
}

void AddLines(QListWidget* list, const std::vector<std::string>& lines) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& l : lines) items << QString::fromStdString(l);
    list->addItems(items);
}

void SetLines(QListWidget* list, const std::vector<std::string>& lines) {
    list->clear();
    AddLines(list, lines);
}

}  // namespace orvelo::ui
