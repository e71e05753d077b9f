#pragma once
// The zone list of "Настройка": the zones sorted by height, their list lines, and what the
// zone chart shows for a chosen line.
#include <string>
#include <vector>

#include "core/spectrum_state.h"

namespace orvelo {

// Sorts the zones by height (stable: equal heights keep their mass order, lowest mass first)
// and sets s.FirstListedZone. Returns the zone-list lines:
// "<height>,   <centre %.1f>". NextVysota refuses a line that is not in the list.
std::vector<std::string> OtsortVysota(SpectrumState& s);
std::vector<std::string> ZoneListLines(const SpectrumState& s);

// What NextVysota shows for the zone of list line `line`: the spectrum window (at most 121
// points), the marker position in it, and the stage-5 points inside the window. Sets
// s.SelectedZone, s.NoiseThreshold and s.MarkerIndex.
struct ZoneView {
    PointList window;      // Series14
    PointList peakValley;  // Series15
    int markerIndex = 0;
};
ZoneView NextVysota(SpectrumState& s, int line);

}  // namespace orvelo
