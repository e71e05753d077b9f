// libFuzzer target: the spectrum reader must turn any bytes into a spectrum or a clear error.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/errors.h"
#include "core/spectrum_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        orvelo::LoadedSpectrum s = orvelo::ParseSpectrumText(bytes);
        // A spectrum the reader accepts has at least two points, finite values, masses ascending.
        if (s.points.count() < 2 || s.points.x.size() != s.points.y.size()) std::abort();
        for (int i = 0; i < s.points.count(); ++i) {
            if (!std::isfinite(s.points.x[i]) || !std::isfinite(s.points.y[i])) std::abort();
            if (i > 0 && s.points.x[i] < s.points.x[i - 1]) std::abort();
        }
    } catch (const orvelo::OrveloError& e) {
        if (std::string_view(e.what()).empty()) std::abort();
    }
    return 0;
}
