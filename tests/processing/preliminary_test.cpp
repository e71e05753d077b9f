#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/spectrum_file.h"
#include "processing/kernels.h"
#include "processing/preliminary.h"
#include "processing/zone_list.h"
#include "support/reference_smoothing.h"
#include "support/synthetic_spectrum.h"

namespace orvelo {
namespace {

using testing::SyntheticPeak;
using testing::SyntheticSpectrum;

// Five peaks on a flat baseline, apart by far more than their widths.
const std::vector<SyntheticPeak> kPlanted = {
    {20.0, 500, 1000}, {21.0, 500, 400}, {22.5, 500, 2500}, {25.0, 500, 50}, {27.0, 500, 1200}};

SpectrumState StateWith(const PointList& spectrum, int kolUsred) {
    SpectrumState s;
    s.Spectrum = spectrum;
    s.KolUsred = kolUsred;
    return s;
}

PointList FivePeaks(double noise) {
    SyntheticSpectrum synthetic;
    synthetic.peaks = kPlanted;
    synthetic.massFirst = 19.5;
    synthetic.massLast = 27.5;
    synthetic.spacing = 0.001;
    synthetic.baseline = 10;
    synthetic.noiseAmplitude = noise;
    synthetic.seed = 11;
    synthetic.integral = true;
    return synthetic.Generate();
}

std::string RunError(SpectrumState& s) {
    try {
        RunPreliminary(s);
    } catch (const OrveloError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(PreliminaryRun, FindsThePlantedPeaksAsZones) {
    SpectrumState s = StateWith(FivePeaks(0), 10);
    RunPreliminary(s);
    ASSERT_EQ(s.zones.count(), 5);
    // Sorted by height: 50, 400, 1000, 1200, 2500. Each pass widens a Gaussian by a variance of
    // half a sample squared, so 3 + 12 passes lower a peak of width sigma by sigma / sqrt(sigma^2 + 7.5).
    const int byHeight[] = {3, 1, 0, 4, 2};
    for (int k = 0; k < 5; ++k) {
        const SyntheticPeak& p = kPlanted[byHeight[k]];
        const double sigma = p.centre / p.resolvingPower / (2 * std::sqrt(2 * std::log(2.0))) / 0.001;
        const double height = p.amplitude * sigma / std::sqrt(sigma * sigma + 7.5);
        EXPECT_NEAR(s.zones.center[k], p.centre, 0.002) << k;
        EXPECT_NEAR(static_cast<double>(s.zones.height[k]), height, 0.003 * p.amplitude + 2) << k;
        EXPECT_EQ(s.PeakValley.x[s.zones.peakIndex[k]], s.zones.center[k]);
    }
    EXPECT_EQ(ZoneListLines(s).size(), 4u);
    // Threshold 0 keeps every zone: stage 7 is stage 5, which alternates and begins with a valley.
    EXPECT_EQ(s.FinalExtrema.x, s.PeakValley.x);
    EXPECT_EQ(s.FinalExtrema.y, s.PeakValley.y);
}

TEST(PreliminaryRun, HighestZonesOfANoisySpectrumAreThePlantedPeaks) {
    SpectrumState s = StateWith(FivePeaks(4), 10);
    RunPreliminary(s);
    ASSERT_GT(s.zones.count(), 5);
    std::vector<double> top(s.zones.center.end() - 4, s.zones.center.end());  // the 50 drowns in noise
    std::sort(top.begin(), top.end());
    const double want[] = {20.0, 21.0, 22.5, 27.0};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(top[k], want[k], 0.003) << k;
    for (std::size_t k = 1; k < s.zones.height.size(); ++k) EXPECT_LE(s.zones.height[k - 1], s.zones.height[k]);
}

TEST(PreliminaryRun, StagesOneAndTwoAreTheSmoothingPassesOfTheSpectrum) {
    const PointList spectrum = FivePeaks(4);
    // KolUsred + 2 passes for stage 2; a negative KolUsred leaves one pass.
    for (auto [kolUsred, passes] : {std::pair{0, 2}, {-1, 1}, {-7, 1}, {3, 5}, {150, 152}}) {
        SpectrumState s = StateWith(spectrum, kolUsred);
        Obrab1(s);
        Obrab2(s);
        const PointList stage1 = reference::SmoothPasses(spectrum, 3);
        EXPECT_EQ(s.Smooth.y, stage1.y);
        EXPECT_EQ(s.Averaged.y, reference::SmoothPasses(stage1, passes).y) << "KolUsred " << kolUsred;
        EXPECT_EQ(s.Smooth.x, spectrum.x);
        EXPECT_EQ(s.Averaged.x, spectrum.x);
    }
}

TEST(PreliminaryRun, SpectrumBeginningWithZerosKeepsItsFirstPeak) {
    SyntheticSpectrum synthetic;
    synthetic.peaks = {{30.0, 300, 800}, {31.0, 300, 300}};
    synthetic.massFirst = 29.8;  // 0.2 mass units of zeros before the first peak begins to rise
    synthetic.massLast = 31.5;
    synthetic.spacing = 0.001;
    synthetic.integral = true;
    SpectrumState s = StateWith(synthetic.Generate(), 2);
    ASSERT_EQ(s.Spectrum.y[0], 0);
    ASSERT_EQ(s.Spectrum.y[1], 0);
    RunPreliminary(s);
    ASSERT_EQ(s.zones.count(), 2);
    EXPECT_NEAR(s.zones.center[1], 30.0, 0.002);
    EXPECT_NEAR(s.zones.center[0], 31.0, 0.002);
}

TEST(PreliminaryRun, ThresholdDropsTheLowerZones) {
    SpectrumState s = StateWith(FivePeaks(0), 10);
    s.NoiseThreshold = 900;
    RunPreliminary(s);
    // The zones of 1000, 2500 and 1200 stay: valley and peak of each, and one closing valley.
    EXPECT_EQ(s.AboveNoise.count(), 7);
    ASSERT_EQ(s.FinalExtrema.count(), 7);
    std::vector<double> peaks;
    for (int i = 1; i < s.FinalExtrema.count(); i += 2) peaks.push_back(s.FinalExtrema.x[i]);
    ASSERT_EQ(peaks.size(), 3u);
    EXPECT_NEAR(peaks[0], 20.0, 0.002);
    EXPECT_NEAR(peaks[1], 22.5, 0.002);
    EXPECT_NEAR(peaks[2], 27.0, 0.002);
}

TEST(PreliminaryRun, StagesThatCannotBeBuiltStopTheRunWithTheReason) {
    const std::string prefix = "Предварительная обработка (шаг ";
    SpectrumState one = StateWith(PointList{{1}, {5}}, 150);
    EXPECT_EQ(RunError(one), prefix + "1): в спектре меньше двух точек");

    SpectrumState flat = StateWith(PointList{{1, 2, 3, 4}, {7, 7, 7, 7}}, 150);
    EXPECT_EQ(RunError(flat), prefix + "3): интенсивность нигде не меняется");

    SpectrumState rising = StateWith(PointList{{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}}, 2);
    EXPECT_EQ(RunError(rising), prefix + "4): в сглаженном спектре нет ни одного пика между двумя впадинами");

    SpectrumState equalMasses = StateWith(PointList{{1, 2, 2, 2, 3}, {0, 1, 2, 1, 0}}, 150);
    EXPECT_EQ(RunError(equalMasses), prefix + "1): три одинаковые массы подряд у 2");

    SpectrumState huge = StateWith(PointList{{1, 2, 3}, {0, 1e308, 0}}, 150);
    EXPECT_EQ(RunError(huge), prefix + "1): интенсивность 1E308 у массы 2 слишком велика для обработки");
    SpectrumState far = StateWith(PointList{{1e308, 1e308, 1e308}, {0, 1, 0}}, 150);
    EXPECT_EQ(RunError(far), prefix + "1): масса 1E308 слишком велика для обработки");

    SpectrumState high = StateWith(FivePeaks(0), 10);
    RunPreliminary(high);
    high.NoiseThreshold = 1'000'000;
    try {
        ObrabNaklon(high);
        ADD_FAILURE() << "no zone reaches the threshold";
    } catch (const OrveloError& e) {
        EXPECT_EQ(e.what(), prefix + "6): ни одна зона пика не достигает порога помех 1000000");
    }
    EXPECT_EQ(high.zones.count(), 5) << "the stages before the failed step stay built";
}

// A threshold carried over from another spectrum never locks the operator out: when no zone
// reaches it the run keeps every zone (threshold 0); when some zone does, it is kept as it is.
TEST(PreliminaryRun, CarriedThresholdFallsBackToZeroOnlyWhenNoZoneReachesIt) {
    SpectrumState high = StateWith(FivePeaks(0), 10);
    high.NoiseThreshold = 1'000'000;
    RunPreliminary(high);
    EXPECT_EQ(high.NoiseThreshold, 0);
    EXPECT_EQ(high.AboveNoise.count(), 2 * high.zones.count() + 1);
    EXPECT_EQ(OtsortVysota(high).size(), static_cast<std::size_t>(high.zones.count() - 1));

    SpectrumState fits = StateWith(FivePeaks(0), 10);
    RunPreliminary(fits);
    const int64_t highest = static_cast<int64_t>(fits.zones.height.back());
    fits.NoiseThreshold = highest;
    RunPreliminary(fits);
    EXPECT_EQ(fits.NoiseThreshold, highest);
    EXPECT_EQ(fits.AboveNoise.count(), 3);
}

TEST(PreliminaryRun, AbsurdKolUsredIsRefusedBeforeAnyStageChanges) {
    EXPECT_FALSE(CheckKolUsred(150, 1'000'000));
    EXPECT_FALSE(CheckKolUsred(-5, 10'000'000));
    EXPECT_FALSE(CheckKolUsred(1995, 10'000'000));  // 2000 passes: just within a minute
    EXPECT_TRUE(CheckKolUsred(1996, 10'000'000));

    SpectrumState s = StateWith(FivePeaks(0), 150);
    RunPreliminary(s);
    const PointList smoothBefore = s.Smooth;
    const int zonesBefore = s.zones.count();
    s.KolUsred = 2'000'000'000;
    EXPECT_EQ(RunError(s), "KolUsred = 2000000000 слишком велико: 2000000005 проходов сглаживания по " +
                               std::to_string(s.Spectrum.count()) +
                               " точкам спектра заняли бы больше минуты. Задайте не больше " +
                               std::to_string(static_cast<long long>(2e10 / s.Spectrum.count()) - 5));
    EXPECT_EQ(s.Smooth.y, smoothBefore.y);
    EXPECT_EQ(s.zones.count(), zonesBefore);
}

TEST(PreliminaryRun, RunsOnRealSpectra) {
    for (const char* name : {"orbitrap_qexactive_ms1.txt", "ltqft_ms1_scan1.txt"}) {
        SpectrumState s = StateWith(ReadSpectrumFile(std::string(ORVELO_REAL_DATA) + "/" + name).points, 5);
        RunPreliminary(s);
        EXPECT_GT(s.zones.count(), 100) << name;
        // Stage 5 alternates strictly: valley, peak, valley ...
        for (int i = 1; i < s.PeakValley.count(); ++i)
            EXPECT_EQ(s.PeakValley.y[i] > s.PeakValley.y[i - 1], i % 2 == 1) << name << " at " << i;
        EXPECT_GE(s.zones.height.front(), 0) << name;
        EXPECT_EQ(s.FinalExtrema.x, s.PeakValley.x) << name;
    }
}

}  // namespace
}  // namespace orvelo
