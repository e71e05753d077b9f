#pragma once
// The program-wide spectrum state: the loaded spectrum (stage 0), the seven point lists the
// preliminary processing derives from it, the zone table and the settings the main window
// keeps between commands. One instance exists while the program runs, owned by whoever runs
// it (the main window, or the command-line program) and passed by reference.
#include <cstdint>
#include <string>
#include <vector>

namespace orvelo {

// X ascending (mass), Y the intensity at each point; x.size() == y.size() always.
struct PointList {
    std::vector<double> x;
    std::vector<double> y;

    int count() const { return static_cast<int>(x.size()); }
    bool empty() const { return x.empty(); }
    void clear() {
        x.clear();
        y.clear();
    }
    void reserve(std::size_t n) {
        x.reserve(n);
        y.reserve(n);
    }
    void push(double px, double py) {
        x.push_back(px);
        y.push_back(py);
    }
};

// Element i of the three arrays describes one zone. After BuildZones the zones are in mass
// order; after OtsortVysota in ascending order of height.
// Heights are held in 64 bits so that large scaled intensities cannot overflow them.
struct ZoneTable {
    std::vector<int32_t> peakIndex;  // ZonePeakIndex: index of the zone's maximum in stage 5
    std::vector<int64_t> height;     // ZoneHeight: (rise + fall) / 2, rounded down
    std::vector<double> center;      // ZoneCenter: mass of the zone's maximum

    int count() const { return static_cast<int>(height.size()); }
    void clear() {
        peakIndex.clear();
        height.clear();
        center.clear();
    }
};

inline constexpr int kDefaultKolUsred = 150;
inline constexpr double kDefaultKrivoMn = 10.0;
inline constexpr std::size_t kTitleMaxChars = 100;

struct SpectrumState {
    PointList Spectrum;      // stage 0: SpectrumX / SpectrumY, as read (and calibrated)
    PointList Smooth;        // stage 1: three midpoint smoothing passes of stage 0
    PointList Averaged;      // stage 2: KolUsred + 2 further passes of stage 1
    PointList Extrema;       // stage 3: turning points of stage 2
    PointList Trimmed;       // stage 4: stage 3 without leading and trailing maximum
    PointList PeakValley;    // stage 5: turning points of stage 4; zones are cut from it
    PointList AboveNoise;    // stage 6: zones at or above NoiseThreshold
    PointList FinalExtrema;  // stage 7: turning points of stage 6; the final run fits these

    ZoneTable zones;
    int FirstListedZone = 0;  // zone shown by line 0 of the zone list (OtsortVysota)

    int KolUsred = kDefaultKolUsred;
    double KrivoMn = kDefaultKrivoMn;  // shown and stored, read by no computation
    int64_t NoiseThreshold = 0;
    int SelectedZone = 0;
    int MarkerIndex = 0;

    std::string SpectrumTitle;  // UTF-8, at most kTitleMaxChars characters of the file's text
    int MaxFractionDigits = 0;

    double CarbonMass = 12.0;
    double HydrogenMass = 1.00783;
    double FluorineMass = 18.9984;
};

}  // namespace orvelo
