#pragma once
// Command line of orvelo-batch.
#include <optional>
#include <string>
#include <vector>

namespace orvelo::batch {

struct Options {
    std::string spectrum;                // SPECTRUM
    std::optional<std::string> kolUsred; // --kolusred N (text, checked like Edit2)
    std::optional<std::string> outDir;   // --out DIR
    std::optional<std::string> threshold;// --threshold H (text, checked like Edit4)
    bool flat = false;                   // --flat: the flat-topped model
    std::optional<std::string> calibrate;// --calibrate FILE
    bool parabola = false;               // --parabola
    bool listScans = false;              // --list-scans: print the scan table of an mzML/mzXML file
    std::optional<std::string> scan;     // --scan K | all | list of numbers and ranges
    std::optional<std::string> jobs;     // --jobs N: threads of a run over several scans
};

// Throws UsageError for a malformed command line.
struct UsageError {
    std::string text;
};
Options ParseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace orvelo::batch
