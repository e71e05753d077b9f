#pragma once
// Command line of orvelo-batch.
#include <optional>
#include <string>
#include <vector>

namespace orvelo::batch {

struct Options {
    std::string spectrum;                      // SPECTRUM
    std::optional<std::string> kolUsred;       // --kolusred N (text, checked like Edit2)
    std::optional<std::string> outDir;         // --out DIR
    std::optional<std::string> threshold;      // --threshold H (text, checked like Edit4)
    bool flat = false;                         // --flat: the flat-topped model
    std::optional<std::string> calibrate;      // --calibrate FILE
    bool parabola = false;                     // --parabola
    std::optional<std::string> autoCalibrate;  // --auto-calibrate CH|CF|CH,CF
    std::optional<std::string> tolerance;      // --tolerance MMU
    bool ionMasses = false;                    // --ion-masses
    bool listScans = false;                    // --list-scans: print the scan table of an mzML/mzXML file
    std::optional<std::string> scan;           // --scan K | all | list of numbers and ranges
    std::optional<std::string> jobs;           // --jobs N: threads of a run over several scans
    std::optional<std::string> formulas;       // --formulas [RANGES]: empty for the default ranges
    std::optional<std::string> formulaPpm;     // --formula-ppm X
    bool centroidMzml = false;                 // --centroid-mzml: the fitted peaks as ПАПКА/centroids.mzML
};

// --threshold auto: the height chosen from each spectrum's own zones (auto_height.h).
inline constexpr const char* kAutoThreshold = "auto";
inline bool AutoThreshold(const Options& options) { return options.threshold && *options.threshold == kAutoThreshold; }

// Throws UsageError for a malformed command line, and for --help (with `help` set: the usage
// then goes to standard output and the program succeeds).
struct UsageError {
    std::string text;
    bool help = false;
};
Options ParseOptions(const std::vector<std::string>& args);
// --scan names all scans, a list or a range: the run goes over several scans of one file.
bool SeveralScans(const Options& o);

// --jobs: at most this many threads; without it every core (up to that many).
inline constexpr int kMaxJobs = 256;
// The threads of a run over several scans; throws UsageError for a value that is not 1..kMaxJobs.
int JobCount(const std::optional<std::string>& text);

extern const char* const kUsage;

}  // namespace orvelo::batch
