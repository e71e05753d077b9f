#include <gtest/gtest.h>

#include <cmath>

#include "calibration/calibration_workflow.h"
#include "calibration/peaks.h"
#include "calibration/reference_masses.h"
#include "core/errors.h"

namespace orvelo {
namespace {

using testing::PeaksAt;

constexpr double kTight = 1e-9;

PointList Points(std::initializer_list<std::pair<double, double>> xy) {
    PointList p;
    for (auto [x, y] : xy) p.push(x, y);
    return p;
}

// A list holding every peak, with the given true-mass texts in peak order.
CalibrationList ListOf(const PeakResults& peaks, std::initializer_list<const char*> trueMasses) {
    CalibrationList list;
    const auto lines = FillListMass(peaks);
    for (int p = 0; p < static_cast<int>(peaks.size()); ++p) list.TakePeak(p, lines);
    int i = 0;
    for (const char* t : trueMasses) list.AttachTypedMass(i++, t);
    return list;
}

TEST(CalibrationCurve, PointsAreTrueMinusMeasuredInMmuFromThePeakCentres) {
    // 28.04 is listed as "28.0"; the point takes the centre, not the text.
    const PeakResults peaks = PeaksAt({28.04, 43.0, 57.0});
    const CalibrationList list = ListOf(peaks, {"28.0313", "43.0548", "57.0705"});
    PointList series7;
    const CurveResult r = ProverkaZapol(list, peaks, series7);
    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_EQ(series7.count(), 3);
    EXPECT_EQ(series7.x, (std::vector<double>{28.04, 43.0, 57.0}));
    EXPECT_NEAR(series7.y[0], -8.7, kTight);
    EXPECT_NEAR(series7.y[1], 54.8, kTight);
    EXPECT_NEAR(series7.y[2], 70.5, kTight);
    // Pressing "Создать кривую" again adds the points once more, still in mass order.
    ASSERT_TRUE(ProverkaZapol(list, peaks, series7).ok());
    EXPECT_EQ(series7.x, (std::vector<double>{28.04, 28.04, 43.0, 43.0, 57.0, 57.0}));
}

TEST(CalibrationCurve, CreatingPointsIsRefusedUntilTheListIsComplete) {
    const PeakResults peaks = PeaksAt({28.0, 43.0, 57.0});
    PointList series7 = Points({{1, 2}});
    const PointList before = series7;

    const CurveResult missing = ProverkaZapol(ListOf(peaks, {"28.0313", "43.0548"}), peaks, series7);
    EXPECT_EQ(missing.outcome, CurveOutcome::MissingTrueMasses);
    EXPECT_EQ(missing.message, "Вы не для всех масс задали истинные массы");

    const CurveResult empty = ProverkaZapol(CalibrationList{}, peaks, series7);
    EXPECT_EQ(empty.outcome, CurveOutcome::EmptyList);
    EXPECT_EQ(empty.message, kEmptyCalibListMessage);

    // A true mass that is no number names its line; no point is made, not even the good ones.
    const CurveResult bad = ProverkaZapol(ListOf(peaks, {"28.0313", "43.0548", "1.2.3"}), peaks, series7);
    EXPECT_EQ(bad.outcome, CurveOutcome::NotANumber);
    EXPECT_EQ(bad.message, "Строка 3: '1.2.3' не является числом");
    EXPECT_EQ(ProverkaZapol(ListOf(peaks, {".", "43.0548", "57"}), peaks, series7).message,
              "Строка 1: '.' не является числом");
    EXPECT_EQ(series7.x, before.x);
    EXPECT_EQ(series7.y, before.y);

    // A list that outlived its peaks is an error, not a point at a random mass.
    EXPECT_THROW(ProverkaZapol(ListOf(peaks, {"28", "43", "57"}), PeaksAt({28.0}), series7), OrveloError);
}

TEST(CalibrationCurve, LineGoesThroughTheOuterPointsAndShiftsTheSpectrum) {
    // The middle point is off the line and does not count.
    const PointList points = Points({{100, 10}, {150, 99}, {300, 30}});
    const CurveFit fit = PodobratParabolaLine(points);
    ASSERT_TRUE(fit.result.ok());
    EXPECT_EQ(fit.curve.CalibA, 0.0);
    EXPECT_DOUBLE_EQ(fit.curve.CalibB, 0.1);
    EXPECT_NEAR(fit.curve.CalibC, 0.0, kTight);
    EXPECT_EQ(fit.samples.x, (std::vector<double>{100, 300}));
    EXPECT_EQ(fit.samples.y, (std::vector<double>{10, 30}));

    PointList spectrum = Points({{100, 5}, {200, 7}});
    ApplyCalibration(fit.curve, spectrum);
    EXPECT_DOUBLE_EQ(spectrum.x[0], 100.01);
    EXPECT_DOUBLE_EQ(spectrum.x[1], 200.02);
    EXPECT_EQ(spectrum.y, (std::vector<double>{5, 7}));
}

TEST(CalibrationCurve, ParabolaOnExactPointsConvergesInTwoSteps) {
    const PointList points = Points({{10, 0.1}, {20, 0.4}, {30, 0.9}});  // y = 0.001 x^2
    const CurveFit fit = PodobratParabola(points);
    ASSERT_TRUE(fit.result.ok()) << fit.result.message;
    EXPECT_EQ(fit.steps, 2);
    EXPECT_NEAR(fit.curve.CalibA, 0.001, 1e-12);
    EXPECT_NEAR(fit.curve.CalibB, 0.0, 1e-10);
    EXPECT_NEAR(fit.curve.CalibC, 0.0, 1e-8);
    // Samples every 0.01 from the first to the last mass.
    ASSERT_EQ(fit.samples.count(), 2001);
    EXPECT_EQ(fit.samples.x.front(), 10.0);
    EXPECT_NEAR(fit.samples.x.back(), 30.0, 1e-9);
    EXPECT_NEAR(fit.samples.y[1000], 0.4, 1e-9);
}

TEST(CalibrationCurve, ParabolaIsTheLeastSquaresFitOfScatteredPoints) {
    // Planted parabola plus residuals orthogonal to x^2, x and 1: the fit returns the plant.
    const double a = 2e-4, b = -0.03, c = 1.5;
    const double xs[] = {20, 40, 60, 80, 100};
    const double e[] = {1, -2, 0, 2, -1};  // sum 0, sum x e 0, sum x^2 e 0 for these x
    PointList points;
    for (int i = 0; i < 5; ++i) points.push(xs[i], a * xs[i] * xs[i] + b * xs[i] + c + 0.25 * e[i]);
    const CurveFit fit = PodobratParabola(points);
    ASSERT_TRUE(fit.result.ok());
    EXPECT_NEAR(fit.curve.CalibA, a, 1e-12);
    EXPECT_NEAR(fit.curve.CalibB, b, 1e-10);
    EXPECT_NEAR(fit.curve.CalibC, c, 1e-8);

    PointList spectrum = Points({{50, 1}});
    ApplyCalibration(fit.curve, spectrum);
    EXPECT_NEAR(spectrum.x[0], 50 + (a * 2500 + b * 50 + c) / 1000, 1e-12);
}

TEST(CalibrationCurve, DrawnCurveStopsAfter100001Samples) {
    const PointList points = Points({{10, 1}, {600, 2}, {1500, 4}});
    const CurveFit fit = PodobratParabola(points);
    ASSERT_TRUE(fit.result.ok());
    ASSERT_EQ(fit.samples.count(), kMaxCurveSamples);
    EXPECT_NEAR(fit.samples.x.back(), 1010.0, 1e-9);
    // The coefficients still reproduce the last point, beyond the drawn part.
    EXPECT_NEAR(fit.curve.DeviationMmu(1500), 4.0, 1e-6);
}

TEST(CalibrationCurve, FitsNeedEnoughDifferentMasses) {
    const PointList none;
    const PointList one = Points({{50, 1}});
    const PointList sameMass = Points({{50, 1}, {50, 3}, {50, 2}});
    const PointList twoMasses = Points({{40, 1}, {40, 2}, {60, 3}});
    for (const PointList* p : {&none, &one, &sameMass}) {
        EXPECT_FALSE(CanFitLine(*p));
        const CurveFit line = PodobratParabolaLine(*p);
        EXPECT_EQ(line.result.outcome, CurveOutcome::TooFewPoints);
        EXPECT_EQ(line.result.message, kLineNeedsTwoMassesMessage);
        EXPECT_TRUE(line.samples.empty());
    }
    EXPECT_TRUE(CanFitLine(twoMasses));
    EXPECT_TRUE(PodobratParabolaLine(twoMasses).result.ok());
    for (const PointList* p : {&none, &one, &sameMass, &twoMasses}) {
        EXPECT_FALSE(CanFitParabola(*p));
        const CurveFit parabola = PodobratParabola(*p);
        EXPECT_EQ(parabola.result.outcome, CurveOutcome::TooFewPoints);
        EXPECT_EQ(parabola.result.message, kParabolaNeedsThreeMassesMessage);
    }
    EXPECT_TRUE(CanFitParabola(Points({{40, 1}, {50, 2}, {60, 3}})));
}

TEST(CalibrationCurve, ParabolaStopsOnASingularSystemOrAtTheStepBound) {
    // Two distinct masses: the normal equations are exactly singular.
    const ParabolaFitData twoMasses = ParabolaFitDataOf(Points({{1, 0}, {1, 1}, {2, 5}}));
    EXPECT_TRUE(ParabolaStep(twoMasses, CalibrationCurve{}).singular);
    const ParabolaFitSummary stopped = FitParabola(twoMasses, 0, 1, 0);
    EXPECT_EQ(stopped.stop, ParabolaStop::Singular);
    EXPECT_EQ(stopped.steps, 0);

    // Three masses a millionth apart leave no usable digits.
    const CurveFit close = PodobratParabola(Points({{1000, 0}, {1000.000001, 1}, {1000.000002, 3}}));
    EXPECT_EQ(close.result.outcome, CurveOutcome::Singular);
    EXPECT_EQ(close.result.message, kParabolaSingularMessage);

    // Close masses: 100, 101, 102 still give their parabola, 500, 501, 502 are refused.
    const CurveFit near100 = PodobratParabola(Points({{100, 10}, {101, 10.201}, {102, 10.404}}));
    ASSERT_TRUE(near100.result.ok()) << near100.result.message;
    EXPECT_NEAR(near100.curve.DeviationMmu(101), 10.201, 1e-6);
    EXPECT_NEAR(near100.curve.CalibA, 0.001, 1e-6);
    EXPECT_EQ(PodobratParabola(Points({{500, 1}, {501, 2}, {502, 4}})).result.outcome, CurveOutcome::Singular);

    // One step is not enough to see convergence.
    const PointList points = Points({{10, 0.1}, {20, 0.4}, {30, 0.9}});
    const CurveFit bounded = PodobratParabola(points, 1);
    EXPECT_EQ(bounded.result.outcome, CurveOutcome::StepLimit);
    EXPECT_EQ(bounded.result.message, "Парабола не подобрана: исчерпан предел числа шагов (1)");
    EXPECT_EQ(bounded.steps, 1);
    EXPECT_TRUE(bounded.samples.empty());
}

TEST(CalibrationCurve, SarrusDeterminantAndTermsFollowTheirDefinitions) {
    EXPECT_EQ(SarrusDeterminant(Matrix3{{{2, 0, 1}, {1, 3, 2}, {1, 1, 2}}}), 6.0);
    const ParabolaFitData d = ParabolaFitDataOf(Points({{2, 7}, {3, 1}}));
    const CalibrationCurve estimate{1, 1, 1};
    EXPECT_EQ(ParabolaTerm(d, estimate, 0, 0), 4.0);
    EXPECT_EQ(ParabolaTerm(d, estimate, 3, 0), 0.0);  // 4 + 2 + 1 - 7
    EXPECT_EQ(ParabolaTerm(d, estimate, 3, 1), 12.0);
    EXPECT_EQ(ParabolaTerm(d, estimate, 4, 1), 0.0);
    EXPECT_EQ(ParabolaSum(d, estimate, 0, 1), 4.0 * 2 + 9.0 * 3);
    EXPECT_EQ(ParabolaSum(d, estimate, 3, 2), 12.0);
}

// The three ruinous calibrations of two points (28 -> true, 57 -> true) over a spectrum from
// 20 to 80, and a sound one; the line is the one "Подобрать линию" makes.
TEST(CalibrationCurve, CurvesThatRuinTheMassAxisAreRefusedWithTheirProblem) {
    PointList spectrum;
    for (int i = 0; i <= 600; ++i) spectrum.push(20 + i * 0.1, 1);
    spectrum.push(80, 2);  // an equal neighbour stays allowed
    auto refusal = [&](double true28, double true57) {
        PointList points;
        points.push(28, (true28 - 28) * 1000);
        points.push(57, (true57 - 57) * 1000);
        const CurveFit fit = PodobratParabolaLine(points);
        return CalibrationRefusal(fit.curve, spectrum).value_or("");
    };
    const std::string prefix = "Калибровка не применена: ";
    EXPECT_EQ(refusal(28.01, 57.02), "");
    EXPECT_EQ(refusal(40, 40), prefix +
                                   "исправленные массы должны возрастать, как исходные "
                                   "(масса 20 переходит в 40, масса 20.1 переходит в 40)");
    EXPECT_EQ(refusal(57, 28), prefix +
                                   "исправленные массы должны возрастать, как исходные "
                                   "(масса 20 переходит в 65, масса 20.1 переходит в 64.9)");
    // Rising, but a thousand times slower than the measured masses: the pair that does it is named.
    EXPECT_EQ(refusal(40, 40.00029),
              prefix +
                  "исправленные массы растут слишком медленно (масса 20 переходит в "
                  "39.99992, масса 20.1 переходит в 39.999921): шаг 0.100000000000001 "
                  "сжимается до 9.99999997475243E-7, а сжимать шаг масс можно не более чем в 1000 раз");
    EXPECT_EQ(refusal(0, 57), prefix +
                                  "исправленные массы должны быть положительными "
                                  "(масса 20 переходит в -15.7241379310345)");
    EXPECT_TRUE(refusal(28, 1e35).starts_with(prefix + "исправленные массы должны быть положительными"));
    const CalibrationCurve huge{0, 1e20, 0};
    EXPECT_EQ(CalibrationRefusal(huge, spectrum),
              prefix + "исправленная масса слишком велика для файла спектра (масса 20 переходит в 2E18)");
    const CalibrationCurve nan{0, std::nan(""), 0};
    EXPECT_EQ(CalibrationRefusal(nan, spectrum), prefix + "исправленная масса не является конечным числом (масса 20)");
}

}  // namespace
}  // namespace orvelo
