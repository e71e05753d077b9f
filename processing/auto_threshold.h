#pragma once
// The automatic noise height: from the zone heights of a preliminary run, the noise they show
// and the height of the first zone above it, proposed for "Первый не помеховый пик".
//
// Method. Most zones of a profile spectrum are noise wiggles of the smoothed signal; true peaks
// are few and their heights spread over orders of magnitude. The heights are taken on a log
// scale, where that long upper tail is compressed and the noise forms one compact band:
// starting from all zones, the band is the zones within kClipSigmas robust deviations (1.4826
// times the median absolute deviation) of the band's median, recomputed until it no longer
// changes. A baseline raises every zone alike and only moves the band; a baseline near zero
// gives flat stretches of zones without height, which are left out (they show no noise at
// all); on zero-stripped scans
// (the instrument has cut the noise) the band is the lowest cluster of small peaks and wiggles
// that is left. The noise level is then the band's median plus kNoiseSigmas robust deviations
// of its heights on the linear scale (the log scale only finds the band: its spread there is
// inflated by the wiggles near zero); the proposal is the lowest zone height above that level,
// so that every zone at or above it is kept and the noise zones are cut.
#include <cstdint>
#include <string>
#include <vector>

namespace orvelo {

inline constexpr double kClipSigmas = 3.0;
inline constexpr double kNoiseSigmas = 5.0;
// Fewer zones of some height than this show no noise band: nothing is proposed.
inline constexpr int kMinZonesForNoise = 8;

struct NoiseEstimate {
    bool ok = false;       // a band was found and some zone lies above it
    double median = 0;     // the typical noise zone height
    double sigma = 0;      // robust spread of the noise zone heights
    int noiseZones = 0;    // zones in the band
    double level = 0;      // median + kNoiseSigmas * sigma
    int64_t proposed = 0;  // the lowest zone height above `level` (when ok)
    int zonesAbove = 0;    // zones at or above `proposed`
};

// Heights in any order; zones without height (0 or less) are left out of the estimate.
NoiseEstimate EstimateNoise(const std::vector<int64_t>& heights);

// Where the proposal came from, for the operator: the band, its level and the height proposed;
// or why nothing was proposed. `zoneCount` is the number of zones estimated from.
std::string NoiseEstimateNote(const NoiseEstimate& e, int zoneCount);

}  // namespace orvelo
