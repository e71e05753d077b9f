#pragma once
// The fitted peaks as one point list for the spectrum chart (Series6, drawn by Obrab5).
#include <vector>

#include "core/spectrum_state.h"
#include "fitting/peak_result.h"

namespace orvelo {

// For each peak, in order: mass = Left + s / 1000 for s = 0 .. 10000 while mass <= Right, and
//   value = Background + (Height - Background) * exp(-(K * R * (Centre / mass - 1))^n)
// with n = gaussPower as an integer power. At most 10001 points per peak. `pieceStarts`, when
// given, receives the index of each peak's first point, so that each curve is drawn on its own.
PointList FittedCurves(const PeakResults& peaks, double gaussPower, std::vector<int>* pieceStarts = nullptr);

}  // namespace orvelo
