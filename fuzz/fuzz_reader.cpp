// libFuzzer target: the spectrum reader must turn any bytes into a spectrum or a clear error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/errors.h"
#include "core/spectrum_file.h"
#include "fuzz/loaded_spectrum_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        CheckLoadedSpectrum(orvelo::ParseSpectrumText(bytes));
    } catch (const orvelo::OrveloError& e) {
        if (std::string_view(e.what()).empty()) std::abort();
    }
    return 0;
}
