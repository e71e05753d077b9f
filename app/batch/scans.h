#pragma once
// orvelo-batch on instrument data files (mzML, mzXML): the scan table, the choice of one scan,
// and whole runs of many scans processed alike on all cores.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/options.h"
#include "core/ms_data_file.h"
#include "core/spectrum_file.h"

namespace orvelo::batch {

class Output;

// --list-scans: the scan table, tab-separated, its head first.
void PrintScanTable(const MsDataFile& file, std::ostream& out);

// The --scan value: "all", a number, or a list of numbers and ranges ("1,3,5-9"), 1-based and
// within the file. Throws OrveloError for anything else.
struct ScanChoice {
    bool all = false;
    std::vector<int> numbers;  // ascending, no repeats; every scan when `all`
};
ScanChoice ParseScanChoice(const std::string& text, int scanCount);
// Why the --scan value is no choice whatever the file holds (a reversed range, a scan 0, not a
// list); nothing when it may be one.
std::optional<std::string> ScanChoiceSyntaxError(const std::string& text);

// The one spectrum a single run processes: --scan K, else the first MS1 profile spectrum (or
// the first spectrum).
struct LoadedScan {
    LoadedSpectrum spectrum;
    SpectrumSource source;
};
LoadedScan LoadOneScan(const MsDataFile& file, const std::optional<std::string>& scan);

// Processes every chosen MS1 profile spectrum with the averaging passes and the noise height
// the run has checked and the options' model, on --jobs threads, and writes results-all.tsv and
// scans.tsv. Returns the exit status: 1 when a scan named in a list could not be processed or any
// scan failed, else 0.
int RunScans(const Options& options, int kolUsred, const MsDataFile& file, const ScanChoice& choice, Output& output);

}  // namespace orvelo::batch
