#pragma once
// --centroid-mzml: the fitted peaks of a run as centroid spectra in DIR/centroids.mzML.
#include <optional>
#include <string>
#include <vector>

#include "core/calibration_curve.h"
#include "core/ms_data_file.h"
#include "fitting/peak_result.h"

namespace orvelo::batch {

inline constexpr const char* kCentroidFileName = "centroids.mzML";

// The peaks of a final run as centroids, in zone order (the document orders them by mass):
// m/z the fitted centre (corrected by `curve` when given), intensity the fitted height above
// the background, the width at half height (centre / R) in ppm and the standard error of the
// centre, both carried through the curve's slope. Problem peaks are left out, and so are fits
// without a positive resolving power, a positive height above the background or a finite
// centre: they are no peaks to hand on.
std::vector<CentroidPeak> CentroidPeaksOf(const PeakResults& peaks, const std::optional<CalibrationCurve>& curve);

// The document of the spectra, naming this program's version.
std::string CentroidFileBytes(const std::vector<CentroidSpectrum>& spectra, const std::string& input,
                              const std::optional<CalibrationCurve>& curve);

// The document of a run on one spectrum: `scan` when it came from an mzML or mzXML file, else
// the text file `input` as the spectrum "index=0".
std::string OneSpectrumCentroidFile(const PeakResults& peaks, const std::optional<SpectrumSource>& scan,
                                    const std::string& input, const std::optional<CalibrationCurve>& curve);

}  // namespace orvelo::batch
