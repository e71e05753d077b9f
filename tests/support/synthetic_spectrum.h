#pragma once
// Spectra whose peaks are known by construction, for tests and benchmarks.
//
//   SyntheticSpectrum s;
//   s.peaks = {{57.07, 2000, 1000}, {58.08, 2000, 400}};
//   s.massFirst = 56; s.massLast = 60; s.spacing = 0.001;
//   s.baseline = 10; s.noiseAmplitude = 2; s.seed = 7; s.integral = true;
//   PointList points = s.Generate();
//
// Each peak has the shape of the program's peak model,
//   amplitude * exp(-(K * R * (centre / x - 1))^power),  K = 1.6651,
// so a fit of a noiseless peak should give back (baseline, amplitude, R, centre); with the
// default power 2 it is a Gaussian whose full width at half height is about centre / R.
// The noise is uniform in [-noiseAmplitude, +noiseAmplitude] from a fixed-seed generator,
// the same on every machine. Masses are massFirst + i * spacing up to massLast inclusive.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "core/spectrum_state.h"

namespace orvelo::testing {

struct SyntheticPeak {
    double centre = 0;          // mass of the maximum
    double resolvingPower = 0;  // R: centre divided by the full width at half height
    double amplitude = 0;       // height above the baseline
    double power = 2;           // 2: Gaussian; 8: the flat-topped shape
};

struct SyntheticSpectrum {
    std::vector<SyntheticPeak> peaks;
    double massFirst = 0;
    double massLast = 0;
    double spacing = 1;
    double baseline = 0;
    double noiseAmplitude = 0;
    uint64_t seed = 1;
    bool integral = false;  // round every intensity to a whole number (halves to even)
    double peakReach = 8;   // a peak is evaluated within this many widths of its centre

    static constexpr double kShapeK = 1.6651;

    std::size_t SampleCount() const {
        if (!(spacing > 0) || massLast < massFirst) return 0;
        return static_cast<std::size_t>(std::floor((massLast - massFirst) / spacing + 1e-9)) + 1;
    }

    double MassAt(std::size_t i) const { return massFirst + static_cast<double>(i) * spacing; }

    // The noiseless intensity at mass x.
    double Signal(double x) const {
        double y = baseline;
        for (const SyntheticPeak& p : peaks) y += PeakAt(p, x);
        return y;
    }

    // Signal at every sample plus the noise, added peak by peak over each peak's reach only
    // (the same sums in the same order as Signal, so a million samples take no time).
    PointList Generate() const {
        const std::size_t n = SampleCount();
        PointList out;
        out.x.resize(n);
        out.y.assign(n, baseline);
        for (std::size_t i = 0; i < n; ++i) out.x[i] = MassAt(i);
        for (const SyntheticPeak& p : peaks) {
            const double reach = peakReach * p.centre / p.resolvingPower;
            const double from = std::floor((p.centre - reach - massFirst) / spacing) - 1;
            const double to = std::ceil((p.centre + reach - massFirst) / spacing) + 1;
            const std::size_t first = from > 0 ? static_cast<std::size_t>(from) : 0;
            const std::size_t last = to < static_cast<double>(n) ? static_cast<std::size_t>(to) : n;
            for (std::size_t i = first; i < last; ++i) out.y[i] += PeakAt(p, out.x[i]);
        }
        std::mt19937_64 random(seed);
        for (std::size_t i = 0; i < n; ++i) {
            if (noiseAmplitude > 0) {
                const double unit = static_cast<double>(random() >> 11) * 0x1.0p-53;  // [0, 1)
                out.y[i] += noiseAmplitude * (2 * unit - 1);
            }
            if (integral) out.y[i] = std::nearbyint(out.y[i]);
        }
        return out;
    }

private:
    double PeakAt(const SyntheticPeak& p, double x) const {
        if (std::fabs(x - p.centre) > peakReach * p.centre / p.resolvingPower) return 0;
        const double t = kShapeK * p.resolvingPower * (p.centre / x - 1);
        return p.amplitude * std::exp(-std::pow(std::fabs(t), p.power));
    }
};

}  // namespace orvelo::testing
