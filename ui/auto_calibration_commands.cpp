#include "ui/auto_calibration_commands.h"

#include "calibration/auto_calibration.h"
#include "ui/calibration_commands.h"
#include "ui/page_calibration_masses.h"
#include "ui/settings_store.h"

namespace orvelo::ui {
namespace {

const QString kToleranceKey = QStringLiteral("autoCalibration/toleranceMmu");
const QString kCurveKindKey = QStringLiteral("autoCalibration/parabola");

}  // namespace

AutoCalibrationCommands::AutoCalibrationCommands(CommandContext& context, CalibrationCommands& calibration,
                                                 SettingsStore& settings)
    : c_(context), calibration_(calibration), settings_(settings) {
    AutoCalibrationSettings remembered;
    remembered.toleranceMmu = settings_.value(kToleranceKey, kDefaultToleranceMmu).toDouble();
    remembered.kind = settings_.value(kCurveKindKey, false).toBool() ? CurveKind::Parabola : CurveKind::Line;
    c_.pages.calibrationMasses->showAutoSettings(remembered);
}

void AutoCalibrationCommands::ButtonAutoClick() { c_.run([this] { match(); }); }

void AutoCalibrationCommands::rememberTolerance(double mmu) { settings_.setValue(kToleranceKey, mmu); }

void AutoCalibrationCommands::rememberCurveKind(CurveKind kind) {
    settings_.setValue(kCurveKindKey, kind == CurveKind::Parabola);
}

void AutoCalibrationCommands::match() {
    PageCalibrationMasses& page = *c_.pages.calibrationMasses;
    const AutoCalibrationOutcome outcome =
        c_.session.AutoCalibrate(page.referenceChoice(), page.autoSettings(), page.peakLines());
    const ListChange& change = outcome.change;
    if (!change.changed()) {
        if (!change.message.empty()) c_.info(QString::fromStdString(change.message));
        return;
    }
    calibration_.showCalibList(-1);
    page.showAutoSummary(AutoCalibrationSummary(outcome.match));
}

}  // namespace orvelo::ui
