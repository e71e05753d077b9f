#include "ui/ion_masses_choice.h"

#include "ui/page_calibration_masses.h"
#include "ui/settings_store.h"

namespace orvelo::ui {
namespace {
const QString kIonMassesKey = QStringLiteral("calibration/ionMasses");
ReferenceMassKind KindOf(bool ions) { return ions ? ReferenceMassKind::Ion : ReferenceMassKind::Neutral; }
}  // namespace

IonMassesChoice::IonMassesChoice(CommandContext& context, PageCalibrationMasses& page, SettingsStore& settings)
    : c_(context), settings_(settings) {
    const bool ions = settings_.value(kIonMassesKey, false).toBool();
    page.setIonMasses(ions);
    c_.session.ChooseReferenceMasses(KindOf(ions));
}

void IonMassesChoice::CheckBoxIonsClick(bool ions) {
    c_.run([this, ions] { choose(ions); });
}

void IonMassesChoice::choose(bool ions) {
    settings_.setValue(kIonMassesKey, ions);
    if (const MassAssignment* assigned = c_.session.ChooseReferenceMasses(KindOf(ions)))
        emit massesReassigned(*assigned);
    emit chosen();
}

}  // namespace orvelo::ui
