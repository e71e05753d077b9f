#pragma once
// The midpoint smoothing written out exactly as defined, one pass at a time, with nothing
// clever in it: the yardstick that the fast many-pass smoothing must match bit for bit.
#include <cstddef>
#include <vector>

#include "core/spectrum_state.h"

namespace orvelo::reference {

// One pass from (x, y) into out; out may be the same vector as y only through SmoothInPlace.
inline void SmoothOnce(const std::vector<double>& x, const std::vector<double>& y, std::vector<double>& out) {
    const std::size_t n = x.size();
    out.resize(n);
    double xL = (x[0] + x[1]) / 2;
    double yL = (y[0] + y[1]) / 2;
    out[0] = y[0];
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double xR = (x[i] + x[i + 1]) / 2;
        const double yR = (y[i] + y[i + 1]) / 2;
        if (yR > yL) out[i] = yL + ((x[i] - xL) * (yR - yL)) / (xR - xL);
        else out[i] = yR + ((xR - x[i]) * (yL - yR)) / (xR - xL);
        xL = xR;
        yL = yR;
    }
    out[n - 1] = y[n - 1];
}

// `passes` passes, each reading only the values the list had before it (passes >= 0).
inline PointList SmoothPasses(const PointList& in, int passes) {
    PointList out = in;
    std::vector<double> next;
    for (int p = 0; p < passes; ++p) {
        SmoothOnce(out.x, out.y, next);
        out.y.swap(next);
    }
    return out;
}

}  // namespace orvelo::reference
