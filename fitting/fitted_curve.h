#pragma once
// The fitted peaks as one point list for the spectrum chart (Series6, drawn by Obrab5).
#include "core/spectrum_state.h"
#include "fitting/peak_result.h"

namespace orvelo {

// For each peak, in order: mass = Left + s / 1000 for s = 0 .. 10000 while mass <= Right, and
//   value = Background + (Height - Background) * exp(-(K * R * (Centre / mass - 1))^n)
// with n = gaussPower as an integer power. At most 10001 points per peak.
PointList FittedCurves(const PeakResults& peaks, double gaussPower);

}  // namespace orvelo
