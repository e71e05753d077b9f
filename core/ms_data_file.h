#pragma once
// Instrument data files (mzML, mzXML, either gzipped): the list of their spectra ("scans") and
// the loading of one of them as the program's spectrum, and the writing of the loaded spectrum
// as an mzML file of one profile spectrum, and the writing of fitted peaks as centroid spectra.
// This module is the only place that knows the mzML library; everything else sees ScanInfo rows
// and a LoadedSpectrum, and every failure of the library arrives as an OrveloError with a
// Russian text.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/calibration_curve.h"
#include "core/spectrum_file.h"
#include "core/spectrum_state.h"

namespace orvelo {

enum class ScanRepresentation { Profile, Centroid, Unmarked };

// One spectrum of a file, read from its metadata only (its arrays are not decoded).
struct ScanInfo {
    int number = 0;                       // 1-based position in the file
    std::string id;                       // native id, e.g. "controllerType=0 controllerNumber=1 scan=1"
    int msLevel = 0;                      // 0: the file does not say
    std::optional<double> retentionTime;  // seconds
    std::size_t points = 0;
    ScanRepresentation representation = ScanRepresentation::Unmarked;
    std::optional<double> lowMz;
    std::optional<double> highMz;
    std::optional<double> totalIonCurrent;

    // An unmarked spectrum is taken as profile; only centroided data cannot be fitted.
    bool fittable() const { return representation != ScanRepresentation::Centroid; }
    bool ms1Profile() const { return msLevel == 1 && fittable(); }
};

// Where a loaded spectrum came from; written into the processing description of a saved mzML.
struct SpectrumSource {
    std::string path;                     // the file it was loaded from; empty: none
    std::string nativeId;                 // empty for a text file
    int msLevel = 0;                      // 0: unknown
    std::optional<double> retentionTime;  // seconds
};

// By name (".mzML", ".mzXML", either followed by ".gz", any letter case) or, for other names,
// by the first bytes (an XML document or a gzip stream; a text spectrum starts otherwise).
bool IsMsDataFile(const std::string& path);

class MsDataFile {
public:
    // Opens the file and lists its spectra. A gzipped file (told by its content) is inflated in
    // memory, within 4 GiB and a ratio of 1:1000; zero bytes are refused before the library
    // parses anything. A file whose index points to wrong places (each entry must lead to the
    // start tag of the spectrum with its index and id) is read again without the index, with a
    // warning.
    explicit MsDataFile(const std::string& path);
    // The same from the bytes of an uncompressed mzML or mzXML document; `name` stands for the
    // file in titles and messages.
    static MsDataFile FromBytes(std::string bytes, const std::string& name);
    ~MsDataFile();
    MsDataFile(MsDataFile&&) noexcept;
    MsDataFile& operator=(MsDataFile&&) noexcept;

    const std::vector<ScanInfo>& scans() const;
    // Russian sentences for the caller to show once: how the file had to be read (its index
    // was wrong, so it was read through).
    const std::vector<std::string>& warnings() const;
    // The first MS1 profile spectrum, else the first one (1-based); 0 for a file without spectra.
    int DefaultScan() const;
    // Spectrum `number` (1-based) as a loaded spectrum: masses ascending, intensities as stored,
    // title "<file name>, <id>, <minutes> мин". Centroided spectra, fewer than two points,
    // non-finite values, masses out of order, masses not above zero, neighbouring masses closer
    // than 1e-9 of the mass and spectra without a positive intensity are refused with the
    // reason, and so are binary arrays whose declared or inflated size exceeds 256 MB or what
    // their bytes can hold (checked before they are decoded). Not thread-safe:
    // one call at a time per file.
    LoadedSpectrum LoadScan(int number) const;
    SpectrumSource SourceOf(int number) const;

private:
    struct Impl;
    explicit MsDataFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The scan table: the head, then one row per scan (number, id, MS level, retention time in
// minutes, points, representation, m/z from, m/z to, total ion current); the window's chooser
// and `orvelo-batch --list-scans` show these texts.
std::vector<std::string> ScanTableHead();
std::vector<std::string> ScanTableRow(const ScanInfo& scan);
std::string RetentionTimeText(const std::optional<double>& seconds);  // minutes, "%.4f"; "" unknown

// The mzML document of `points`, as WriteMzMLFile writes it.
std::string MzMLBytes(const PointList& points, const SpectrumSource& source,
                      const std::optional<CalibrationCurve>& calibration);

// Writes `points` as an mzML file of one profile spectrum (64-bit arrays, zlib), recording the
// source file and, when given, the calibration curve in its processing description; the
// spectrum keeps the source's id, MS level and time (a text source: "scan=1", MS1, no time).
// Replaces the file atomically.
void WriteMzMLFile(const std::string& path, const PointList& points, const SpectrumSource& source,
                   const std::optional<CalibrationCurve>& calibration);

// --- Centroided output: the fitted peaks of one or more spectra as one mzML document.

// One fitted peak as a centroid: its centre, its height above the background, its full width
// at half height in ppm of the centre, and the standard error of the centre (m/z).
struct CentroidPeak {
    double mz = 0;
    double intensity = 0;
    double fwhmPpm = 0;
    double mzStandardError = 0;
};

// One spectrum of the document: where it came from (native id, MS level, retention time kept;
// a source without an id gets "index=K", its 0-based place) and its peaks.
struct CentroidSpectrum {
    SpectrumSource source;
    std::vector<CentroidPeak> peaks;
};

// The names of the two float data arrays every spectrum carries after m/z and intensity, in
// this order (the width array first, as peak pickers of the field write it).
inline constexpr const char* kFwhmPpmArrayName = "FWHM_ppm";
inline constexpr const char* kMzStandardErrorArrayName = "mz_standard_error";

// The mzML document of centroid spectra (MS:1000127), in the order given, peaks sorted by m/z:
// m/z and intensity 64-bit, the FWHM_ppm and mz_standard_error arrays 32-bit, all zlib. Its
// data processing names the program and `version` with "peak picking" (MS:1000035) and, when
// given, the calibration applied to the centres. `sourcePath` is the input file.
std::string CentroidMzMLBytes(const std::vector<CentroidSpectrum>& spectra, const std::string& sourcePath,
                              const std::optional<CalibrationCurve>& calibration, const std::string& version);

}  // namespace orvelo
