#include "processing/zone_list.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string>

#include "core/errors.h"
#include "core/number_text.h"

namespace orvelo {
namespace {

// Points of the spectrum shown on each side of the selected zone's maximum.
constexpr int kZoneWindowReach = 60;

template <typename T>
void Permute(std::vector<T>& values, const std::vector<std::size_t>& order) {
    std::vector<T> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) sorted.push_back(values[i]);
    values.swap(sorted);
}

// Line 0 shows zone 0, unless the list starts with zero heights: then it keeps only the last
// five zero-height zones before the first positive one.
//   heights 0 0 0 0 0 0 0 0 0 0 4 9 12  ->  line 0 shows zone 5
int FindFirstListedZone(const std::vector<int64_t>& height) {
    if (height.empty() || height[0] != 0) return 0;
    for (std::size_t i = 0; i + 1 < height.size(); ++i)
        if (height[i] > 0) return i > 5 ? static_cast<int>(i) - 5 : 0;
    return 0;
}

// The first index whose mass is at least m, searching from the start; 0 when there is none.
std::size_t FirstAtLeast(const std::vector<double>& x, double m) {
    const auto it = std::find_if(x.begin(), x.end(), [m](double v) { return v >= m; });
    return it == x.end() ? 0 : static_cast<std::size_t>(it - x.begin());
}

int ListedLineCount(const SpectrumState& s) {
    return std::max(0, s.zones.count() - 1 - std::max(0, s.FirstListedZone));
}

}  // namespace

std::vector<std::string> OtsortVysota(SpectrumState& s) {
    ZoneTable& zones = s.zones;
    // A stable sort: zones of equal height keep their mass order, lowest mass first.
    std::vector<std::size_t> order(zones.height.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return zones.height[a] < zones.height[b]; });
    Permute(zones.height, order);
    Permute(zones.center, order);
    Permute(zones.peakIndex, order);
    s.FirstListedZone = FindFirstListedZone(zones.height);
    return ZoneListLines(s);
}

// "<height>,   <centre %.1f>" from the first listed zone up to the last but one; the highest
// zone gets no line.
std::vector<std::string> ZoneListLines(const SpectrumState& s) {
    std::vector<std::string> lines;
    const int first = std::max(0, s.FirstListedZone);
    for (int z = first; z < first + ListedLineCount(s); ++z)
        lines.push_back(std::to_string(s.zones.height[z]) + ",   " + FormatFixed(s.zones.center[z], 1));
    return lines;
}

ZoneView NextVysota(SpectrumState& s, int line) {
    if (line < 0 || line >= ListedLineCount(s))
        throw OrveloError("В списке зон нет строки " + std::to_string(line + 1));
    const int z = std::max(0, s.FirstListedZone) + line;
    const int peak = s.zones.peakIndex[z];
    if (peak < 0 || peak >= s.PeakValley.count())
        throw OrveloError("Зоны не соответствуют точкам пиков и впадин; повторите предварительную обработку");
    s.SelectedZone = line;
    s.NoiseThreshold = s.zones.height[z];
    s.MarkerIndex = 0;

    ZoneView view;
    const std::vector<double>& x = s.Spectrum.x;
    if (x.empty()) return view;  // nothing loaded to show the zone on
    const double m = s.PeakValley.x[peak];
    const std::size_t b = FirstAtLeast(x, m);
    const std::size_t left = std::min<std::size_t>(b, kZoneWindowReach);
    const std::size_t right = std::min<std::size_t>(x.size() - 1 - b, kZoneWindowReach);
    for (std::size_t i = b - left; i <= b + right; ++i) view.window.push(x[i], s.Spectrum.y[i]);

    // The last of these may lie just beyond the right end of the window.
    const std::size_t i1 = FirstAtLeast(s.PeakValley.x, x[b - left]);
    const std::size_t i2 = FirstAtLeast(s.PeakValley.x, x[b + right]);
    for (std::size_t i = i1; i <= i2 && i2 >= i1; ++i) view.peakValley.push(s.PeakValley.x[i], s.PeakValley.y[i]);
    view.markerIndex = static_cast<int>(left);
    s.MarkerIndex = view.markerIndex;
    return view;
}

}  // namespace orvelo
