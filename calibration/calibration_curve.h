#pragma once
// The calibration curve as a model: the deviation of the true from the measured mass, in mmu,
//     dev(x) = CalibA x^2 + CalibB x + CalibC       (x the measured mass),
// and its application to a mass axis, x -> x + dev(x) / 1000. The parabola is fitted by the
// iterative least squares of Mnk_parabola below; the line needs no iteration (see the workflow).
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/calibration_curve.h"
#include "core/spectrum_state.h"

namespace orvelo {

// Button5Click: every mass of the list is corrected in place; the intensities stay.
void ApplyCalibration(const CalibrationCurve& curve, PointList& spectrum);

// A corrected spectrum must still be a spectrum: every corrected mass finite, positive and
// below kLargestCorrectedMass, and rising wherever the masses rise (equal masses stay equal).
// Two points with one true mass (a constant axis), a true mass of 0 or 1E35, swapped true
// masses (a mirrored axis) break it. The message names the problem and a mass where it shows;
// nothing when the curve may be applied. REQUIRES: spectrum masses in ascending order.
std::optional<std::string> CalibrationRefusal(const CalibrationCurve& curve, const PointList& spectrum);
// Rising means each corrected step is at least this share of the uncorrected step between the
// same two masses: a constant axis (two points with one true mass) rises only by rounding noise,
// while real curves change steps by parts per million.
inline constexpr double kSmallestMassScale = 1e-3;
// "%.5f" of a smaller mass fits the 21 characters the reader allows a number.
inline constexpr double kLargestCorrectedMass = 1e15;

// --- Mnk_parabola: least-squares parabola through (CalibX[i], CalibY[i]), i = FitFirst..FitLast.

struct ParabolaFitData {
    std::vector<double> CalibX;
    std::vector<double> CalibY;
    int FitFirst = 0;
    int FitLast = -1;
};
ParabolaFitData ParabolaFitDataOf(const PointList& points);

// Terms of point i: k = 0, 1, 2 are x^2, x, 1; k = 3 is the residual dev(x) - y of the
// estimate; any other k is 0.
double ParabolaTerm(const ParabolaFitData& d, const CalibrationCurve& estimate, int k, int i);
// Sum over the fit range of ParabolaTerm(p, i) * ParabolaTerm(q, i).
double ParabolaSum(const ParabolaFitData& d, const CalibrationCurve& estimate, int p, int q);

using Matrix3 = std::array<std::array<double, 3>, 3>;
double SarrusDeterminant(const Matrix3& m);

// The system counts as singular when its determinant is zero, not finite, or so small against
// the product of the diagonal (an upper bound of |det| for these normal equations) that it is
// within a few roundings of that product: three masses too close together for a parabola
// (100, 101, 102 still fit; 500, 501, 502 do not). Steps of a system just above the bound are
// inexact but the iteration refines them, and the step bound catches the rest.
inline constexpr double kSingularRelativeDeterminant = 1e-14;

struct ParabolaStepResult {
    bool singular = false;
    std::array<double, 3> delta{};  // corrections of CalibA, CalibB, CalibC
};
// One Gauss-Newton step: normal equations M delta = -R, solved by Cramer's rule.
ParabolaStepResult ParabolaStep(const ParabolaFitData& d, const CalibrationCurve& estimate);

inline constexpr double kParabolaTolerance = 0.01;  // every |correction| below it ends the fit
inline constexpr int kMaxParabolaSteps = 100;

enum class ParabolaStop {
    Converged,  // all three |corrections| of the last step < kParabolaTolerance
    Singular,   // a step met a singular system; `curve` is the estimate before that step
    StepLimit,  // maxSteps steps without converging; `curve` is the last estimate
};

struct ParabolaFitSummary {
    ParabolaStop stop = ParabolaStop::Converged;
    int steps = 0;
    CalibrationCurve curve;
};

// The model is linear in its coefficients, so the first step reaches the least-squares parabola
// and the second, with corrections near zero, ends the fit.
ParabolaFitSummary FitParabola(const ParabolaFitData& d, double a0, double b0, double c0,
                               int maxSteps = kMaxParabolaSteps);

}  // namespace orvelo
