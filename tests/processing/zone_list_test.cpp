#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "processing/kernels.h"
#include "processing/zone_list.h"

namespace orvelo {
namespace {

// A zone table of the given heights, centres 100, 101, ...; every zone's maximum is point 1
// of a three-point stage 5 that lies on a three-point spectrum.
SpectrumState StateWithHeights(const std::vector<int64_t>& heights) {
    SpectrumState s;
    s.Spectrum = PointList{{99, 100, 101}, {0, 9, 0}};
    s.PeakValley = s.Spectrum;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        s.zones.height.push_back(heights[i]);
        s.zones.center.push_back(100.0 + static_cast<double>(i));
        s.zones.peakIndex.push_back(1);
    }
    return s;
}

std::vector<int64_t> Repeat(int64_t value, int times, std::vector<int64_t> then) {
    std::vector<int64_t> out(static_cast<std::size_t>(times), value);
    out.insert(out.end(), then.begin(), then.end());
    return out;
}

TEST(ZoneList, SortsByHeightKeepingMassOrderForEqualHeights) {
    SpectrumState s = StateWithHeights({5, 3, 5, 3});
    s.zones.peakIndex = {10, 20, 30, 40};
    OtsortVysota(s);
    EXPECT_EQ(s.zones.height, (std::vector<int64_t>{3, 3, 5, 5}));
    EXPECT_EQ(s.zones.center, (std::vector<double>{101, 103, 100, 102}));
    EXPECT_EQ(s.zones.peakIndex, (std::vector<int32_t>{20, 40, 10, 30}));
}

// Many more zones than a small sort handles by insertion: three heights, twenty zones each.
TEST(ZoneList, ManyZonesOfEqualHeightKeepTheirMassOrder) {
    std::vector<int64_t> heights;
    for (int i = 0; i < 60; ++i) heights.push_back((i * 7) % 3);
    SpectrumState s = StateWithHeights(heights);
    OtsortVysota(s);
    for (int i = 1; i < 60; ++i) {
        ASSERT_LE(s.zones.height[i - 1], s.zones.height[i]);
        if (s.zones.height[i - 1] == s.zones.height[i]) {
            EXPECT_LT(s.zones.center[i - 1], s.zones.center[i]) << "line " << i;
        }
    }
}

TEST(ZoneList, LinesShowHeightAndCentreAndLeaveOutTheHighestZone) {
    SpectrumState s = StateWithHeights({12, 5'000'000'000, 13});
    s.zones.center = {57.21, 99.96, 60};
    EXPECT_EQ(OtsortVysota(s), (std::vector<std::string>{"12,   57.2", "13,   60.0"}));
    EXPECT_EQ(ZoneListLines(s), OtsortVysota(s));

    SpectrumState single = StateWithHeights({4});
    EXPECT_TRUE(OtsortVysota(single).empty());
    SpectrumState none = StateWithHeights({});
    none.FirstListedZone = 3;
    EXPECT_TRUE(OtsortVysota(none).empty());
    EXPECT_EQ(none.FirstListedZone, 0);
}

TEST(ZoneList, ListKeepsFiveZeroHeightZonesBeforeTheFirstPositive) {
    const struct {
        std::vector<int64_t> heights;
        int firstListed;
        std::size_t lines;
    } cases[] = {
        {{0, 0, 3, 7}, 0, 3},         {Repeat(0, 10, {4, 9, 12}), 5, 7},
        {Repeat(0, 6, {5, 8}), 1, 6}, {Repeat(0, 5, {5, 8}), 0, 6},
        {Repeat(0, 8, {5}), 0, 8},                        // the only positive zone is the highest: no search reaches it
        {Repeat(0, 4, {}), 0, 3},     {{1, 0, 0}, 0, 2},  // sorted first: 0 0 1
    };
    for (const auto& c : cases) {
        SpectrumState s = StateWithHeights(c.heights);
        const std::vector<std::string> lines = OtsortVysota(s);
        EXPECT_EQ(s.FirstListedZone, c.firstListed) << c.heights.size() << " zones";
        EXPECT_EQ(lines.size(), c.lines) << c.heights.size() << " zones";
    }
    SpectrumState s = StateWithHeights(Repeat(0, 10, {4, 9, 12}));
    const std::vector<std::string> lines = OtsortVysota(s);
    EXPECT_EQ(lines.front(), "0,   105.0");
    EXPECT_EQ(lines[5], "4,   110.0");
}

TEST(ZoneList, ClickedLineSetsTheThresholdToItsZoneHeight) {
    SpectrumState s = StateWithHeights(Repeat(0, 10, {4, 9, 12}));
    OtsortVysota(s);
    s.NoiseThreshold = 77;
    NextVysota(s, 0);  // zone 5
    EXPECT_EQ(s.NoiseThreshold, 0);
    EXPECT_EQ(s.SelectedZone, 0);
    NextVysota(s, 5);  // the line of 4
    EXPECT_EQ(s.NoiseThreshold, 4);
    EXPECT_EQ(s.SelectedZone, 5);
}

TEST(ZoneList, LinesOutsideTheListAreRefused) {
    SpectrumState s = StateWithHeights({3, 1, 2});
    OtsortVysota(s);
    s.NoiseThreshold = 77;
    for (int line : {-1, 2, 3, 1000}) EXPECT_THROW(NextVysota(s, line), OrveloError) << line;
    EXPECT_EQ(s.NoiseThreshold, 77);
    SpectrumState empty = StateWithHeights({});
    OtsortVysota(empty);
    EXPECT_THROW(NextVysota(empty, 0), OrveloError);
}

// A spectrum of 300 points at masses 100, 100.5, ...; stage 5 holds its points
// 0 (valley), 5 (peak), 20, 100 (peak), 150, 200 (peak), 250, 290 (peak), 299.
SpectrumState StateForWindows() {
    SpectrumState s;
    for (int i = 0; i < 300; ++i) s.Spectrum.push(100 + 0.5 * i, i % 7);
    const int points[] = {0, 5, 20, 100, 150, 200, 250, 290, 299};
    const double y[] = {0, 10, 0, 40, 0, 30, 0, 20, 0};
    for (int k = 0; k < 9; ++k) s.PeakValley.push(s.Spectrum.x[points[k]], y[k]);
    BuildZones(s.PeakValley, s.zones);
    OtsortVysota(s);  // lines: peak 5 (10), peak 290 (20), peak 200 (30); peak 100 is the highest
    return s;
}

TEST(ZoneList, WindowReachesSixtyPointsEachSideAndStopsAtTheEnds) {
    SpectrumState s = StateForWindows();
    const struct {
        int line;
        double firstMass, lastMass;  // of the spectrum window
        int marker;
        double peakMass;
        std::vector<double> peakValley;  // masses of the stage-5 points shown
    } cases[] = {
        {0, 100, 132.5, 5, 102.5, {100, 102.5, 110, 150}},  // the last one lies beyond the window
        {1, 215, 249.5, 60, 245, {225, 245, 249.5}},
        {2, 170, 230, 60, 200, {175, 200, 225, 245}},
    };
    for (const auto& c : cases) {
        const ZoneView view = NextVysota(s, c.line);
        ASSERT_FALSE(view.window.empty());
        EXPECT_EQ(view.window.x.front(), c.firstMass) << c.line;
        EXPECT_EQ(view.window.x.back(), c.lastMass) << c.line;
        EXPECT_EQ(view.window.count(), static_cast<int>((c.lastMass - c.firstMass) * 2) + 1) << c.line;
        EXPECT_EQ(view.markerIndex, c.marker) << c.line;
        EXPECT_EQ(s.MarkerIndex, c.marker) << c.line;
        EXPECT_EQ(view.peakValley.x, c.peakValley) << c.line;
        EXPECT_EQ(view.window.x[view.markerIndex], c.peakMass) << "the marker stands on the zone's maximum";
    }
}

TEST(ZoneList, ZoneBeyondTheLoadedSpectrumShowsItsBeginning) {
    SpectrumState s = StateForWindows();
    for (double& x : s.Spectrum.x) x -= 1000;  // another spectrum loaded since: every mass is below
    const ZoneView view = NextVysota(s, 1);
    EXPECT_EQ(view.markerIndex, 0);
    EXPECT_EQ(view.window.count(), 61);
    EXPECT_EQ(view.peakValley.count(), 1);  // i1 = i2 = 0

    s.Spectrum.clear();
    const ZoneView nothing = NextVysota(s, 1);
    EXPECT_TRUE(nothing.window.empty());
    EXPECT_TRUE(nothing.peakValley.empty());
    EXPECT_EQ(s.NoiseThreshold, 20);
}

}  // namespace
}  // namespace orvelo
