// The fast many-pass smoothing against the one-pass-at-a-time definition, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/spectrum_file.h"
#include "processing/kernels.h"
#include "processing/smoothing.h"
#include "support/reference_smoothing.h"

namespace orvelo {
namespace {

using smoothing::kBlock;
constexpr int kPassesPerRound = static_cast<int>(smoothing::kPassesPerRound);

// "" when equal to the last bit, otherwise where and how they first differ.
std::string FirstDifference(const std::vector<double>& got, const std::vector<double>& want) {
    if (got.size() != want.size())
        return "size " + std::to_string(got.size()) + " instead of " + std::to_string(want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        if (std::bit_cast<uint64_t>(got[i]) != std::bit_cast<uint64_t>(want[i]))
            return "index " + std::to_string(i) + ": " + std::to_string(got[i]) + " instead of " +
                   std::to_string(want[i]);
    return "";
}

// Uneven mass steps (now and then a tiny one, or two equal masses), and intensities with flat
// runs, zeros, spikes and negative values, so that both interpolation branches and ties occur.
PointList RandomSpectrum(std::size_t n, uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    PointList p;
    double x = 20 + 100 * unit(random);
    double y = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double kind = unit(random);
        const bool canRepeat = i >= 2 && p.x[i - 1] != p.x[i - 2];
        if (i > 0) x += kind < 0.02 && canRepeat ? 0.0 : kind < 0.05 ? 1e-9 : 0.001 + 0.1 * unit(random);
        const double shape = unit(random);
        if (shape < 0.3) {
            // a flat run: the intensity stays
        } else if (shape < 0.5) y = 0;
        else if (shape < 0.55) y = 1e6 * unit(random);  // spike
        else if (shape < 0.6) y = -50 * unit(random);
        else y = std::floor(20 * unit(random)) + (shape < 0.8 ? 0 : unit(random));
        p.push(x, y);
    }
    return p;
}

void ExpectSameAsOnePassAtATime(const PointList& in, int passes, const std::string& what) {
    PointList fast;
    MidpointSmoothPasses(in, fast, passes);
    const PointList want = reference::SmoothPasses(in, passes);
    EXPECT_EQ(FirstDifference(fast.y, want.y), "") << what << ", " << passes << " passes";
    EXPECT_EQ(fast.x, in.x) << what;
}

TEST(Kernels, FastSmoothingIsBitIdenticalOnRandomSpectra) {
    const std::size_t sizes[] = {2,
                                 3,
                                 4,
                                 5,
                                 50,
                                 kBlock - 1,
                                 kBlock,
                                 kBlock + 1,
                                 2 * kBlock - 1,
                                 2 * kBlock + 1,
                                 3 * kBlock + kPassesPerRound,
                                 5 * kBlock + 7};
    const int passes[] = {1,  2, 3, kPassesPerRound - 1, kPassesPerRound, kPassesPerRound + 1, 2 * kPassesPerRound + 1,
                          152};
    uint64_t seed = 1;
    for (std::size_t n : sizes)
        for (int p : passes) ExpectSameAsOnePassAtATime(RandomSpectrum(n, seed++), p, std::to_string(n) + " points");
}

// Large enough for both cores to share the blocks of every round.
TEST(Kernels, FastSmoothingIsBitIdenticalWhenBothCoresWork) {
    const PointList big = RandomSpectrum(40 * kBlock + 3, 99);
    for (int p : {kPassesPerRound, 155}) ExpectSameAsOnePassAtATime(big, p, "large spectrum");

    PointList inPlace = big;
    MidpointSmoothPasses(inPlace, inPlace, 155);
    EXPECT_EQ(FirstDifference(inPlace.y, reference::SmoothPasses(big, 155).y), "") << "in place";
}

TEST(Kernels, FastSmoothingIsBitIdenticalOnRealSpectra) {
    for (const char* name : {"orbitrap_qexactive_ms1.txt", "ltqft_ms1_scan1.txt"}) {
        const LoadedSpectrum loaded = ReadSpectrumFile(std::string(ORVELO_REAL_DATA) + "/" + name);
        ASSERT_GT(loaded.points.count(), 10000) << name;
        for (int p : {3, 7, 152}) ExpectSameAsOnePassAtATime(loaded.points, p, name);
    }
}

}  // namespace
}  // namespace orvelo
