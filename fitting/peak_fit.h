#pragma once
// The peak fit (Mnk): a Gauss-Newton least-squares fit of one peak zone of the loaded spectrum.
//
// Model, for a sample at mass x:
//
//     F(x) = A + B * exp(-t^n),    u = D / x - 1,    t = K * C * u
//
//   A  background under the peak                        (intensity)
//   B  amplitude of the peak above the background       (intensity)
//   C  resolving power R: centre / full width at half height (dimensionless)
//   D  peak centre                                      (mass)
//   n  GaussPower: 2 for the plain Gaussian, 8 for the flat-topped shape. t^n and t^(n-1) are
//      integer powers (exponents floor(n) and floor(n) - 1), so they are defined for t < 0,
//      which is the high-mass side of the centre.
//
// Each step builds the normal equations M * delta = -g from the window's samples
// (M[j][k] = sum dF/dp_j * dF/dp_k, g[j] = sum r_i * dF/dp_j, r_i = F(x_i) - y_i) and solves
// them by Cramer's rule with 3x3 and 4x4 determinants.
//
// Results are reproducible to the last bit: every product and quotient is evaluated left to
// right in the order its formula is written here, every sum is added in sample order starting
// from 0, integer powers use IntPower, and the build never contracts to fused multiply-add.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "fitting/fit_window.h"
#include "fitting/peak_result.h"
#include "fitting/step_sums.h"

namespace orvelo {

// Determinant of a 3x3 matrix, row-major m0..m8:
// m0 m4 m8 + m1 m5 m6 + m2 m3 m7 - m2 m4 m6 - m1 m3 m8 - m0 m5 m7.
double Det3(const std::array<double, 9>& m);
// (-1)^(a+b) * Det3 of M without row a and column b.
double Cofactor(const Matrix4& M, int a, int b);
// Expansion along the first column: sum over k of Cofactor(M, k, 0) * M[k][0], from 0.
double Det4(const Matrix4& M);
// The first four rows of M with row k replaced by the right-hand side row M[4]; k = 4 gives
// the first four rows unchanged.
Matrix4 ReplaceRow(const NormalMatrix& M, int k);

inline constexpr int kMaxFitSteps = 10000;
// A step reads nothing but the four parameters the previous step left, so once they repeat
// bit for bit the fit runs in a cycle: everything a step yields (parameters, errors, S, s^2,
// the settled test, its log lines) repeats with the cycle's period p. A fit that cycles
// without converging skips a whole number of periods towards kMaxFitSteps and computes only
// the last steps (fewer than p, at least one), with the same result as every step computed.
// Repeats are found by Brent's method, which keeps one earlier parameter set.
// A step whose four increments are all below this (absolute, strict) ends the fit.
inline constexpr double kFitTolerance = 1e-8;
// What a problem peak is given in place of fitted values (D stays the start value D0).
inline constexpr double kProblemA = 0.0;
inline constexpr double kProblemB = 1.0;
inline constexpr double kProblemC = 1000.0;
// A window needs more samples than parameters: the residual variance divides by N - 4.
inline constexpr int kMinFitSamples = 5;

// How a fit stopped.
enum class FitStop {
    Converged,       // all four |increments| < kFitTolerance on the same step
    StepCap,         // kMaxFitSteps steps without converging; the last values are kept
    Singular,        // a diagonal cofactor or the determinant of M was exactly 0: problem peak
    NotFinite,       // a step produced an infinity or NaN (overflow): problem peak
    UnusableWindow,  // fewer than kMinFitSamples samples, or none above zero: problem peak
};

// A fit stopped by the step cap has settled when every last increment is below this fraction
// of its parameter's magnitude: for values like B = 1e8 or R = 1e5 the absolute tolerance lies
// below the rounding of a double, so such fits reach the cap although they no longer move.
inline constexpr double kSettledRelativeStep = 1e-9;
// |increment k| <= kSettledRelativeStep * |parameter k| for all four.
bool SettledIncrements(const Params& increments, const Params& parameters);

inline bool IsProblemStop(FitStop s) {
    return s == FitStop::Singular || s == FitStop::NotFinite || s == FitStop::UnusableWindow;
}

// The working state of one fit. One instance per concurrently running fit; FitPeak overwrites
// everything except PeakNumber, which the caller sets (1-based zone number for the reports).
struct FitState {
    Params P{};        // current parameters; right after a solve, the increments
    Params start{};    // A0, B0, C0, D0
    NormalMatrix M{};  // normal matrix, fifth row g
    double det = 0;    // Det4(M)
    Params d{};        // det / Cofactor(M, k, k) = 1 / (M^-1)kk
    double S = 0;      // residual sum of the step
    double s2 = 0;     // S / (N - 4)
    Params e{};        // standard errors of A, B, C, D
    bool singular = false;
    int FitIterations = 0;  // completed steps of the current fit
    int PeakNumber = 0;
};

// Where a fit writes its texts; a null list is not written.
struct FitLog {
    std::vector<std::string>* iterations = nullptr;  // six lines per completed step (ListBox9)
    std::vector<std::string>* problems = nullptr;    // the 14-line problem report (ListBox3)
};

struct FitOutcome {
    FitStop stop = FitStop::Converged;
    // Left, Right, Centre, R, Height, Background, Errors, StdErr, Iter, S, N; ZoneIndex is the
    // caller's. A problem peak has Centre D0, R 1000, Background A0, Height exactly 1.0 and
    // zero errors, StdErr and S.
    PeakResult result;
    // StepCap only: the last step changed no parameter beyond kSettledRelativeStep of it.
    bool settled = false;

    bool problem() const { return IsProblemStop(stop); }
};

// Fits the zone described by `input` (PeakInput of the final run) on source.spectrum().
// Start values: A0 = Fon, B0 = V - Fon, C0 = EstimateR(V, Left, Center), D0 = Center; they are
// computed (and reported) for an unusable window too, and only an empty window takes C0 = 1000.
FitOutcome FitPeak(FitState& state, const FitSource& source, const PeakInput& input, FitLog log = {});
// The same with another way of gathering the sums of a step (results must not change).
// jumpCycles = false computes every step literally (tests and benchmarks compare the two).
FitOutcome FitPeakWith(FitState& state, const FitSource& source, const PeakInput& input, FitLog log, StepSums& sums,
                       bool jumpCycles = true);

// The texts of the fit, numbers in the general number form.
// "Итерация № 3", "A = 5,  0.01", "B = ...", "C = ...", "D = ...", "".
std::vector<std::string> IterationLines(int step, const Params& P, const Params& e);
inline constexpr std::size_t kIterationLineCount = 6;  // the lines IterationLines gives a step
std::string IterationHead(int step);                   // "Итерация № 3", the first of them
// "<PeakNumber> пик", "<FitIterations> итерация", "Начальные параметры", "A0 = ..." .. "D0 = ...",
// "Текущие параметры", "A = ..." .. "D = ...", "", "".
std::vector<std::string> ProblemReportLines(int peakNumber, int fitIterations, const Params& start,
                                            const Params& current);

}  // namespace orvelo
