#pragma once
// The check of a fitted calibration: the curve's equation and, per calibration point, how far
// the true mass lay from the measured one before the curve and how far it lies after it.
//
//   Поправка, mmu = 1.5E-5·M^2 + 0.1·M - 2.5          (M the measured mass)
//   М изм      М ист      До, mmu   После, mmu
//   43.05000   43.05481   4.81      0.02
//
// The window shows CheckCalibration(Series7, curve) beside the chart; the command-line program
// writes CalibrationCheckLines into calibration-check.txt. Every text is Windows-1251-safe.
#include <string>
#include <vector>

#include "calibration/calibration_curve.h"
#include "core/spectrum_state.h"

namespace orvelo {

enum class CurveKind { Line, Parabola };

// "Линия" or "Парабола".
const char* CurveKindName(CurveKind kind);

// "Поправка, mmu = 0.1·M + 0.5" for a line (CalibA left out), with the x^2 term for a
// parabola. Coefficients in 7 significant digits, a negative one after " - ".
std::string CurveEquationText(const CalibrationCurve& curve, CurveKind kind);

struct CheckRow {
    double measured = 0;   // М изм
    double trueMass = 0;   // М ист = measured + before / 1000
    double beforeMmu = 0;  // true - measured
    double afterMmu = 0;   // true - corrected: before minus the curve's correction
};

struct CalibrationCheck {
    std::string equation;
    std::vector<CheckRow> rows;  // in the order of the points
    double rmsBeforeMmu = 0;
    double rmsAfterMmu = 0;  // the RMS of the residuals
};

// sqrt(sum v^2 / n); 0 for no values.
double RootMeanSquare(const std::vector<double>& values);

// From the calibration points (x measured mass, y deviation in mmu, as Series7 holds them).
CalibrationCheck CheckCalibration(const PointList& points, const CalibrationCurve& curve, CurveKind kind);

// The cells of one row: "%.5f" masses, "%.2f" deviations.
std::vector<std::string> CheckRowCells(const CheckRow& row);
inline constexpr const char* kCheckHeads[4] = {"М изм", "М ист", "До, mmu", "После, mmu"};
// "СКО остатков, mmu = 0.12 (до кривой 31.40)".
std::string CheckRmsLine(const CalibrationCheck& check);

// The file: the curve kind, `massesLine` (which true masses; left out when empty), the
// equation, the tab-separated table with its heads, the RMS line.
std::vector<std::string> CalibrationCheckLines(const CalibrationCheck& check, CurveKind kind,
                                               const std::string& massesLine);

}  // namespace orvelo
