#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "processing/kernels.h"
#include "processing/smoothing.h"
#include "support/reference_smoothing.h"

namespace orvelo {
namespace {

// Masses 1, 2, 3 ... for the intensities given.
PointList AtUnitMasses(const std::vector<double>& y) {
    PointList p;
    for (std::size_t i = 0; i < y.size(); ++i) p.push(static_cast<double>(i + 1), y[i]);
    return p;
}

std::string ErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const OrveloError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(Kernels, SmoothingFollowsTheLineThroughTheMidpoints) {
    PointList out;
    MidpointSmooth(AtUnitMasses({0, 0, 4, 0, 0}), out);
    EXPECT_EQ(out.y, (std::vector<double>{0, 1, 2, 1, 0}));
    EXPECT_EQ(out.x, (std::vector<double>{1, 2, 3, 4, 5}));

    // Uneven masses 0, 1, 3: midpoints (0.5, 1) and (2, 3); at mass 1 the line gives 1 + 0.5 * 2 / 1.5.
    PointList uneven{{0, 1, 3}, {0, 2, 4}};
    MidpointSmooth(uneven, out);
    EXPECT_EQ(out.y, (std::vector<double>{0, 1 + (0.5 * 2) / 1.5, 4}));

    PointList two{{5, 6}, {7, -3}};
    MidpointSmooth(two, out);
    EXPECT_EQ(out.y, two.y);
    EXPECT_EQ(out.x, two.x);
}

TEST(Kernels, InPlaceSmoothingReadsOnlyThePreviousValues) {
    PointList list = AtUnitMasses({0, 0, 4, 0, 0});
    MidpointSmoothInPlace(list);
    EXPECT_EQ(list.y, (std::vector<double>{0, 1, 2, 1, 0}));
    MidpointSmoothInPlace(list);
    EXPECT_EQ(list.y, (std::vector<double>{0, 1, 1.5, 1, 0}));
}

// The two formulas describe one line but round differently; the interpolation must always
// start from the lower midpoint, whichever way the curve goes.
TEST(Kernels, SmoothingInterpolatesFromTheLowerMidpoint) {
    int differing = 0;
    for (int k = 1; k < 400 && differing < 20; ++k) {
        const std::vector<double> x = {0, 0.1 * k, 0.1 * k + 0.37 + 0.013 * k};
        for (const std::vector<double>& y :
             {std::vector<double>{0.3 * k, 7.1, 100.0 / k}, std::vector<double>{100.0 / k, 7.1, 0.3 * k}}) {
            const double xL = (x[0] + x[1]) / 2, xR = (x[1] + x[2]) / 2;
            const double yL = (y[0] + y[1]) / 2, yR = (y[1] + y[2]) / 2;
            const double fromLeft = yL + ((x[1] - xL) * (yR - yL)) / (xR - xL);
            const double fromRight = yR + ((xR - x[1]) * (yL - yR)) / (xR - xL);
            if (fromLeft == fromRight) continue;
            ++differing;
            PointList out;
            MidpointSmooth(PointList{x, y}, out);
            EXPECT_EQ(out.y[1], yR > yL ? fromLeft : fromRight) << "k = " << k;
        }
    }
    EXPECT_GT(differing, 0) << "no case where the two formulas round differently";
}

TEST(Kernels, ThreeEqualMassesAreRefusedWithTheMass) {
    PointList list{{1, 2, 2, 2, 3}, {0, 1, 2, 3, 4}};
    const PointList before = list;
    EXPECT_EQ(ErrorText([&] { MidpointSmoothInPlace(list, "Шаг"); }), "Шаг: три одинаковые массы подряд у 2");
    EXPECT_EQ(list.y, before.y) << "a refused pass changes nothing";

    PointList big;  // far into a long list: masses 0, 1, ..., 4999, 4999, 5001, ...
    for (int i = 0; i < 20000; ++i) big.push(i == 5000 || i == 5001 ? 4999 : i, i % 3);
    EXPECT_EQ(ErrorText([&] { MidpointSmoothPasses(big, big, 100, "Шаг"); }),
              "Шаг: три одинаковые массы подряд у 4999");
    // Two equal masses are fine: the midpoints still differ.
    PointList out;
    MidpointSmooth(PointList{{1, 2, 2, 3}, {0, 4, 4, 0}}, out);
    for (double y : out.y) EXPECT_FALSE(std::isnan(y));
}

TEST(Kernels, EveryKernelRefusesFewerThanTwoPoints) {
    const PointList one{{1}, {5}};
    const PointList none;
    PointList out;
    ZoneTable zones;
    for (const PointList* in : {&none, &one}) {
        const std::vector<std::function<void()>> kernels = {
            [&] { MidpointSmooth(*in, out, "Проба"); }, [&] { MidpointSmoothPasses(*in, out, 10, "Проба"); },
            [&] { TurningPoints(*in, out, "Проба"); },  [&] { TrimToValleys(*in, out, "Проба"); },
            [&] { BuildZones(*in, zones, "Проба"); },   [&] { ThresholdZones(*in, 0, out, "Проба"); },
        };
        for (const auto& kernel : kernels) EXPECT_EQ(ErrorText(kernel).rfind("Проба: ", 0), 0u) << ErrorText(kernel);
    }
    PointList list = one;
    EXPECT_EQ(ErrorText([&] { MidpointSmoothInPlace(list); }).rfind("Предварительная обработка: ", 0), 0u);
}

TEST(Kernels, TurningPointsAlternateAndTakeTheLastPointOfAFlatRun) {
    PointList out;
    TurningPoints(AtUnitMasses({1, 3, 3, 2, 5}), out);
    EXPECT_EQ(out.x, (std::vector<double>{1, 3, 4, 5}));
    TurningPoints(AtUnitMasses({5, 4, 6}), out);
    EXPECT_EQ(out.x, (std::vector<double>{1, 2, 3}));
    TurningPoints(AtUnitMasses({2, 2, 2, 2}), out);
    EXPECT_EQ(out.x, (std::vector<double>{4}));
    TurningPoints(AtUnitMasses({1, 2, 3, 4}), out);
    EXPECT_EQ(out.x, (std::vector<double>{1, 4}));
    TurningPoints(AtUnitMasses({4, 3, 2, 1}), out);
    EXPECT_EQ(out.x, (std::vector<double>{1, 4}));
    const PointList alternating = AtUnitMasses({0, 5, 1, 9, 2, 3, 0});
    TurningPoints(alternating, out);
    EXPECT_EQ(out.x, alternating.x);
    EXPECT_EQ(out.y, alternating.y);
}

// A spectrum that begins with a flat run takes the role of its first point from the first
// intensity that differs: rising after zeros means the zeros are a valley, and the first peak
// keeps the valley before it (so TrimToValleys does not throw the peak away).
TEST(Kernels, SpectrumBeginningWithZerosKeepsItsFirstPeak) {
    PointList out;
    TurningPoints(AtUnitMasses({0, 0, 0, 5, 0, 0, 3, 0}), out);
    EXPECT_EQ(out.x, (std::vector<double>{3, 4, 6, 7, 8}));
    EXPECT_EQ(out.y, (std::vector<double>{0, 5, 0, 3, 0}));
    PointList trimmed;
    TrimToValleys(out, trimmed);
    ZoneTable zones;
    BuildZones(trimmed, zones);
    EXPECT_EQ(zones.center, (std::vector<double>{4, 7}));

    TurningPoints(AtUnitMasses({3, 3, 3, 1, 2}), out);  // flat, then falling: a maximum first
    EXPECT_EQ(out.x, (std::vector<double>{3, 4, 5}));
    EXPECT_EQ(out.y, (std::vector<double>{3, 1, 2}));
}

TEST(Kernels, TrimToValleysDropsLeadingAndTrailingMaxima) {
    PointList out;
    TrimToValleys(AtUnitMasses({9, 1, 8, 2, 7}), out);
    EXPECT_EQ(out.y, (std::vector<double>{1, 8, 2}));
    TrimToValleys(AtUnitMasses({1, 8, 2}), out);
    EXPECT_EQ(out.y, (std::vector<double>{1, 8, 2}));
    TrimToValleys(AtUnitMasses({8, 2}), out);  // a falling pair leaves its valley
    EXPECT_EQ(out.y, (std::vector<double>{2}));
    TrimToValleys(AtUnitMasses({2, 8}), out);
    EXPECT_EQ(out.y, (std::vector<double>{2}));
}

TEST(Kernels, ZonesHaveTheMeanOfRiseAndFallRoundedDown) {
    ZoneTable zones;
    BuildZones(AtUnitMasses({0, 10, 4, 7, 3}), zones);
    EXPECT_EQ(zones.height, (std::vector<int64_t>{8, 3}));
    EXPECT_EQ(zones.peakIndex, (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(zones.center, (std::vector<double>{2, 4}));

    BuildZones(AtUnitMasses({6, 0, 10, 4, 7}), zones);  // begins with a maximum: offset 1
    EXPECT_EQ(zones.peakIndex, (std::vector<int32_t>{2}));
    BuildZones(AtUnitMasses({0, 1, 3}), zones);  // (1 - 2) / 2 rounds down to -1
    EXPECT_EQ(zones.height, (std::vector<int64_t>{-1}));
    BuildZones(AtUnitMasses({0, 1e13, 0}), zones);  // far beyond 32 bits
    EXPECT_EQ(zones.height, (std::vector<int64_t>{10'000'000'000'000}));
    BuildZones(AtUnitMasses({0, 5}), zones);
    EXPECT_EQ(zones.count(), 0);
}

TEST(Kernels, ThresholdKeepsZonesAtLeastAsHighAsTheThreshold) {
    const PointList stage5 = AtUnitMasses({0, 10, 4, 7, 3});
    PointList out;
    ThresholdZones(stage5, 5, out);
    EXPECT_EQ(out.y, (std::vector<double>{0, 10, 4}));
    ThresholdZones(stage5, 8, out);  // exactly the height keeps the zone
    EXPECT_EQ(out.y, (std::vector<double>{0, 10, 4}));
    ThresholdZones(stage5, 9, out);
    EXPECT_EQ(out.y, (std::vector<double>{0}));
    ThresholdZones(stage5, 0, out);
    EXPECT_EQ(out.y, stage5.y);

    // A dropped zone in the middle: the next kept valley follows the kept peak directly.
    const PointList three = AtUnitMasses({0, 10, 4, 7, 3, 20, 1});
    ThresholdZones(three, 5, out);
    EXPECT_EQ(out.x, (std::vector<double>{1, 2, 5, 6, 7}));
    PointList stage7;
    TurningPoints(out, stage7);
    EXPECT_EQ(stage7.y, (std::vector<double>{0, 10, 3, 20, 1}));
}

TEST(Kernels, ManyPassesEqualOnePassAtATimeOnSmallLists) {
    const PointList list{{1, 2, 3.5, 4, 6, 6.25, 9}, {0, 3, 1, 8, 8, 2, 5}};
    for (int passes : {1, 2, 3, 7, 50}) {
        PointList out;
        MidpointSmoothPasses(list, out, passes);
        EXPECT_EQ(out.y, reference::SmoothPasses(list, passes).y) << passes << " passes";
        PointList same = list;
        MidpointSmoothPasses(same, same, passes);
        EXPECT_EQ(same.y, out.y) << "in place, " << passes << " passes";
    }
}

}  // namespace
}  // namespace orvelo
