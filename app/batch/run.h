#pragma once
#include <ostream>

#include "batch/options.h"

namespace orvelo::batch {

// Runs the whole command; throws OrveloError with the program's own message text on failure.
int Run(const Options& options, std::ostream& out);

}  // namespace orvelo::batch
