#pragma once
// The calibration workflow of the pages "Калибровочные массы" and "Калибровочная кривая":
// calibration points from the finished list (ProverkaZapol / KalibrLine), the line or parabola
// through them, the sampled curve for the chart, and the guidance texts. The window keeps the
// points (Series7), the samples (Series8) and the curve, and calls these with them.
//
// How the window uses it:
//   Button15: r = ProverkaZapol(list, peaks, series7); if !r.ok() show r.message; otherwise
//             ListBox7 += list.ShowIndexLines(), freeze the list buttons, enable Button6 and
//             Button4 only if CanFitLine(series7) / CanFitParabola(series7), guidance if on.
//   Button6 / Button4: f = PodobratParabolaLine(series7) / PodobratParabola(series7); if ok,
//             curve = f.curve, Series8 = f.samples, enable Button5; else show f.message.
//   Button5:  ApplyCalibration(curve, state.Spectrum), reset, redraw, kRecalculatedMessage.
#include <string>

#include "calibration/calibration_curve.h"
#include "calibration/calibration_list.h"
#include "core/spectrum_state.h"
#include "fitting/peak_result.h"

namespace orvelo {

inline constexpr const char* kMissingTrueMassesMessage = "Вы не для всех масс задали истинные массы";
inline constexpr const char* kEmptyCalibListMessage =
    "Калибровочный список пуст: занесите пики и задайте их истинные массы";
inline constexpr const char* kLineNeedsTwoMassesMessage =
    "Для линии нужны хотя бы две калибровочные точки с разными массами";
inline constexpr const char* kParabolaNeedsThreeMassesMessage =
    "Для параболы нужны хотя бы три калибровочные точки с разными массами";
inline constexpr const char* kParabolaSingularMessage =
    "Система уравнений параболы вырождена (массы точек слишком близки): парабола не подобрана";

// Guidance texts (shown while Podskazka is on); '\r' is the program's line break in messages.
inline constexpr const char* kPointsCreatedGuidance =
    "Калибровочная линия создана\r\rЕсли Вы хотите заново ввести калибровочные массы,\r"
    "то нажмите кнопку \"Очистить список\"";
inline constexpr const char* kCurveFittedGuidance = "Теперь Вы должны нажать кнопку \"Пересчитать данные\"";
inline constexpr const char* kRecalculatedMessage = "Пересчёт произведён";

// "Строка 3: '1.2.3' не является числом" (lines counted from 1).
std::string NotANumberLineMessage(int line, std::string_view text);
// "Парабола не подобрана: исчерпан предел числа шагов (100)".
std::string ParabolaStepLimitMessage(int steps);

enum class CurveOutcome {
    Done,
    MissingTrueMasses,  // kMissingTrueMassesMessage
    EmptyList,          // kEmptyCalibListMessage
    NotANumber,         // NotANumberLineMessage
    TooFewPoints,       // kLineNeedsTwoMassesMessage / kParabolaNeedsThreeMassesMessage
    Singular,           // kParabolaSingularMessage
    StepLimit,          // ParabolaStepLimitMessage
};

struct CurveResult {
    CurveOutcome outcome = CurveOutcome::Done;
    std::string message;  // empty for Done

    bool ok() const { return outcome == CurveOutcome::Done; }
};

// One point per line: x = Centre of peak CalibIndex[i], y = (true - x) * 1000 mmu, the true mass
// read back from the line text. All or nothing: on a refusal `points` is left empty.
// Throws OrveloError when a line refers to a peak that is not in `peaks`.
CurveResult KalibrLine(const CalibrationList& list, const PeakResults& peaks, PointList& points);

// Button15 ("Создать кривую"): checks the list and adds its points to `series7`, kept in
// ascending x (pressing it again adds them once more: the curve then holds each point twice). On a refusal
// `series7` is unchanged and the list must stay editable.
CurveResult ProverkaZapol(const CalibrationList& list, const PeakResults& peaks, PointList& series7);

// REQUIRES: points in ascending x (as ProverkaZapol keeps them).
int DistinctMassCount(const PointList& points);
bool CanFitLine(const PointList& points);      // two points at different masses
bool CanFitParabola(const PointList& points);  // three different masses

struct CurveFit {
    CurveResult result;
    CalibrationCurve curve;  // meaningful only when result.ok()
    PointList samples;       // Series8
    int steps = 0;           // parabola steps taken
};

// Button6: the line through the first and the last point (the outer masses); CalibA = 0 and
// Series8 holds just those two points. Points between them do not count.
CurveFit PodobratParabolaLine(const PointList& points);
// Button4: least-squares parabola, started from the line through the outer points; Series8 the
// curve sampled every 0.01 from the first to the last mass.
CurveFit PodobratParabola(const PointList& points, int maxSteps = kMaxParabolaSteps);

// x = first + k/100 for k = 0 .. 100000 while x <= last: at most 100001 samples (1000 mass
// units); a wider span is cut there, the coefficients still cover all of it.
inline constexpr int kMaxCurveSamples = 100001;
PointList SampleCurve(const CalibrationCurve& curve, double first, double last);

}  // namespace orvelo
