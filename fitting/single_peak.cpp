#include "fitting/single_peak.h"

#include <cmath>

#include "core/errors.h"
#include "fitting/results_table.h"

namespace orvelo {

SinglePeakFit FitSinglePeak(FitState& state, const FitSource& source, const PointList& finalExtrema,
                            const PeakResults& peaks, int k) {
    if (k < 0 || k >= static_cast<int>(peaks.size()))
        throw OrveloError("Пик " + std::to_string(k + 1) + " отсутствует в результатах обработки");
    const double zone = std::floor(peaks[k].ZoneIndex);
    if (!(zone >= 0 && zone + 2 < finalExtrema.count()))
        throw OrveloError("Зона пика " + std::to_string(k + 1) + " отсутствует в списке экстремумов");
    const int j = static_cast<int>(zone);

    SinglePeakFit fit;
    fit.input = source.Input(finalExtrema.x[j], finalExtrema.x[j + 2]);
    state.PeakNumber = k + 1;
    fit.outcome = FitPeak(state, source, fit.input, {&fit.log, &fit.problemLines});
    fit.selection.M = NominalMass(fit.outcome.result.Centre);
    fit.selection.first = fit.input.window.first;
    fit.selection.last = fit.input.window.last;
    fit.selection.fitted = true;
    return fit;
}

bool SelectionFitsSpectrum(const PeakSelection& selection, const PointList& spectrum) {
    return selection.fitted && selection.first >= 0 && selection.first <= selection.last &&
           selection.last < spectrum.count();
}

}  // namespace orvelo
