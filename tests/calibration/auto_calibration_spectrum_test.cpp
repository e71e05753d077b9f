// A reference spectrum made with a known mass error, matched, calibrated and processed again.
// The spectrum holds alkyl and alkenyl ions (every fifth left out), oxygen-containing ions that
// are no reference but lie 36 mmu from one, and weak noise peaks 30 to 60 mmu beside some ions.
// The measured masses are off by the parabola e(m) = -3 + 0.06 m + 0.00062 m^2 mmu (+49 mmu at
// the top of the range).
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

#include "calibration/auto_calibration.h"
#include "calibration/calibration_workflow.h"
#include "core/spectrum_file.h"
#include "fitting/final_run.h"
#include "fitting/noise_threshold.h"
#include "processing/preliminary.h"
#include "support/synthetic_spectrum.h"

namespace orvelo {
namespace {

constexpr double kFwhm = 0.010;      // u: the peaks' width, the same at every mass
constexpr int64_t kThreshold = 700;  // above the noise zones, below the weak noise peaks

double MassErrorMmu(double m) { return -3 + 0.06 * m + 0.00062 * m * m; }

double CH(int nC, int nH) {
    return static_cast<double>(static_cast<long double>(nC) * 12.0L + static_cast<long double>(nH) * 1.00783L);
}

struct Planted {
    std::vector<double> ions;  // true masses of the reference ions in the spectrum
    testing::SyntheticSpectrum spectrum;
};

testing::SyntheticPeak PeakAt(double centre, double height) { return {centre, centre / kFwhm, height}; }

// withError: the peaks at their measured masses; without, at their true masses.
Planted Generate(bool withError) {
    Planted p;
    auto shifted = [&](double m) { return withError ? m + MassErrorMmu(m) / 1000 : m; };
    int count = 0;
    for (int n = 2; n <= 17; ++n) {
        for (int h : {2 * n + 1, 2 * n - 1}) {
            if (++count % 5 == 0) continue;  // a missing reference
            const double m = CH(n, h);
            const double height = 2000 + 1900.0 * ((count * 37) % 11);
            p.ions.push_back(m);
            p.spectrum.peaks.push_back(PeakAt(shifted(m), height));
            if (count % 3 == 0) p.spectrum.peaks.push_back(PeakAt(shifted(m + 0.030 + 0.002 * (count % 16)), 1400));
        }
        // CnH(2n-1)O, a strong ion with no reference, 36.4 mmu below CnH(2n+1); at n = 2, 7, 12
        // and 17 its CH neighbour is missing, so it is the only peak near that reference.
        const double oxygen = CH(n, 2 * n - 1) + 15.99491;
        if (n % 2 == 0) p.spectrum.peaks.push_back(PeakAt(shifted(oxygen), 6000));
    }
    p.spectrum.massFirst = 24;
    p.spectrum.massLast = 245;
    p.spectrum.spacing = 0.001;
    p.spectrum.baseline = 300;
    p.spectrum.noiseAmplitude = 250;
    p.spectrum.seed = 15;
    p.spectrum.integral = true;
    return p;
}

PeakResults FinalRun(SpectrumState& state) {
    state.KolUsred = 5;
    RunPreliminary(state);
    ApplyNoiseThreshold(state, kThreshold);
    return RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, FinalRunOptions{}).peaks;
}

// The fitted peak nearest to `mass`, if one lies within 5 mmu.
int NearestPeak(const PeakResults& peaks, double mass) {
    int best = -1;
    for (int i = 0; i < static_cast<int>(peaks.size()); ++i)
        if (std::fabs(peaks[i].Centre - mass) < 0.005 &&
            (best < 0 || std::fabs(peaks[i].Centre - mass) < std::fabs(peaks[best].Centre - mass)))
            best = i;
    return best;
}

// RMS in mmu of the fitted reference peaks against their true masses.
double ReferenceRmsMmu(const PeakResults& peaks, const std::vector<double>& ions) {
    double sum = 0;
    for (double m : ions) {
        const int i = NearestPeak(peaks, m);
        EXPECT_GE(i, 0) << m;
        if (i >= 0) sum += std::pow((peaks[i].Centre - m) * 1000, 2);
    }
    return std::sqrt(sum / static_cast<double>(ions.size()));
}

// Save and open again, as the operator does after "Пересчитать данные".
void SaveAndOpen(SpectrumState& state) {
    std::string bytes;
    for (const std::string& line : SpectrumFileLines("s", state.Spectrum, 0, state.Spectrum.count() - 1))
        bytes += line + "\r\n";
    SpectrumState reopened;
    ApplyLoadedSpectrum(reopened, ParseSpectrumText(bytes));
    state = std::move(reopened);
}

TEST(AutoCalibrationSpectrum, MatchesEveryCleanIonAndCalibratesAsWellAsAnErrorFreeSpectrum) {
    const Planted planted = Generate(true);
    SpectrumState state;
    state.Spectrum = planted.spectrum.Generate();
    const PeakResults peaks = FinalRun(state);
    ASSERT_EQ(peaks.size(), planted.spectrum.peaks.size());  // the noise and oxygen peaks are there

    AutoCalibrationSettings settings;
    settings.kind = CurveKind::Parabola;
    const ReferenceTables tables = BuildReferenceTables(peaks, ElementMasses{}, ReferenceMassKind::Neutral);
    const AutoCalibration match = MatchReferences(peaks, ReferenceIons(tables, ReferenceChoice{}), settings);
    ASSERT_TRUE(match.ok()) << match.message;
    EXPECT_EQ(match.stop, MatchStop::Stable);

    // Every planted ion matched to its own peak, and nothing else kept.
    int kept = 0;
    for (const ReferenceMatch& m : match.references) {
        const bool planted_ion = std::find(planted.ions.begin(), planted.ions.end(), m.ion.mass) != planted.ions.end();
        EXPECT_EQ(m.kept(), planted_ion) << m.ion.name << " " << LeftOutText(m.reason);
        if (!m.kept()) continue;
        ++kept;
        EXPECT_EQ(m.peak, NearestPeak(peaks, m.ion.mass + MassErrorMmu(m.ion.mass) / 1000)) << m.ion.name;
    }
    EXPECT_EQ(kept, static_cast<int>(planted.ions.size()));

    CalibrationList list;
    ASSERT_TRUE(FillCalibrationList(match, FillListMass(peaks), list).changed());
    PointList points;
    ASSERT_TRUE(ProverkaZapol(list, peaks, points).ok());
    const CurveFit fit = PodobratParabola(points);
    ASSERT_TRUE(fit.result.ok()) << fit.result.message;
    ApplyCalibration(fit.curve, state.Spectrum);
    SaveAndOpen(state);
    const double calibrated = ReferenceRmsMmu(FinalRun(state), planted.ions);

    SpectrumState clean;
    clean.Spectrum = Generate(false).spectrum.Generate();
    SaveAndOpen(clean);
    const double errorFree = ReferenceRmsMmu(FinalRun(clean), planted.ions);

    std::cout << peaks.size() << " peaks fitted (" << planted.spectrum.peaks.size() << " planted); matched " << kept
              << " of " << planted.ions.size() << " planted ions (" << match.references.size()
              << " references); matcher RMS before " << match.rmsBeforeMmu << " mmu, after " << match.rmsAfterMmu
              << " mmu; reference RMS after recalibration and a new final run " << calibrated
              << " mmu, error-free spectrum " << errorFree << " mmu, ratio " << calibrated / errorFree << "\n";
    EXPECT_LE(calibrated, 1.5 * errorFree);
}

}  // namespace
}  // namespace orvelo
