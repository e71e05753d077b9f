#pragma once
// The noise threshold of a final run: the height below which a zone is noise.
#include <cstdint>

#include "core/spectrum_state.h"

namespace orvelo {

// NoiseThreshold := height, then stages 6 and 7 rebuilt by ObrabNaklon.
void ApplyNoiseThreshold(SpectrumState& state, int64_t height);

}  // namespace orvelo
