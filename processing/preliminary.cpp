#include "processing/preliminary.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/number_text.h"
#include "processing/kernels.h"
#include "processing/smoothing.h"
#include "processing/step_error.h"

namespace orvelo {

// Each step names itself by the stage it builds: "Предварительная обработка (шаг 3)". A stage
// too short for the step after it is reported by the step that built it, with the reason.

namespace {

// Masses and intensities beyond this overflow the sums of the smoothing and of the fit (their
// squares are summed); no instrument comes near it.
constexpr double kLargestUsableValue = 1e100;

void RequireUsableValues(const PointList& spectrum, const std::string& step) {
    for (int i = 0; i < spectrum.count(); ++i) {
        const double x = spectrum.x[i], y = spectrum.y[i];
        if (std::fabs(x) > kLargestUsableValue)
            ThrowStepError(step, "масса " + FormatGeneral(x) + " слишком велика для обработки");
        if (std::fabs(y) > kLargestUsableValue)
            ThrowStepError(step, "интенсивность " + FormatGeneral(y) + " у массы " + FormatGeneral(x) +
                                     " слишком велика для обработки");
    }
}

}  // namespace

void Obrab1(SpectrumState& s) {
    const std::string step = PreliminaryStepName(1);
    if (s.Spectrum.count() < 2) ThrowStepError(step, "в спектре меньше двух точек");
    RequireUsableValues(s.Spectrum, step);
    MidpointSmoothPasses(s.Spectrum, s.Smooth, 3, step);
}

void Obrab2(SpectrumState& s) {
    const std::string step = PreliminaryStepName(2);
    // One pass, then KolUsred + 1 more; a negative KolUsred leaves the single first pass.
    int64_t passes = s.KolUsred >= 0 ? int64_t{s.KolUsred} + 2 : 1;
    const int first = static_cast<int>(std::min<int64_t>(passes, INT_MAX));
    MidpointSmoothPasses(s.Smooth, s.Averaged, first, step);
    for (passes -= first; passes > 0; passes -= INT_MAX)  // KolUsred near the top of its range
        MidpointSmoothPasses(s.Averaged, s.Averaged, static_cast<int>(std::min<int64_t>(passes, INT_MAX)), step);

    const std::string step3 = PreliminaryStepName(3);
    TurningPoints(s.Averaged, s.Extrema, step3);
    if (s.Extrema.count() < 2) ThrowStepError(step3, "интенсивность нигде не меняется");
}

void Obrab3(SpectrumState& s) {
    const std::string step = PreliminaryStepName(4);
    TrimToValleys(s.Extrema, s.Trimmed, step);
    if (s.Trimmed.count() < 2) ThrowStepError(step, "в сглаженном спектре нет ни одного пика между двумя впадинами");
}

void Obrab4(SpectrumState& s) {
    const std::string step = PreliminaryStepName(5);
    TurningPoints(s.Trimmed, s.PeakValley, step);
    if (s.PeakValley.count() < 2) ThrowStepError(step, "нет ни одной зоны пика");
    BuildZones(s.PeakValley, s.zones, step);
}

void ObrabNaklon(SpectrumState& s) {
    const std::string step = PreliminaryStepName(6);
    ThresholdZones(s.PeakValley, s.NoiseThreshold, s.AboveNoise, step);
    if (s.AboveNoise.count() < 2) {
        if (s.zones.count() == 0) ThrowStepError(step, "нет ни одной зоны пика");
        ThrowStepError(step, "ни одна зона пика не достигает порога помех " + std::to_string(s.NoiseThreshold));
    }
    TurningPoints(s.AboveNoise, s.FinalExtrema, PreliminaryStepName(7));
}

double SmoothingWork(int kolUsred, int samples) {
    const double passes = 3.0 + std::max(1.0, static_cast<double>(kolUsred) + 2.0);
    return passes * std::max(samples, 0);
}

std::optional<std::string> CheckKolUsred(int kolUsred, int samples) {
    if (SmoothingWork(kolUsred, samples) <= kMaxSmoothingWork) return std::nullopt;
    const long long allowed = static_cast<long long>(kMaxSmoothingWork / std::max(samples, 1)) - 5;
    return "KolUsred = " + std::to_string(kolUsred) + " слишком велико: " + std::to_string(kolUsred + 5LL) +
           " проходов сглаживания по " + std::to_string(samples) +
           " точкам спектра заняли бы больше минуты. Задайте не больше " + std::to_string(std::max(allowed, 0LL));
}

void RunPreliminary(SpectrumState& s) {
    if (auto refusal = CheckKolUsred(s.KolUsred, s.Spectrum.count())) throw OrveloError(*refusal);
    Obrab1(s);
    Obrab2(s);
    Obrab3(s);
    Obrab4(s);
    // A threshold carried over from an earlier spectrum that no zone of this one reaches falls
    // back to 0 (every zone kept, as after start-up): the zone list is shown so the operator can
    // choose again. A threshold that keeps a zone is carried over as it is. The zone heights
    // are those stage 6 compares with the threshold.
    const auto& heights = s.zones.height;
    if (s.NoiseThreshold != 0 && !heights.empty() &&
        std::none_of(heights.begin(), heights.end(), [&](int64_t h) { return h >= s.NoiseThreshold; }))
        s.NoiseThreshold = 0;
    ObrabNaklon(s);
    OtsortVysota(s);
}

}  // namespace orvelo
