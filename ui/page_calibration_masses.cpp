#include "ui/page_calibration_masses.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <initializer_list>
#include <utility>

#include "ui/digit_filter.h"
#include "ui/layout_rule.h"
#include "ui/widget_kit.h"
#include "ui/page_layout.h"

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
    Button14 =
        MakeButton(this, "Button14", QStringLiteral("Очистить список"), QRect(232, 432, 305, 65), ButtonLook::Plain,
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
    buildAutoCalibration();
    buildReferenceMasses();
    bind(CalibrationListCommand::TakePeak, Button1);
    bind(CalibrationListCommand::RemoveLine, Button3);
    bind(CalibrationListCommand::TypedMass, Button2);
    bind(CalibrationListCommand::StandardMass, Button8);
    bind(CalibrationListCommand::ClearList, Button14);
    bind(CalibrationListCommand::CreateCurve, Button15);
    bind(CalibrationListCommand::AutoCalibrate, ButtonAuto);

    const std::pair<QPushButton*, void (PageCalibrationMasses::*)()> requests[] = {
        {Button1, &PageCalibrationMasses::takePeakRequested},
        {Button3, &PageCalibrationMasses::removeLineRequested},
        {Button2, &PageCalibrationMasses::typedMassRequested},
        {Button8, &PageCalibrationMasses::standardMassRequested},
        {Button14, &PageCalibrationMasses::clearListRequested},
        {Button15, &PageCalibrationMasses::createCurveRequested},
        {ButtonAuto, &PageCalibrationMasses::autoCalibrateRequested}};
    for (const auto& [button, request] : requests) connect(button, &QPushButton::clicked, this, request);
    const std::initializer_list<QAbstractButton*> choices = {RadioButton1, RadioButton2, CheckBox1, CheckBox2,
                                                             CheckBox3,    CheckBox4,    CheckBox5};
    for (QAbstractButton* choice : choices)
        connect(choice, &QAbstractButton::clicked, this, &PageCalibrationMasses::referenceChoiceChanged);
    connect(CheckBoxIons, &QCheckBox::clicked, this, &PageCalibrationMasses::ionMassesToggled);
    connect(EditTolerance, &QDoubleSpinBox::valueChanged, this, &PageCalibrationMasses::toleranceChanged);
    connect(ComboCurveKind, &QComboBox::currentIndexChanged, this,
            [this](int index) { emit curveKindChanged(index == 1 ? CurveKind::Parabola : CurveKind::Line); });
}

// "Автоматический подбор" at the right of "Ввод вручную", under "Опорные массы".
void PageCalibrationMasses::buildAutoCalibration() {
    GroupAuto = MakeFrame(this, "GroupAuto", QStringLiteral("Автоматический подбор"), QRect(912, 112, 353, 265));
    MakeLabel(GroupAuto, "LabelTolerance", QStringLiteral("Допуск, mmu"), 16, 36, 16);
    EditTolerance = new QDoubleSpinBox(GroupAuto);
    EditTolerance->setObjectName(QStringLiteral("EditTolerance"));
    EditTolerance->setGeometry(176, 32, 161, 28);
    // The matcher's range, as orvelo-batch --tolerance checks it: above 0, below kMaxToleranceMmu.
    EditTolerance->setDecimals(1);
    EditTolerance->setRange(0.1, kMaxToleranceMmu - 0.1);
    QString rule = QString::fromStdString(ToleranceRule());
    rule[0] = rule[0].toUpper();
    EditTolerance->setToolTip(rule);
    MakeLabel(GroupAuto, "LabelCurveKind", QStringLiteral("Кривая"), 16, 72, 16);
    ComboCurveKind = new QComboBox(GroupAuto);
    ComboCurveKind->setObjectName(QStringLiteral("ComboCurveKind"));
    ComboCurveKind->setGeometry(176, 68, 161, 28);
    ComboCurveKind->addItems(
        {QString::fromUtf8(CurveKindName(CurveKind::Line)), QString::fromUtf8(CurveKindName(CurveKind::Parabola))});
    showAutoSettings(AutoCalibrationSettings{});
    ButtonAuto = MakeButton(GroupAuto, "ButtonAuto", QStringLiteral("Подобрать автоматически"), QRect(16, 108, 321, 49),
                            ButtonLook::Main,
                            QStringLiteral("Сопоставить стандартные массы с пиками и заполнить список "
                                           "\"Калибровочные массы\""));
    LabelAutoSummary = new QLabel(GroupAuto);
    LabelAutoSummary->setObjectName(QStringLiteral("LabelAutoSummary"));
    LabelAutoSummary->setGeometry(16, 164, 321, 105);
    LabelAutoSummary->setWordWrap(true);
    LabelAutoSummary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// "Опорные массы" in the top right corner.
void PageCalibrationMasses::buildReferenceMasses() {
    GroupReferenceMasses =
        MakeFrame(this, "GroupReferenceMasses", QStringLiteral("Опорные массы"), QRect(912, 8, 353, 97));
    CheckBoxIons = MakeCheck(GroupReferenceMasses, "CheckBoxIons", QString::fromUtf8(kIonMassesCaption), 16, 44);
    CheckBoxIons->setToolTip(
        QStringLiteral("Для спектров положительных ионов: стандартные массы CH и CF "
                       "без массы электрона 0.000548580 u"));
    QFont bold = CheckBoxIons->font();
    bold.setBold(true);
    CheckBoxIons->setFont(bold);
    CheckBoxIons->adjustSize();
}

void PageCalibrationMasses::clear() {
    for (QListWidget* list : {ListBox2, ListBox5, ListBox6}) list->clear();
    Edit1->clear();
    LabelAutoSummary->clear();
}

void PageCalibrationMasses::showPeaks(const std::vector<std::string>& massLines) { SetLines(ListBox5, massLines); }
std::vector<std::string> PageCalibrationMasses::peakLines() const { return ListLineStrings(ListBox5); }
int PageCalibrationMasses::chosenPeak() const { return ListBox5->currentRow(); }

void PageCalibrationMasses::showCalibrationList(const std::vector<std::string>& lines, int selectRow) {
    SetLines(ListBox6, lines);
    ListBox6->setCurrentRow(selectRow < ListBox6->count() ? selectRow : -1);
}

int PageCalibrationMasses::chosenListLine() const { return ListBox6->currentRow(); }

void PageCalibrationMasses::addDiagnostics(const std::vector<std::string>& lines) { AddLines(ListBox7, lines); }

std::string PageCalibrationMasses::typedMass() const { return Edit1->text().toStdString(); }

void PageCalibrationMasses::showStandardMasses(const std::vector<std::string>& lines) { SetLines(ListBox2, lines); }
std::vector<std::string> PageCalibrationMasses::standardMassLines() const { return ListLineStrings(ListBox2); }
int PageCalibrationMasses::chosenStandardMass() const { return ListBox2->currentRow(); }

// CH with the rows chosen by the first four check boxes ("все существующие" is not read), or CF.
ReferenceChoice PageCalibrationMasses::referenceChoice() const {
    ReferenceChoice choice;
    choice.cf = RadioButton2->isChecked();
    choice.ch = !choice.cf;
    choice.chFlags.kinds = {CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox3->isChecked()};
    choice.chFlags.fullList = CheckBox4->isChecked();
    return choice;
}

void PageCalibrationMasses::setIonMasses(bool ions) { CheckBoxIons->setChecked(ions); }

AutoCalibrationSettings PageCalibrationMasses::autoSettings() const {
    AutoCalibrationSettings settings;
    settings.toleranceMmu = EditTolerance->value();
    settings.kind = ComboCurveKind->currentIndex() == 1 ? CurveKind::Parabola : CurveKind::Line;
    return settings;
}

void PageCalibrationMasses::showAutoSettings(const AutoCalibrationSettings& settings) {
    EditTolerance->setValue(settings.toleranceMmu);
    ComboCurveKind->setCurrentIndex(settings.kind == CurveKind::Parabola ? 1 : 0);
}

void PageCalibrationMasses::showAutoSummary(const std::string& text) {
    LabelAutoSummary->setText(QString::fromStdString(text));
}

void PageCalibrationMasses::readLayout(LayoutBoxes& boxes) const {
    boxes.ListBox5 = BoxOf(ListBox5);
    boxes.GroupBox5 = BoxOf(GroupBox5);
    boxes.ListBox2 = BoxOf(ListBox2);
}

void PageCalibrationMasses::applyLayout(const LayoutBoxes& boxes) {
    Place(ListBox5, boxes.ListBox5);
    Place(GroupBox5, boxes.GroupBox5);
    Place(ListBox2, boxes.ListBox2);
}

}  // namespace orvelo::ui
