#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/spectrum_file.h"
#include "processing/auto_threshold.h"
#include "processing/preliminary.h"
#include "support/synthetic_spectrum.h"

namespace orvelo {
namespace {

using testing::SyntheticPeak;
using testing::SyntheticSpectrum;

// Twenty peaks from 5 to 200 noise sigmas high, 0.4 apart, on a baseline, with uniform noise.
struct Planted {
    PointList points;
    std::vector<SyntheticPeak> peaks;
    double sigma = 0;
};

Planted Generate(double baseline, double noise, bool clipAtZero, bool stripZeros) {
    SyntheticSpectrum s;
    const double sigma = noise / std::sqrt(3.0);
    for (int k = 0; k < 20; ++k)
        s.peaks.push_back({20.2 + 0.4 * k, 1000, sigma * (5 + 10.0 * k * k / 19.0 + (k % 3) * 2)});
    s.massFirst = 20;
    s.massLast = 28.2;
    s.spacing = 0.001;
    s.baseline = baseline;
    s.noiseAmplitude = noise;
    s.seed = 11;
    s.integral = true;
    const PointList raw = s.Generate();
    Planted p{{}, s.peaks, sigma};
    for (int i = 0; i < raw.count(); ++i) {
        const double y = clipAtZero ? std::max(raw.y[i], 0.0) : raw.y[i];
        if (stripZeros && y == 0) continue;
        p.points.push(raw.x[i], y);
    }
    return p;
}

struct Outcome {
    int peaksKept = 0;
    int noiseKept = 0;
    NoiseEstimate estimate;
};

Outcome Judge(const Planted& planted) {
    SpectrumState s;
    s.Spectrum = planted.points;
    RunPreliminary(s);
    Outcome o;
    o.estimate = EstimateNoise(s.zones.height);
    EXPECT_TRUE(o.estimate.ok);
    for (int z = 0; z < s.zones.count(); ++z) {
        if (s.zones.height[z] < o.estimate.proposed) continue;
        bool isPeak = false;
        for (const SyntheticPeak& p : planted.peaks) isPeak |= std::fabs(s.zones.center[z] - p.centre) < 0.02;
        (isPeak ? o.peaksKept : o.noiseKept) += 1;
    }
    return o;
}

TEST(AutoThreshold, KeepsEveryPeakAndCutsTheNoiseOnAnyBaseline) {
    struct Case {
        const char* name;
        double baseline, noise;
        bool clip, strip;
    };
    for (const Case& c : {Case{"baseline", 5000, 300, false, false}, Case{"near zero", 0, 300, true, false},
                          Case{"zero-stripped", 0, 300, true, true}}) {
        SCOPED_TRACE(c.name);
        const Outcome o = Judge(Generate(c.baseline, c.noise, c.clip, c.strip));
        EXPECT_EQ(o.peaksKept, 20);
        EXPECT_LE(o.noiseKept, 1);
        EXPECT_GT(o.estimate.noiseZones, 20);
    }
}

TEST(AutoThreshold, ScalesWithTheNoiseAndNotWithTheBaseline) {
    const NoiseEstimate a = Judge(Generate(1000, 100, false, false)).estimate;
    const NoiseEstimate b = Judge(Generate(100000, 100, false, false)).estimate;
    const NoiseEstimate c = Judge(Generate(1000, 1000, false, false)).estimate;
    EXPECT_NEAR(b.level, a.level, 0.2 * a.level);
    EXPECT_GT(c.level, 5 * a.level);
}

TEST(AutoThreshold, ProposesNothingWithoutABandOrAPeakAboveIt) {
    EXPECT_FALSE(EstimateNoise({5, 3, 9}).ok);  // too few zones
    const NoiseEstimate flat = EstimateNoise(std::vector<int64_t>(30, 7));
    EXPECT_FALSE(flat.ok);  // all noise, nothing above it
    EXPECT_EQ(flat.noiseZones, 30);
    std::vector<int64_t> heights{10, 12, 9, 11, 10, 13, 8, 10, 11, 12, 9, 10, 5000, 0, 40000};
    const NoiseEstimate e = EstimateNoise(heights);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.proposed, 5000);
    EXPECT_EQ(e.zonesAbove, 2);
    // Flat stretches of a baseline at zero give zones without height: they are no noise band.
    heights.insert(heights.end(), 40, 0);
    const NoiseEstimate zeros = EstimateNoise(heights);
    ASSERT_TRUE(zeros.ok);
    EXPECT_EQ(zeros.proposed, 5000);
}

TEST(AutoThreshold, RealSpectraGetAProposalAmongTheirZones) {
    for (const char* name : {"ltqft_ms1_scan1.txt", "orbitrap_qexactive_ms1.txt"}) {
        SCOPED_TRACE(name);
        SpectrumState s;
        ApplyLoadedSpectrum(s, ReadSpectrumFile(std::string(ORVELO_REAL_DATA) + "/" + name));
        RunPreliminary(s);
        const NoiseEstimate e = EstimateNoise(s.zones.height);
        ASSERT_TRUE(e.ok);
        EXPECT_GT(e.zonesAbove, 5);
        EXPECT_LT(e.zonesAbove, s.zones.count() / 2);
    }
}

}  // namespace
}  // namespace orvelo
