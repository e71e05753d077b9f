#pragma once
// Everything the window keeps between commands that is not a widget: the spectrum state, the
// results of the last final run and the window-level flags. Owned by value by the main window
// and passed by reference to whoever needs a part of it. No Qt here.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calibration/calibration_curve.h"
#include "calibration/calibration_list.h"
#include "calibration/ion_masses.h"
#include "calibration/reference_masses.h"
#include "calibration/theory_series.h"
#include "core/ms_data_file.h"
#include "core/spectrum_state.h"
#include "fitting/peak_fit.h"
#include "fitting/peak_result.h"
#include "fitting/results_table.h"
#include "fitting/single_peak.h"

namespace orvelo::ui {

struct FinalRunState {
    PeakResults peaks;        // PeakResults of the last final run, in zone order
    std::vector<RowWarning> warnings;  // per peak: why its row of the table is marked
    double GaussPower = 2.0;  // 2: plain Gaussian, 8: flat-topped
    int ProblemCount = 0;
    int64_t RunStartTime = 0;  // milliseconds of the monotonic clock
    bool running = false;      // a worker is fitting zones
};

// The calibration and theory data (reference tables, the calibration list and curve, the
// points behind Series7, Series10 and Series13).
struct CalibrationState {
    CalibrationCurve curve;
    PointList points;            // Series7
    PracticeSeries practiceCH;   // Series10, with the peak of each point
    PracticeSeries practiceCF;   // Series13
    int HoverIndex = -1;
};

struct ProgramState {
    SpectrumState spectrum;
    FinalRunState run;
    FitState singlePeakFit;  // the fit state of single-peak processing
    PeakSelection singlePeak;
    ReferenceTables tables;
    CalibrationList calibrationList;
    CalibrationState calibration;
    SpectrumSource source;  // the file (and scan) the spectrum was loaded from
    std::optional<AppliedCalibration> appliedCalibration;  // set by "Пересчитать данные"
    // "ионы (минус масса электрона)": the reference tables, the saws and the calibration
    // use ion masses instead of the neutral ones.
    ReferenceMassKind ReferenceMasses = ReferenceMassKind::Neutral;

    // The spectrum in memory differs from its file ("Пересчитать данные" since the last load
    // or save): quitting or opening another file asks first.
    bool SpectrumUnsaved = false;

    bool Podskazka = true;   // guidance messages after the main steps
    bool HintyCHCF = true;   // hover marks on the CH and CF theory charts
    std::string StartPapka;  // start folder of the spectrum dialogs; empty before first use
    std::array<bool, kResultColumns> VyborStolbtsov{};  // columns of the HTML report

    std::string ImyaKompyutera;  // computer name, at most 15 characters
    bool NaServere1 = false;
    bool NaServere2 = false;
};

}  // namespace orvelo::ui
