#include "fitting/fitted_curve.h"

#include <cmath>

#include "fitting/step_sums.h"

namespace orvelo {

PointList FittedCurves(const PeakResults& peaks, double gaussPower, std::vector<int>* pieceStarts) {
    constexpr int kMaxPointsPerPeak = 10001;
    const int power = static_cast<int>(std::floor(gaussPower));
    PointList curve;
    if (pieceStarts) pieceStarts->clear();
    for (const PeakResult& p : peaks) {
        if (pieceStarts) pieceStarts->push_back(curve.count());
        for (int s = 0; s < kMaxPointsPerPeak; ++s) {
            const double mass = p.Left + s / 1000.0;
            if (mass > p.Right) break;
            const double value =
                p.Background + (p.Height - p.Background) * std::exp(-IntPower(K * p.R * (p.Centre / mass - 1), power));
            curve.push(mass, value);
        }
    }
    return curve;
}

}  // namespace orvelo
