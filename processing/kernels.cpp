#include "processing/kernels.h"

#include <cmath>
#include <cstddef>

#include "core/number_text.h"
#include "processing/step_error.h"

namespace orvelo {

void MidpointSmooth(const PointList& in, PointList& out, std::string_view step) {
    MidpointSmoothPasses(in, out, 1, step);
}

void MidpointSmoothInPlace(PointList& list, std::string_view step) { MidpointSmoothPasses(list, list, 1, step); }

namespace {

// Whether point 0 starts as a maximum candidate. The plain rule (Y[1] <= Y[0]) makes a
// spectrum that begins flat and then rises start with a "maximum" that TrimToValleys throws
// away together with the first real peak; so a tie is decided by the first intensity that
// differs from Y[0]: lower means point 0 tops a fall, higher means it is the floor of a rise.
//   Y = 0 0 0 5 0  ->  min at mass 3, max at 4, min at 5 (not: max at 4, min at 5)
bool StartsAsMaximum(const std::vector<double>& y) {
    if (y[1] != y[0]) return y[1] < y[0];
    for (std::size_t i = 2; i < y.size(); ++i)
        if (y[i] != y[0]) return y[i] < y[0];
    return true;  // the intensity never changes: one point comes out
}

// floor((rise + fall) / 2), the zone height.
int64_t ZoneHeightOf(const PointList& in, std::size_t l, std::string_view step) {
    const double rise = in.y[l + 1] - in.y[l];
    const double fall = in.y[l + 1] - in.y[l + 2];
    const double height = std::floor((rise + fall) / 2);
    // 2^63 is exact in a double; a height at or past it (or NaN) has no 64-bit integer.
    if (!(height >= -9223372036854775808.0 && height < 9223372036854775808.0))
        ThrowStepError(step, "высота зоны у " + FormatGeneral(in.x[l + 1]) + " не помещается в целое число");
    return static_cast<int64_t>(height);
}

// Offset e of the first zone and the number of zones of an alternating list of n points.
struct ZoneLayout {
    std::size_t offset;
    std::size_t count;
};

ZoneLayout LayoutZones(const PointList& in) {
    const std::size_t n = in.x.size();
    const std::size_t e = in.y[0] > in.y[1] ? 1 : 0;  // the list begins with a maximum
    return {e, n >= 3 + e ? (n - 3 - e) / 2 + 1 : 0};
}

}  // namespace

void TurningPoints(const PointList& in, PointList& out, std::string_view step) {
    RequireTwoPoints(in.count(), step);
    const std::vector<double>& y = in.y;
    PointList result;
    std::size_t candidate = 0;
    bool maximum = StartsAsMaximum(y);
    for (std::size_t i = 1; i < y.size(); ++i) {
        const double yc = y[candidate];
        if (maximum ? y[i] >= yc : y[i] <= yc) {
            candidate = i;  // a flat top or bottom moves the extreme to its last point
        } else {
            result.push(in.x[candidate], yc);
            candidate = i;
            maximum = !maximum;
        }
    }
    result.push(in.x[candidate], y[candidate]);
    out = std::move(result);
}

void TrimToValleys(const PointList& in, PointList& out, std::string_view step) {
    RequireTwoPoints(in.count(), step);
    const std::size_t n = in.x.size();
    const std::size_t first = in.y[0] >= in.y[1] ? 1 : 0;
    const std::size_t drop = in.y[n - 2] <= in.y[n - 1] ? 1 : 0;
    PointList result;
    const std::size_t end = n - drop;  // one past the last kept point
    if (end > first) {
        result.x.assign(in.x.begin() + first, in.x.begin() + end);
        result.y.assign(in.y.begin() + first, in.y.begin() + end);
    }
    out = std::move(result);
}

void BuildZones(const PointList& in, ZoneTable& zones, std::string_view step) {
    RequireTwoPoints(in.count(), step);
    const ZoneLayout layout = LayoutZones(in);
    ZoneTable result;
    result.peakIndex.resize(layout.count);
    result.height.resize(layout.count);
    result.center.resize(layout.count);
    for (std::size_t k = 0; k < layout.count; ++k) {
        const std::size_t l = 2 * k + layout.offset;
        result.peakIndex[k] = static_cast<int32_t>(l + 1);
        result.height[k] = ZoneHeightOf(in, l, step);
        result.center[k] = in.x[l + 1];
    }
    zones = std::move(result);
}

void ThresholdZones(const PointList& in, int64_t threshold, PointList& out, std::string_view step) {
    RequireTwoPoints(in.count(), step);
    const ZoneLayout layout = LayoutZones(in);
    PointList result;
    std::size_t last = 0;
    for (std::size_t k = 0; k < layout.count; ++k) {
        const std::size_t l = 2 * k + layout.offset;
        if (ZoneHeightOf(in, l, step) >= threshold) {
            result.push(in.x[l], in.y[l]);
            result.push(in.x[l + 1], in.y[l + 1]);
            last = l + 2;
        }
    }
    result.push(in.x[last], in.y[last]);
    out = std::move(result);
}

}  // namespace orvelo
