#include "ui/page_calibration_masses.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "ui/digit_filter.h"
#include "ui/layout_rule.h"
#include "ui/widget_kit.h"

namespace orvelo::ui {
namespace {
QRect Place(const Box& b) { return QRect(b.left, b.top, b.width, b.height); }
}  // namespace

PageCalibrationMasses::PageCalibrationMasses(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet4"));
    const LayoutBoxes design = DesignLayout();
    Label13 = MakeSectionLabel(this, "Label13", QStringLiteral("Все массы"), 16, 16);
    ListBox5 = MakeList(this, "ListBox5", Place(design.ListBox5));
    Button1 = MakeButton(this, "Button1", QStringLiteral(">>"), QRect(184, 40, 41, 41), ButtonLook::Main);
    Button3 = MakeButton(this, "Button3", QStringLiteral("<<"), QRect(184, 96, 41, 41));
    Label12 = MakeSectionLabel(this, "Label12", QStringLiteral("Калибровочные массы"), 232, 16);
    ListBox6 = MakeList(this, "ListBox6", QRect(232, 40, 305, 313));
    Button15 = MakeButton(this, "Button15", QStringLiteral("Создать кривую"), QRect(232, 360, 305, 65),
                          ButtonLook::Main, QStringLiteral("Создать калибровочную кривую"));
    Button14 = MakeButton(this, "Button14", QStringLiteral("Очистить список"), QRect(232, 432, 305, 65),
                          ButtonLook::Plain,
                          QStringLiteral("Если Вы ошиблись в выборе масс, то нажмите, чтобы очистить "
                                         "список \"Калибровочные массы\""));
    ListBox7 = MakeList(this, "ListBox7", QRect(232, 520, 249, 145));
    ListBox7->setVisible(false);

    GroupBox4 = MakeFrame(this, "GroupBox4", QStringLiteral("Ввод вручную"), QRect(552, 8, 345, 97));
    Button2 = MakeButton(GroupBox4, "Button2", QStringLiteral("<<"), QRect(16, 40, 41, 41), ButtonLook::Main);
    Edit1 = MakeEdit(GroupBox4, "Edit1", QString(), QRect(64, 40, 265, 32));
    Edit1->installEventFilter(new DigitFilter(Edit1));

    GroupBox5 = MakeFrame(this, "GroupBox5", QStringLiteral("Стандартные массы"), Place(design.GroupBox5));
    RadioButton1 = MakeRadio(GroupBox5, "RadioButton1", QStringLiteral("CH"), 16, 32, true);
    RadioButton2 = MakeRadio(GroupBox5, "RadioButton2", QStringLiteral("CF"), 16, 64);
    CheckBox1 = MakeCheck(GroupBox5, "CheckBox1", QStringLiteral("молекулярные"), 88, 32, true);
    CheckBox2 = MakeCheck(GroupBox5, "CheckBox2", QStringLiteral("с одним отщеплённым"), 88, 64);
    CheckBox3 = MakeCheck(GroupBox5, "CheckBox3", QStringLiteral("с двумя отщеплёнными"), 88, 96);
    CheckBox4 = MakeCheck(GroupBox5, "CheckBox4", QStringLiteral("полный список"), 88, 128);
    CheckBox5 = MakeCheck(GroupBox5, "CheckBox5", QStringLiteral("все существующие"), 88, 160);
    Button8 = MakeButton(GroupBox5, "Button8", QStringLiteral("<<"), QRect(16, 168, 41, 41), ButtonLook::Main);
    ListBox2 = MakeList(GroupBox5, "ListBox2", Place(design.ListBox2));
    bind(CalibrationListCommand::TakePeak, Button1);
    bind(CalibrationListCommand::RemoveLine, Button3);
    bind(CalibrationListCommand::TypedMass, Button2);
    bind(CalibrationListCommand::StandardMass, Button8);
    bind(CalibrationListCommand::ClearList, Button14);
    bind(CalibrationListCommand::CreateCurve, Button15);
}

void PageCalibrationMasses::clear() {
    for (QListWidget* list : {ListBox2, ListBox5, ListBox6}) list->clear();
    Edit1->clear();
}

ListFlags ListFlagsOf(const PageCalibrationMasses& page) {
    ListFlags flags;
    flags.kinds = {page.CheckBox1->isChecked(), page.CheckBox2->isChecked(), page.CheckBox3->isChecked()};
    flags.fullList = page.CheckBox4->isChecked();
    return flags;
}

}  // namespace orvelo::ui
