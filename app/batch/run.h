#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "batch/options.h"
#include "fitting/peak_result.h"
#include "session/session.h"

namespace orvelo::batch {

// Runs the whole command; throws OrveloError with the program's own message text on failure.
int Run(const Options& options, std::ostream& out);

// Every file a run with these options writes into --out, in one place: a new output file is
// added here and then written through Output. `msDataFile`: the spectrum is an mzML or mzXML file.
std::vector<std::string> RunFiles(const Options& options, bool msDataFile);
// Every file any run writes into --out: the files of the run before that a run may move away.
std::vector<std::string> AllRunFiles();

// The noise threshold and the peak model of the options set on the session, which is ready for
// its final run; with --threshold auto the height is the one proposed from the session's zones.
// Returns the height; throws OrveloError with the session's refusal.
int64_t BeginFinalRun(const Options& options, Session& session);
// The results table as the window's grid holds it: rows of cell texts, the head row first.
std::vector<std::vector<std::string>> ResultGrid(const PeakResults& peaks);

}  // namespace orvelo::batch
