#pragma once
// Single-peak processing ("Отдельный пик"): one peak of the last final run fitted again with
// the iteration log, and the selection that "Сохранить" writes.
#include <string>
#include <vector>

#include "core/spectrum_state.h"
#include "fitting/fit_window.h"
#include "fitting/peak_fit.h"
#include "fitting/peak_result.h"

namespace orvelo {

// What Button17 writes: the nominal mass of the fitted centre and the window's first and last
// sample index. `fitted` stays false until a single-peak fit has made it.
struct PeakSelection {
    double M = 0;  // a whole number (NominalMass)
    int first = 0;
    int last = 0;
    bool fitted = false;
};

struct SinglePeakFit {
    PeakInput input;
    FitOutcome outcome;                     // a problem peak counts one more in ProblemCount
    std::vector<std::string> log;           // ListBox9: six lines per completed step
    std::vector<std::string> problemLines;  // ListBox3: the report of a problem peak
    PeakSelection selection;
};

// Peak k of `peaks` (the list of the last final run, over finalExtrema) fitted again with
// the window and start values of the final run; PeakNumber = k + 1. Throws OrveloError when k
// or the peak's zone does not belong to the given lists.
SinglePeakFit FitSinglePeak(FitState& state, const FitSource& source, const PointList& finalExtrema,
                            const PeakResults& peaks, int k);

// True when the selection was made by a fit and first..last lie inside the spectrum.
bool SelectionFitsSpectrum(const PeakSelection& selection, const PointList& spectrum);

}  // namespace orvelo
