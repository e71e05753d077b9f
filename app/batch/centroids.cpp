#include "batch/centroids.h"

#include <cmath>

#ifndef ORVELO_VERSION
#error "ORVELO_VERSION is set by the build from the project's version"
#endif

namespace orvelo::batch {

std::vector<CentroidPeak> CentroidPeaksOf(const PeakResults& peaks, const std::optional<CalibrationCurve>& curve) {
    std::vector<CentroidPeak> out;
    for (const PeakResult& p : peaks) {
        const double intensity = p.Height - p.Background;
        if (IsProblemPeak(p) || !std::isfinite(p.Centre) || p.Centre <= 0 || !(p.R > 0) || !std::isfinite(p.R) ||
            !(intensity > 0) || !std::isfinite(intensity))
            continue;
        double mz = p.Centre, width = p.Centre / p.R, error = p.Errors[3];
        if (curve) {
            const double slope = curve->Slope(p.Centre);
            mz = curve->Corrected(p.Centre);
            width *= slope;
            error *= slope;
        }
        out.push_back({mz, intensity, width / mz * 1e6, std::abs(error)});
    }
    return out;
}

std::string CentroidFileBytes(const std::vector<CentroidSpectrum>& spectra, const std::string& input,
                              const std::optional<CalibrationCurve>& curve) {
    return CentroidMzMLBytes(spectra, input, curve, ORVELO_VERSION);
}

std::string OneSpectrumCentroidFile(const PeakResults& peaks, const std::optional<SpectrumSource>& scan,
                                    const std::string& input, const std::optional<CalibrationCurve>& curve) {
    CentroidSpectrum spectrum;
    if (scan) spectrum.source = *scan;
    else spectrum.source.path = input;
    spectrum.peaks = CentroidPeaksOf(peaks, curve);
    return CentroidFileBytes({spectrum}, input, curve);
}

}  // namespace orvelo::batch
