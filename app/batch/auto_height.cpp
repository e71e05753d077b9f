#include "batch/auto_height.h"

#include "core/errors.h"
#include "processing/auto_threshold.h"

namespace orvelo::batch {

bool AutoThreshold(const Options& options) { return options.threshold && *options.threshold == kAutoThreshold; }

int64_t AutoHeight(const SpectrumState& state) {
    const NoiseEstimate e = EstimateNoise(state.zones.height);
    if (e.ok) return e.proposed;
    if (e.noiseZones == 0)
        throw OrveloError("Порог не выбран по шуму: зон " + std::to_string(state.zones.count()) + ", а нужно не меньше " +
                          std::to_string(kMinZonesForNoise));
    throw OrveloError("Порог не выбран по шуму: ни одна из " + std::to_string(state.zones.count()) +
                      " зон не выше уровня шума " + std::to_string(static_cast<int64_t>(e.level)));
}

std::string AutoHeightLine(int64_t height) { return "Порог по шуму спектра = " + std::to_string(height); }

}  // namespace orvelo::batch
