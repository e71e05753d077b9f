#pragma once
// A spectrum a reader accepts has at least two points, finite values and masses ascending;
// a fuzz target aborts on anything else.
#include <cmath>
#include <cstdlib>

#include "core/spectrum_file.h"

inline void CheckLoadedSpectrum(const orvelo::LoadedSpectrum& s) {
    if (s.points.count() < 2 || s.points.x.size() != s.points.y.size()) std::abort();
    for (int i = 0; i < s.points.count(); ++i) {
        if (!std::isfinite(s.points.x[i]) || !std::isfinite(s.points.y[i])) std::abort();
        if (i > 0 && s.points.x[i] < s.points.x[i - 1]) std::abort();
    }
}
