#include "calibration/calibration_workflow.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/errors.h"

namespace orvelo {

std::string NotANumberLineMessage(int line, std::string_view text) {
    return "Строка " + std::to_string(line) + ": '" + std::string(text) + "' не является числом";
}

std::string ParabolaStepLimitMessage(int steps) {
    return "Парабола не подобрана: исчерпан предел числа шагов (" + std::to_string(steps) + ")";
}

namespace {

CurveResult Refused(CurveOutcome outcome, std::string message) { return CurveResult{outcome, std::move(message)}; }

// Appends `added` and restores ascending x; points of equal mass keep their order.
void MergeSorted(PointList& series, const PointList& added) {
    PointList all = series;
    for (int i = 0; i < added.count(); ++i) all.push(added.x[i], added.y[i]);
    std::vector<std::size_t> order(all.x.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return all.x[a] < all.x[b]; });
    PointList sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) sorted.push(all.x[i], all.y[i]);
    series = std::move(sorted);
}

}  // namespace

CurveResult KalibrLine(const CalibrationList& list, const PeakResults& peaks, PointList& points) {
    points.clear();
    PointList made;
    const auto& lines = list.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // The true mass exists only as the text at the end of the line.
        const std::optional<double> trueMass = TrailingNumber(lines[i]);
        if (!trueMass)
            return Refused(CurveOutcome::NotANumber,
                           NotANumberLineMessage(static_cast<int>(i) + 1, TrailingText(lines[i])));
        const int peak = list.CalibIndex()[i];
        if (peak < 0 || peak >= static_cast<int>(peaks.size()))
            throw OrveloError("Калибровочная строка " + std::to_string(i + 1) + " относится к пику " +
                              std::to_string(peak) + ", которого нет среди результатов");
        const double measured = peaks[static_cast<std::size_t>(peak)].Centre;
        made.push(measured, (*trueMass - measured) * 1000);
    }
    points = std::move(made);
    return {};
}

CurveResult ProverkaZapol(const CalibrationList& list, const PeakResults& peaks, PointList& series7) {
    if (!list.AllTrueMassesGiven()) return Refused(CurveOutcome::MissingTrueMasses, kMissingTrueMassesMessage);
    if (list.CalibCount() == 0) return Refused(CurveOutcome::EmptyList, kEmptyCalibListMessage);
    PointList points;
    CurveResult r = KalibrLine(list, peaks, points);
    if (r.ok()) MergeSorted(series7, points);
    return r;
}

int DistinctMassCount(const PointList& points) {
    int distinct = 0;
    for (int i = 0; i < points.count(); ++i)
        if (i == 0 || points.x[i] != points.x[i - 1]) ++distinct;
    return distinct;
}

bool CanFitLine(const PointList& points) {
    return points.count() >= 2 && std::isfinite(points.x.front()) && std::isfinite(points.x.back()) &&
           points.x.front() != points.x.back();
}

bool CanFitParabola(const PointList& points) { return CanFitLine(points) && DistinctMassCount(points) >= 3; }

CurveFit PodobratParabolaLine(const PointList& points) {
    CurveFit fit;
    if (!CanFitLine(points)) {
        fit.result = Refused(CurveOutcome::TooFewPoints, kLineNeedsTwoMassesMessage);
        return fit;
    }
    const double x0 = points.x.front(), y0 = points.y.front();
    const double x1 = points.x.back(), y1 = points.y.back();
    fit.samples.push(x0, y0);
    fit.samples.push(x1, y1);
    fit.curve.CalibB = (y1 - y0) / (x1 - x0);
    fit.curve.CalibC = y0 - fit.curve.CalibB * x0;
    fit.curve.CalibA = 0;
    return fit;
}

CurveFit PodobratParabola(const PointList& points, int maxSteps) {
    CurveFit fit;
    if (!CanFitParabola(points)) {
        fit.result = Refused(CurveOutcome::TooFewPoints, kParabolaNeedsThreeMassesMessage);
        return fit;
    }
    const ParabolaFitData d = ParabolaFitDataOf(points);
    const auto& X = d.CalibX;
    const auto& Y = d.CalibY;
    const std::size_t f = static_cast<std::size_t>(d.FitFirst), l = static_cast<std::size_t>(d.FitLast);
    // Start from the line through the outer points.
    const double b0 = (Y[l] - Y[f]) / (X[l] - X[f]);
    const double c0 = Y[f] - b0 * X[f];
    const ParabolaFitSummary summary = FitParabola(d, 0, b0, c0, maxSteps);
    fit.steps = summary.steps;
    if (summary.stop == ParabolaStop::Singular) {
        fit.result = Refused(CurveOutcome::Singular, kParabolaSingularMessage);
        return fit;
    }
    if (summary.stop == ParabolaStop::StepLimit) {
        fit.result = Refused(CurveOutcome::StepLimit, ParabolaStepLimitMessage(summary.steps));
        return fit;
    }
    fit.curve = summary.curve;
    fit.samples = SampleCurve(fit.curve, X[f], X[l]);
    return fit;
}

PointList SampleCurve(const CalibrationCurve& curve, double first, double last) {
    PointList samples;
    for (int k = 0; k < kMaxCurveSamples; ++k) {
        const double x = first + k / 100.0;
        if (x > last) break;
        samples.push(x, curve.DeviationMmu(x));
    }
    return samples;
}

}  // namespace orvelo
