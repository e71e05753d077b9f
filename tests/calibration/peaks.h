#pragma once
// Peak lists for the calibration tests: only the fields the calibration reads are set.
#include <initializer_list>

#include "fitting/peak_result.h"

namespace orvelo::testing {

inline PeakResult Peak(double centre, double height = 1000, double r = 1500) {
    PeakResult p;
    p.Centre = centre;
    p.Height = height;
    p.R = r;
    return p;
}

inline PeakResults PeaksAt(std::initializer_list<double> centres) {
    PeakResults peaks;
    for (double c : centres) peaks.push_back(Peak(c));
    return peaks;
}

}  // namespace orvelo::testing
