#include "ui/ion_masses_choice.h"

#include <QCheckBox>
#include <QGroupBox>

#include "ui/calibration_commands.h"
#include "ui/final_run.h"
#include "ui/page_calibration_masses.h"
#include "ui/settings_store.h"
#include "ui/widget_kit.h"

namespace orvelo::ui {
namespace {
const QString kIonMassesKey = QStringLiteral("calibration/ionMasses");
}  // namespace

IonMassesChoice::IonMassesChoice(CommandContext& context, FinalRunCommands& finalRun,
                                 CalibrationCommands& calibration, SettingsStore& settings)
    : c_(context), finalRun_(finalRun), calibration_(calibration), settings_(settings) {
    QGroupBox* frame = MakeFrame(c_.pages.calibrationMasses, "GroupReferenceMasses",
                                 QStringLiteral("Опорные массы"), QRect(912, 8, 353, 97));
    CheckBoxIons = MakeCheck(frame, "CheckBoxIons", QString::fromUtf8(kIonMassesCaption), 16, 44);
    CheckBoxIons->setToolTip(QStringLiteral("Для спектров положительных ионов: стандартные массы CH и CF "
                                            "без массы электрона 0.000548580 u"));
    QFont bold = CheckBoxIons->font();
    bold.setBold(true);
    CheckBoxIons->setFont(bold);
    CheckBoxIons->adjustSize();
    const bool ions = settings_.value(kIonMassesKey, false).toBool();
    CheckBoxIons->setChecked(ions);
    c_.state.ReferenceMasses = ions ? ReferenceMassKind::Ion : ReferenceMassKind::Neutral;
    connect(CheckBoxIons, &QCheckBox::clicked, this, [this] { c_.run([this] { CheckBoxIonsClick(); }); });
}

void IonMassesChoice::CheckBoxIonsClick() {
    const bool ions = CheckBoxIons->isChecked();
    settings_.setValue(kIonMassesKey, ions);
    c_.state.ReferenceMasses = ions ? ReferenceMassKind::Ion : ReferenceMassKind::Neutral;
    finalRun_.ShowTheoryAndTables();
    calibration_.ReFill();
}

}  // namespace orvelo::ui
