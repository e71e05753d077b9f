#include "processing/auto_threshold.h"

#include <algorithm>
#include <cmath>

namespace orvelo {

namespace {

constexpr double kMadToSigma = 1.4826;

double Median(std::vector<double> v) {
    const std::size_t n = v.size();
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n / 2), v.end());
    const double upper = v[n / 2];
    if (n % 2 == 1) return upper;
    return (*std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n / 2)) + upper) / 2;
}

// 1.4826 times the median absolute deviation; when more than half the values equal the median
// (zero-height wiggles of a baseline at zero) that is 0, and 1.2533 times the mean absolute
// deviation (the same sigma for normal data) stands in.
double RobustSigma(const std::vector<double>& v, double median) {
    std::vector<double> d;
    d.reserve(v.size());
    double sum = 0;
    for (double x : v) {
        d.push_back(std::fabs(x - median));
        sum += d.back();
    }
    const double mad = Median(std::move(d));
    return mad > 0 ? kMadToSigma * mad : 1.2533 * sum / static_cast<double>(v.size());
}

}  // namespace

NoiseEstimate EstimateNoise(const std::vector<int64_t>& heights) {
    NoiseEstimate e;
    // A zone of no height is a flat stretch, not a wiggle: it says nothing of the noise.
    std::vector<double> logs;
    logs.reserve(heights.size());
    for (int64_t h : heights)
        if (h > 0) logs.push_back(std::log1p(static_cast<double>(h)));
    if (static_cast<int>(logs.size()) < kMinZonesForNoise) return e;
    std::sort(logs.begin(), logs.end());

    // The band [lo, hi) of the sorted log heights, narrowed until it is stable.
    std::size_t lo = 0, hi = logs.size();
    for (int pass = 0; pass < 100; ++pass) {
        const std::vector<double> band(logs.begin() + static_cast<std::ptrdiff_t>(lo),
                                       logs.begin() + static_cast<std::ptrdiff_t>(hi));
        const double m = Median(band);
        // A band of equal heights has no spread: it is what it is.
        const double s = std::max(RobustSigma(band, m), 1e-9);
        const auto first = std::lower_bound(logs.begin(), logs.end(), m - kClipSigmas * s);
        const auto last = std::upper_bound(logs.begin(), logs.end(), m + kClipSigmas * s);
        const std::size_t newLo = static_cast<std::size_t>(first - logs.begin());
        const std::size_t newHi = static_cast<std::size_t>(last - logs.begin());
        if (newHi - newLo < 2 || (newLo == lo && newHi == hi)) break;
        lo = newLo;
        hi = newHi;
    }

    std::vector<double> band;
    for (std::size_t i = lo; i < hi; ++i) band.push_back(std::round(std::expm1(logs[i])));  // the whole heights back
    e.noiseZones = static_cast<int>(band.size());
    e.median = Median(band);
    e.sigma = RobustSigma(band, e.median);
    e.level = e.median + kNoiseSigmas * e.sigma;

    int64_t best = 0;
    bool any = false;
    for (int64_t h : heights)
        if (static_cast<double>(h) > e.level && (!any || h < best)) {
            best = h;
            any = true;
        }
    if (!any) return e;
    e.ok = true;
    e.proposed = best;
    for (int64_t h : heights) e.zonesAbove += h >= best ? 1 : 0;
    return e;
}

std::string NoiseEstimateNote(const NoiseEstimate& e, int zoneCount) {
    const auto whole = [](double v) { return std::to_string(static_cast<int64_t>(std::llround(v))); };
    if (e.noiseZones == 0)
        return "Порог не выбран по шуму: зон " + std::to_string(zoneCount) +
               ", а зон ненулевой высоты нужно не меньше " + std::to_string(kMinZonesForNoise);
    const std::string band = "шумовых зон " + std::to_string(e.noiseZones) + " из " + std::to_string(zoneCount) +
                             ", медиана их высот " + whole(e.median) + ", разброс " + whole(e.sigma) +
                             ", уровень шума " + whole(e.level);
    if (!e.ok) return "Порог не выбран по шуму: ни одна зона не выше уровня шума (" + band + ")";
    return "Порог предложен по шуму спектра: " + band +
           ".\rПредложена высота первой зоны выше шума: " + std::to_string(e.proposed) +
           " (зон не ниже неё: " + std::to_string(e.zonesAbove) + ").";
}

}  // namespace orvelo
