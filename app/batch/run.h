#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "batch/options.h"

namespace orvelo::batch {

// Runs the whole command; throws OrveloError with the program's own message text on failure.
int Run(const Options& options, std::ostream& out);

// Every file a run with these options writes into --out, in one place: a new output file is
// added here and then written through Output. `msDataFile`: the spectrum is an mzML or mzXML file.
std::vector<std::string> RunFiles(const Options& options, bool msDataFile);

}  // namespace orvelo::batch
