#pragma once
// --threshold auto: the noise height chosen from each spectrum's own zones.
#include <cstdint>
#include <string>

#include "session/session.h"

namespace orvelo::batch {

// The height the session proposes from the zones of its preliminary run; throws OrveloError when
// the zones show no noise band or nothing above it.
int64_t AutoHeight(const Session& session);

// The line of summary.txt that names the chosen height.
std::string AutoHeightLine(int64_t height);

}  // namespace orvelo::batch
