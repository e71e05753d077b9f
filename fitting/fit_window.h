#pragma once
// What a fit reads: the loaded spectrum (stage 0), the smoothed spectrum (stage 1, for the
// start value of the resolving power) and GaussPower, with the window and zone inputs cut
// from them.
#include <vector>

#include "core/spectrum_state.h"
#include "fitting/step_sums.h"

namespace orvelo {

// Smallest index i with x[i] >= mass, for any order of x: on an ascending array a binary
// search, otherwise a binary search over the running maximum of x, which finds the same i.
class MassIndex {
public:
    explicit MassIndex(const std::vector<double>& x);
    // x.size() when no element reaches `mass`.
    int FirstAtOrAbove(double mass) const;

private:
    const std::vector<double>* x_;
    std::vector<double> runningMax_;  // filled only when x is not ascending
};

// Samples first..last of the spectrum (inclusive).
//   first: smallest i with x[i] >= Left (count when none)
//   last:  smallest i with x[i] >= Right, or the last sample when none reaches Right
// N = last - first + 1, or 0 when the window is empty.
struct FitWindow {
    int first = 0;
    int last = -1;
    int N = 0;
};

// The five numbers a zone's fit starts from, and its window.
//   V      highest intensity in the window: from 0.0, each sample strictly above the running
//          value (the first of equal maxima wins); centreIndex is that sample, -1 if none
//   Fon    lowest intensity: from V, each sample not >= the running value
//   Center x[centreIndex], or Left when the window holds no sample above zero
struct PeakInput {
    double Fon = 0;
    double Left = 0;
    double V = 0;
    double Center = 0;
    double Right = 0;
    FitWindow window;
    int centreIndex = -1;
};

enum class Crossing { Falling = 0, Rising = 1 };  // LevelCrossing modes 0 and 1

// The spectrum, the smoothed spectrum and the power of one run. The lists must outlive the
// source and stay unchanged while it is used; it may be shared by concurrent fits.
class FitSource {
public:
    FitSource(const PointList& spectrum, const PointList& smooth, double gaussPower);

    const PointList& spectrum() const { return *spectrum_; }
    const PointList& smooth() const { return *smooth_; }
    double gaussPower() const { return gaussPower_; }

    FitWindow Window(double left, double right) const;
    PeakInput Input(double left, double right) const;
    FitSamples Samples(const FitWindow& w) const;

    // Mass of the first smoothed sample at or after fromMass whose intensity is above
    // (Rising) or below (Falling) `level`. The scan stops at index `lastIndex` (the fit
    // window's last index) or at the end of the smoothed spectrum, whichever comes first, and
    // gives the mass at the bound when no sample crosses. fromMass itself when the bound lies
    // before the first smoothed sample (empty window or empty smoothed spectrum).
    double LevelCrossing(Crossing mode, double level, double fromMass, int lastIndex) const;
    // Start value of the resolving power: centre / width at half `height`, from the rising
    // crossing after fromMass to the falling crossing after it; 1000 for a zero width.
    double EstimateR(double height, double fromMass, double centre, int lastIndex) const;

private:
    const PointList* spectrum_;
    const PointList* smooth_;
    double gaussPower_;
    MassIndex spectrumIndex_;
    MassIndex smoothIndex_;
};

}  // namespace orvelo
