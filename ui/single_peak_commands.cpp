#include "ui/single_peak_commands.h"

#include "core/errors.h"
#include "core/spectrum_file.h"
#include "core/number_text.h"
#include "fitting/fitted_curve.h"
#include "fitting/single_peak.h"
#include "ui/dialogs.h"
#include "ui/page_single_peak.h"

namespace orvelo::ui {
SinglePeakCommands::SinglePeakCommands(CommandContext& context, PageSinglePeak& page) : c_(context), page_(page) {}

void SinglePeakCommands::ListBox8Click() {
    c_.run([this] { c_.flags.workflow.markPeakChosen(); });
}
void SinglePeakCommands::Button16Click() {
    c_.run([this] { fitChosenPeak(); });
}
void SinglePeakCommands::Button17Click() {
    c_.run([this] { saveChosenPeak(); });
}

// The fit reads the zones and the power the last final run left, so it gives the log of
// exactly the fit that produced the table row.
void SinglePeakCommands::fitChosenPeak() {
    const int k = page_.chosenPeak();
    if (k < 0) return;
    page_.showLog({});
    const SinglePeakFit fit = c_.session.FitSinglePeak(k);
    page_.showLog(fit.log);
    emit problemLines(fit.problemLines);
    showFit(fit);
    c_.flags.workflow.markPeakFitted();
}

void SinglePeakCommands::showPeaks(const std::vector<std::string>& massLines) { page_.showPeaks(massLines); }

// The window's samples and, unless the fit failed, the fitted curve over the zone.
void SinglePeakCommands::showFit(const SinglePeakFit& fit) {
    const PointList& spectrum = c_.session.state().spectrum.Spectrum;
    const PeakSelection& sel = fit.selection;
    std::vector<double> sx, sy;
    for (int i = std::max(sel.first, 0); i <= sel.last && i < static_cast<int>(spectrum.x.size()); ++i) {
        sx.push_back(spectrum.x[static_cast<std::size_t>(i)]);
        sy.push_back(spectrum.y[static_cast<std::size_t>(i)]);
    }
    PointList curve;
    if (!fit.outcome.problem()) curve = FittedCurves({fit.outcome.result}, c_.session.state().run.GaussPower);
    const QString title =
        QStringLiteral("Пик %1").arg(QString::fromStdString(FormatFixed(fit.outcome.result.Centre, 6)));
    page_.showFit(title, sx, sy, curve.x, curve.y);
}

// Only a selection made by a fit on the spectrum now loaded is written.
void SinglePeakCommands::saveChosenPeak() {
    const PeakSelection& sel = c_.session.state().singlePeak;
    if (!SelectionFitsSpectrum(sel, c_.session.state().spectrum.Spectrum))
        throw OrveloError("Сначала обработайте пик кнопкой \"Обработать\"");
    const auto name =
        c_.files.saveFile({QStringLiteral("Сохранить отдельный пик"), QString::fromStdString(PeakFileName(sel.M)),
                           QString::fromStdString(c_.flags.StartPapka), QString::fromUtf8(kTextFilter)});
    if (name) WritePeakFile(name->toStdString(), c_.session.state().spectrum, sel.M, sel.first, sel.last);
}

}  // namespace orvelo::ui
