#pragma once
// The signal-processing kernels of the preliminary processing. Each reads one point list and
// writes another (or the zone table). None draws or talks to the user. Every kernel needs at
// least two input points and throws OrveloError with a plain-words cause otherwise.
#include <cstdint>
#include <string_view>

#include "core/spectrum_state.h"
#include "processing/smoothing.h"

namespace orvelo {

// Each inner point's intensity becomes the line through the midpoints of its two neighbouring
// segments, evaluated at its own mass; the end points stay. Equally spaced: (y0 + 2 y1 + y2) / 4.
//   Y = 0 0 4 0 0  ->  0 1 2 1 0
// `step` names the processing step in error messages ("three equal masses at 123.4").
void MidpointSmooth(const PointList& in, PointList& out, std::string_view step = {});
void MidpointSmoothInPlace(PointList& list, std::string_view step = {});

// Alternating minima and maxima; a flat top or bottom yields its last point.
//   Y = 1 3 3 2 5  ->  masses 1 (min), 3 (max), 4 (min), 5
void TurningPoints(const PointList& in, PointList& out, std::string_view step = {});

// Drops a leading and a trailing maximum so that the list begins and ends with a minimum.
void TrimToValleys(const PointList& in, PointList& out, std::string_view step = {});

// Zones of three consecutive points (valley, peak, valley), in mass order.
void BuildZones(const PointList& in, ZoneTable& zones, std::string_view step = {});

// For each zone at least `threshold` high: its left valley and its peak; then one closing valley.
void ThresholdZones(const PointList& in, int64_t threshold, PointList& out, std::string_view step = {});

}  // namespace orvelo
