#include <gtest/gtest.h>

#include <cmath>

#include "calibration/curve_report.h"

namespace orvelo {
namespace {

TEST(CurveReport, EquationPointsAndResidualsOfALineAndAParabola) {
    PointList points;
    points.push(28.0, 31.3);
    points.push(43.0, 54.8);
    points.push(57.0, 70.5);
    const CalibrationCurve line{0, 1.35, -6.5};  // (28, 31.3) and (57, 70.45)
    const CalibrationCheck check = CheckCalibration(points, line, CurveKind::Line);
    EXPECT_EQ(check.equation, "Поправка, mmu = 1.35·M - 6.5");
    EXPECT_EQ(
        CalibrationCheckLines(check, CurveKind::Line, "Опорные массы: нейтральные"),
        (std::vector<std::string>{"Калибровочная кривая: Линия", "Опорные массы: нейтральные",
                                  "Поправка, mmu = 1.35·M - 6.5", "М изм\tМ ист\tДо, mmu\tПосле, mmu",
                                  "28.00000\t28.03130\t31.30\t0.00", "43.00000\t43.05480\t54.80\t3.25",
                                  "57.00000\t57.07050\t70.50\t0.05", "СКО остатков, mmu = 1.88 (до кривой 54.63)"}));
    EXPECT_NEAR(check.rmsAfterMmu, std::sqrt((3.25 * 3.25 + 0.05 * 0.05) / 3), 1e-9);

    // A parabola keeps its x^2 term; 7 significant digits, the signs between the terms.
    const CalibrationCurve parabola{-1.23456789e-5, 0, 2.5};
    EXPECT_EQ(CurveEquationText(parabola, CurveKind::Parabola), "Поправка, mmu = -0.00001234568·M^2 + 0·M + 2.5");
    EXPECT_TRUE(
        CalibrationCheckLines(CheckCalibration(PointList{}, parabola, CurveKind::Parabola), CurveKind::Parabola, "")
            .front() == "Калибровочная кривая: Парабола");
}

}  // namespace
}  // namespace orvelo
