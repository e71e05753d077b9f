// libFuzzer target: the whole pipeline on small spectra. The first two bytes choose the
// averaging passes and the noise threshold, the rest is the spectrum file. Whatever the bytes,
// the program must end in results or a clear error: no crash, no hang, no NaN or infinity in
// a table cell.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calibration/reference_masses.h"
#include "calibration/theory_series.h"
#include "core/errors.h"
#include "core/spectrum_file.h"
#include "fitting/final_run.h"
#include "fitting/noise_threshold.h"
#include "fitting/results_table.h"
#include "processing/preliminary.h"

namespace {

void CheckCell(const std::string& cell) {
    if (cell.find("NAN") != std::string::npos || cell.find("INF") != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 8192) return 0;
    orvelo::SpectrumState state;
    state.KolUsred = data[0] % 8 - 1;  // -1 .. 6
    const int64_t threshold = (data[1] % 16) * (data[1] % 16) * 8;
    std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    try {
        orvelo::ApplyLoadedSpectrum(state, orvelo::ParseSpectrumText(bytes));
        orvelo::RunPreliminary(state);
        for (const std::string& line : orvelo::ZoneListLines(state)) CheckCell(line);
        orvelo::ApplyNoiseThreshold(state, threshold);
        orvelo::FinalRunOptions options;
        options.gaussPower = data[1] & 0x80 ? 8.0 : 2.0;
        options.threads = 1;
        const orvelo::FinalRunResult run = orvelo::RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options);
        for (const orvelo::ResultRow& row : orvelo::ResultsTable(run.peaks))
            for (const std::string& cell : row) CheckCell(cell);
        orvelo::ReferenceTables tables;
        const orvelo::ElementMasses elements = orvelo::ElementMassesOf(state);
        orvelo::StandartCH(run.peaks, elements, tables);
        orvelo::StandartCF(run.peaks, elements, tables);
        orvelo::CreateTeoriaCH(tables, run.peaks);
        orvelo::CreateTeoriaCF(tables, run.peaks);
    } catch (const orvelo::OrveloError& e) {
        if (std::string_view(e.what()).empty()) std::abort();
    }
    return 0;
}
