#include "fitting/noise_threshold.h"
#include "processing/preliminary.h"

namespace orvelo {

void ApplyNoiseThreshold(SpectrumState& state, int64_t height) {
    state.NoiseThreshold = height;
    ObrabNaklon(state);
}

}  // namespace orvelo
