#pragma once
// The calibration curve: the deviation of the true from the measured mass, in mmu,
//     dev(x) = CalibA x^2 + CalibB x + CalibC       (x the measured mass),
// applied to a mass as x -> x + dev(x) / 1000. One type for the curve that is fitted, shown,
// applied to the spectrum and written into a saved mzML.

namespace orvelo {

struct CalibrationCurve {
    double CalibA = 0;
    double CalibB = 0;
    double CalibC = 0;

    double DeviationMmu(double x) const { return CalibA * (x * x) + CalibB * x + CalibC; }
    double Corrected(double x) const { return x + DeviationMmu(x) / 1000; }
    // d Corrected / dx: how a small mass interval (a width, an error) at x is stretched.
    double Slope(double x) const { return 1 + (2 * CalibA * x + CalibB) / 1000; }
    bool parabola() const { return CalibA != 0; }  // a curve without a square term is a line
};

}  // namespace orvelo
