#include "batch/auto_height.h"

#include "core/errors.h"

namespace orvelo::batch {

int64_t AutoHeight(const Session& session) {
    const NoiseEstimate e = session.ProposeNoiseHeight();
    if (!e.ok) throw OrveloError(NoiseEstimateNote(e, session.state().spectrum.zones.count()));
    return e.proposed;
}

std::string AutoHeightLine(int64_t height) { return "Порог по шуму спектра = " + std::to_string(height); }

}  // namespace orvelo::batch
