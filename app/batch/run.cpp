#include "batch/run.h"

#include "batch/output.h"
#include "core/number_text.h"
#include "core/spectrum_file.h"
#include "core/spectrum_state.h"
#include "processing/preliminary.h"

namespace orvelo::batch {

int Run(const Options& options, std::ostream& out) {
    SpectrumState state;
    // The settings are checked before anything is loaded, as the window checks Edit2 first.
    if (options.kolUsred) state.KolUsred = ParseInt32OrThrow(*options.kolUsred);

    ApplyLoadedSpectrum(state, ReadSpectrumFile(options.spectrum));
    Output output(options.outDir, out);

    RunPreliminary(state);
    const std::vector<std::string> zones = ZoneListLines(state);
    if (output.toFiles()) output.WriteUtf8("zones.txt", zones);
    else if (!options.threshold) output.Print(zones);
    return 0;
}

}  // namespace orvelo::batch
