// libFuzzer target: any bytes given as an mzML or mzXML document (or a gzipped one) become a
// scan list and spectra that pass the reader's checks, or a clear error; never a crash or
// another exception.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/errors.h"
#include "core/ms_data_file.h"
#include "fuzz/loaded_spectrum_check.h"

namespace {

constexpr int kScansLoaded = 4;  // enough to reach every kind of spectrum in the seeds

// Beyond the checks of every reader: masses above zero, some intensity above zero, and no
// empty warning.
void CheckInstrumentSpectrum(const orvelo::LoadedSpectrum& s) {
    CheckLoadedSpectrum(s);
    bool positive = false;
    for (int i = 0; i < s.points.count(); ++i) {
        if (s.points.x[i] <= 0) std::abort();
        positive = positive || s.points.y[i] > 0;
    }
    if (!positive) std::abort();
    for (const std::string& warning : s.warnings)
        if (warning.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const orvelo::MsDataFile file =
            orvelo::MsDataFile::FromBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz.mzML");
        const int count = static_cast<int>(file.scans().size());
        for (int n = 1; n <= count && n <= kScansLoaded; ++n) {
            try {
                CheckInstrumentSpectrum(file.LoadScan(n));
            } catch (const orvelo::OrveloError& e) {
                if (std::string(e.what()).empty()) std::abort();
            }
        }
    } catch (const orvelo::OrveloError& e) {
        if (std::string(e.what()).empty()) std::abort();
    } catch (const std::exception& e) {  // the reader lets only its own errors out
        std::fprintf(stderr, "not an OrveloError: %s\n", e.what());
        std::abort();
    }
    return 0;
}
