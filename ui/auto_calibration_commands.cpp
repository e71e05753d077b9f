#include "ui/auto_calibration_commands.h"

#include "calibration/auto_calibration.h"
#include "ui/page_calibration_masses.h"
#include "ui/settings_store.h"

namespace orvelo::ui {
namespace {

const QString kToleranceKey = QStringLiteral("autoCalibration/toleranceMmu");
const QString kCurveKindKey = QStringLiteral("autoCalibration/parabola");

}  // namespace

AutoCalibrationCommands::AutoCalibrationCommands(CommandContext& context, PageCalibrationMasses& page,
                                                 SettingsStore& settings)
    : c_(context), page_(page), settings_(settings) {
    AutoCalibrationSettings remembered;
    bool number = false;
    const double tolerance = settings_.value(kToleranceKey, kDefaultToleranceMmu).toDouble(&number);
    if (number && ToleranceAccepted(tolerance)) remembered.toleranceMmu = tolerance;
    remembered.kind = settings_.value(kCurveKindKey, false).toBool() ? CurveKind::Parabola : CurveKind::Line;
    page_.showAutoSettings(remembered);
}

void AutoCalibrationCommands::ButtonAutoClick() {
    c_.run([this] { match(); });
}

void AutoCalibrationCommands::rememberTolerance(double mmu) { settings_.setValue(kToleranceKey, mmu); }

void AutoCalibrationCommands::rememberCurveKind(CurveKind kind) {
    settings_.setValue(kCurveKindKey, kind == CurveKind::Parabola);
}

void AutoCalibrationCommands::match() {
    PageCalibrationMasses& page = page_;
    const AutoCalibrationOutcome outcome =
        c_.session.AutoCalibrate(page.referenceChoice(), page.autoSettings(), page.peakLines());
    const ListChange& change = outcome.change;
    if (!change.changed()) {
        if (!change.message.empty()) c_.info(QString::fromStdString(change.message));
        return;
    }
    page.showCalibrationList(c_.session.state().calibrationList.lines(), -1);
    page.showAutoSummary(AutoCalibrationSummary(outcome.match));
}

}  // namespace orvelo::ui
