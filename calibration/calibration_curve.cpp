#include "calibration/calibration_curve.h"

#include <cmath>

#include "core/number_text.h"

namespace orvelo {

void ApplyCalibration(const CalibrationCurve& curve, PointList& spectrum) {
    for (double& x : spectrum.x) x = curve.Corrected(x);
}

std::optional<std::string> CalibrationRefusal(const CalibrationCurve& curve, const PointList& spectrum) {
    const std::string refused = "Калибровка не применена: ";
    auto moves = [](double from, double to) {
        return "масса " + FormatGeneral(from) + " переходит в " + FormatGeneral(to);
    };
    double previous = 0;
    for (std::size_t i = 0; i < spectrum.x.size(); ++i) {
        const double x = spectrum.x[i];
        const double corrected = curve.Corrected(x);
        if (!std::isfinite(corrected))
            return refused + "исправленная масса не является конечным числом (масса " + FormatGeneral(x) + ")";
        if (!(corrected > 0))
            return refused + "исправленные массы должны быть положительными (" + moves(x, corrected) + ")";
        if (corrected >= kLargestCorrectedMass)
            return refused + "исправленная масса слишком велика для файла спектра (" + moves(x, corrected) + ")";
        const double step = x - (i > 0 ? spectrum.x[i - 1] : x);
        if (step > 0 && !(corrected > previous))
            return refused + "исправленные массы должны возрастать, как исходные (" +
                   moves(spectrum.x[i - 1], previous) + ", " + moves(x, corrected) + ")";
        if (step > 0 && !(corrected - previous > step * kSmallestMassScale))
            return refused + "исправленные массы растут слишком медленно (" + moves(spectrum.x[i - 1], previous) +
                   ", " + moves(x, corrected) + "): шаг " + FormatGeneral(step) + " сжимается до " +
                   FormatGeneral(corrected - previous) + ", а сжимать шаг масс можно не более чем в " +
                   FormatGeneral(1 / kSmallestMassScale) + " раз";
        previous = corrected;
    }
    return std::nullopt;
}

ParabolaFitData ParabolaFitDataOf(const PointList& points) {
    ParabolaFitData d;
    d.CalibX = points.x;
    d.CalibY = points.y;
    d.FitFirst = 0;
    d.FitLast = points.count() - 1;
    return d;
}

double ParabolaTerm(const ParabolaFitData& d, const CalibrationCurve& estimate, int k, int i) {
    const double x = d.CalibX[static_cast<std::size_t>(i)];
    switch (k) {
        case 0: return x * x;
        case 1: return x;
        case 2: return 1.0;
        case 3: return estimate.DeviationMmu(x) - d.CalibY[static_cast<std::size_t>(i)];
        default: return 0.0;
    }
}

double ParabolaSum(const ParabolaFitData& d, const CalibrationCurve& estimate, int p, int q) {
    double sum = 0;
    for (int i = d.FitFirst; i <= d.FitLast; ++i)
        sum += ParabolaTerm(d, estimate, p, i) * ParabolaTerm(d, estimate, q, i);
    return sum;
}

double SarrusDeterminant(const Matrix3& m) {
    return m[0][0] * m[1][1] * m[2][2] + m[0][1] * m[1][2] * m[2][0] + m[0][2] * m[1][0] * m[2][1] -
           m[0][2] * m[1][1] * m[2][0] - m[0][0] * m[1][2] * m[2][1] - m[0][1] * m[1][0] * m[2][2];
}

namespace {

bool IsSingular(const Matrix3& m, double det) {
    if (!std::isfinite(det) || det == 0) return true;
    const double bound = std::fabs(m[0][0] * m[1][1] * m[2][2]);
    return std::fabs(det) <= kSingularRelativeDeterminant * bound;
}

}  // namespace

ParabolaStepResult ParabolaStep(const ParabolaFitData& d, const CalibrationCurve& estimate) {
    Matrix3 m{};
    std::array<double, 3> r{};
    for (int q = 0; q < 3; ++q) {
        for (int p = 0; p < 3; ++p) m[p][q] = ParabolaSum(d, estimate, p, q);
        r[q] = ParabolaSum(d, estimate, 3, q);
    }
    ParabolaStepResult step;
    const double det = SarrusDeterminant(m);
    if (IsSingular(m, det)) {
        step.singular = true;
        return step;
    }
    // Cramer's rule; M is symmetric, so replacing row k is replacing column k.
    for (int k = 0; k < 3; ++k) {
        Matrix3 mk = m;
        mk[k] = r;
        step.delta[k] = -SarrusDeterminant(mk) / det;
        if (!std::isfinite(step.delta[k])) step.singular = true;
    }
    return step;
}

ParabolaFitSummary FitParabola(const ParabolaFitData& d, double a0, double b0, double c0, int maxSteps) {
    ParabolaFitSummary summary;
    summary.curve = CalibrationCurve{a0, b0, c0};
    while (summary.steps < maxSteps) {
        const ParabolaStepResult step = ParabolaStep(d, summary.curve);
        if (step.singular) {
            summary.stop = ParabolaStop::Singular;
            return summary;
        }
        ++summary.steps;
        summary.curve.CalibA += step.delta[0];
        summary.curve.CalibB += step.delta[1];
        summary.curve.CalibC += step.delta[2];
        if (std::fabs(step.delta[0]) < kParabolaTolerance && std::fabs(step.delta[1]) < kParabolaTolerance &&
            std::fabs(step.delta[2]) < kParabolaTolerance) {
            summary.stop = ParabolaStop::Converged;
            return summary;
        }
    }
    summary.stop = ParabolaStop::StepLimit;
    return summary;
}

}  // namespace orvelo
