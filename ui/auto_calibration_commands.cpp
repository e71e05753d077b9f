#include "ui/auto_calibration_commands.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "calibration/auto_calibration.h"
#include "ui/availability.h"
#include "ui/calibration_commands.h"
#include "ui/page_calibration_masses.h"
#include "ui/settings_store.h"
#include "ui/widget_kit.h"

namespace orvelo::ui {
namespace {

const QString kToleranceKey = QStringLiteral("autoCalibration/toleranceMmu");
const QString kCurveKindKey = QStringLiteral("autoCalibration/parabola");

// The ions listed under "Стандартные массы": CH rows as its check boxes choose them, or CF.
ReferenceChoice ChoiceOf(const PageCalibrationMasses& page) {
    ReferenceChoice choice;
    choice.cf = page.RadioButton2->isChecked();
    choice.ch = !choice.cf;
    choice.chFlags = ListFlagsOf(page);
    return choice;
}

}  // namespace

AutoCalibrationCommands::AutoCalibrationCommands(CommandContext& context, CalibrationCommands& calibration,
                                                 SettingsStore& settings)
    : c_(context), calibration_(calibration), settings_(settings) {
    PageCalibrationMasses& page = *c_.pages.calibrationMasses;
    GroupAuto = MakeFrame(&page, "GroupAuto", QStringLiteral("Автоматический подбор"), QRect(912, 112, 353, 265));
    MakeLabel(GroupAuto, "LabelTolerance", QStringLiteral("Допуск, mmu"), 16, 36, 16);
    EditTolerance = new QDoubleSpinBox(GroupAuto);
    EditTolerance->setObjectName(QStringLiteral("EditTolerance"));
    EditTolerance->setGeometry(176, 32, 161, 28);
    EditTolerance->setRange(1, 1000);
    EditTolerance->setDecimals(1);
    EditTolerance->setValue(settings_.value(kToleranceKey, kDefaultToleranceMmu).toDouble());
    MakeLabel(GroupAuto, "LabelCurveKind", QStringLiteral("Кривая"), 16, 72, 16);
    ComboCurveKind = new QComboBox(GroupAuto);
    ComboCurveKind->setObjectName(QStringLiteral("ComboCurveKind"));
    ComboCurveKind->setGeometry(176, 68, 161, 28);
    ComboCurveKind->addItems({QString::fromUtf8(CurveKindName(CurveKind::Line)),
                              QString::fromUtf8(CurveKindName(CurveKind::Parabola))});
    ComboCurveKind->setCurrentIndex(settings_.value(kCurveKindKey, false).toBool() ? 1 : 0);
    ButtonAuto = MakeButton(GroupAuto, "ButtonAuto", QStringLiteral("Подобрать автоматически"),
                            QRect(16, 108, 321, 49), ButtonLook::Main,
                            QStringLiteral("Сопоставить стандартные массы с пиками и заполнить список "
                                           "\"Калибровочные массы\""));
    LabelAutoSummary = new QLabel(GroupAuto);
    LabelAutoSummary->setObjectName(QStringLiteral("LabelAutoSummary"));
    LabelAutoSummary->setGeometry(16, 164, 321, 105);
    LabelAutoSummary->setWordWrap(true);
    LabelAutoSummary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FollowListOpen(ButtonAuto, c_.pages);

    connect(ButtonAuto, &QPushButton::clicked, this, [this] { ButtonAutoClick(); });
    // Each setting is remembered on its own change, alone.
    connect(EditTolerance, &QDoubleSpinBox::valueChanged, this,
            [this](double mmu) { settings_.setValue(kToleranceKey, mmu); });
    connect(ComboCurveKind, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings_.setValue(kCurveKindKey, index == 1); });
    c_.clearHooks.push_back([this](ClearMode) { LabelAutoSummary->clear(); });
}

void AutoCalibrationCommands::ButtonAutoClick() { c_.run([this] { Match(); }); }

void AutoCalibrationCommands::Match() {
    PageCalibrationMasses& page = *c_.pages.calibrationMasses;
    AutoCalibrationSettings settings;
    settings.toleranceMmu = EditTolerance->value();
    settings.kind = ComboCurveKind->currentIndex() == 1 ? CurveKind::Parabola : CurveKind::Line;
    const AutoCalibration result =
        MatchReferences(c_.state.run.peaks, ReferenceIons(c_.state.tables, ChoiceOf(page)), settings);
    const ListChange change = FillCalibrationList(result, ListLineStrings(page.ListBox5), c_.state.calibrationList);
    if (!change.changed()) {
        if (!change.message.empty()) c_.info(QString::fromStdString(change.message));
        return;
    }
    calibration_.ShowCalibList(-1);
    LabelAutoSummary->setText(QString::fromStdString(AutoCalibrationSummary(result)));
}

}  // namespace orvelo::ui
