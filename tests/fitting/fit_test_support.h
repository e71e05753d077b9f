#pragma once
// Shared inputs of the fitting tests: peaks made by the model itself, spectra with known
// peaks run through the preliminary processing, and exact comparisons of results.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/spectrum_state.h"
#include "fitting/fit_window.h"
#include "fitting/peak_fit.h"
#include "processing/preliminary.h"
#include "support/synthetic_spectrum.h"

namespace orvelo::testing {

// The model F(x) = A + B exp(-(K C (D/x - 1))^n), written independently of the fit, with
// K = 1.6651 written out: a fit that recovers C from these samples uses that same K.
inline double ModelValue(const Params& p, double n, double x) {
    const double t = 1.6651 * p[2] * (p[3] / x - 1);
    return p[0] + p[1] * std::exp(-std::pow(t, n));
}

// `samples` samples of the model spaced D / (10 C) apart, centred on D.
inline PointList ModelPeak(const Params& p, double n, int samples = 61) {
    PointList list;
    const double spacing = p[3] / (10 * p[2]);
    const int half = samples / 2;
    for (int i = -half; i <= half; ++i) {
        const double x = p[3] + i * spacing;
        list.push(x, ModelValue(p, n, x));
    }
    return list;
}

// The zone input of the whole list, as the final run computes it.
inline PeakInput WholeListInput(const FitSource& source) {
    const PointList& s = source.spectrum();
    return source.Input(s.x.front(), s.x.back());
}

inline bool BitEqual(const PeakResult& a, const PeakResult& b) { return std::memcmp(&a, &b, sizeof(PeakResult)) == 0; }

inline bool AllFinite(const PeakResult& r) {
    const double v[] = {r.Left,      r.Right,     r.Centre, r.R,    r.Height, r.Background, r.Errors[0], r.Errors[1],
                        r.Errors[2], r.Errors[3], r.StdErr, r.Iter, r.S,      r.N,          r.ZoneIndex};
    for (double x : v)
        if (!std::isfinite(x)) return false;
    return true;
}

// A spectrum of well separated peaks (Gaussian and flat-topped) after the preliminary run
// with the given averaging, threshold 0.
inline SpectrumState PreparedState(const PointList& spectrum, int kolUsred) {
    SpectrumState state;
    state.Spectrum = spectrum;
    state.KolUsred = kolUsred;
    RunPreliminary(state);
    return state;
}

inline SyntheticSpectrum TwelvePeaks(double power, double noise) {
    SyntheticSpectrum s;
    for (int i = 0; i < 12; ++i) s.peaks.push_back({50.0 + 2 * i + 0.01 * i, 2000.0 + 100 * i, 500.0 + 300 * i, power});
    s.massFirst = 49;
    s.massLast = 74;
    s.spacing = 0.002;
    s.baseline = 20;
    s.noiseAmplitude = noise;
    s.seed = 11;
    s.integral = true;
    return s;
}

}  // namespace orvelo::testing
