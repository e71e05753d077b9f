#pragma once
// One fitted zone of the last final run. PeakResults is the list of them, in zone order.
#include <array>
#include <vector>

namespace orvelo {

// A problem peak (singular normal equations, or a window the fit cannot use) is marked by a
// height of exactly 1.0; the results table, the theory charts and the reports test for it.
inline constexpr double kProblemPeakHeight = 1.0;

struct PeakResult {
    double Left = 0;  // zone bounds (masses)
    double Right = 0;
    double Centre = 0;               // fitted D
    double R = 0;                    // fitted C, the resolving power
    double Height = 0;               // fitted A + B
    double Background = 0;           // fitted A if positive, else A0
    std::array<double, 4> Errors{};  // standard errors of A, B, C, D
    double StdErr = 0;               // sqrt|s^2|
    double Iter = 0;                 // steps, stored as a double
    double S = 0;                    // residual sum of the last step
    double N = 0;                    // samples in the window
    double ZoneIndex = 0;            // index in FinalExtrema of the zone's left bound
};

inline bool IsProblemPeak(const PeakResult& p) { return p.Height == kProblemPeakHeight; }

using PeakResults = std::vector<PeakResult>;

}  // namespace orvelo
