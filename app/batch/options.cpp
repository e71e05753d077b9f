#include "batch/options.h"

namespace orvelo::batch {

const char* const kUsage =
    "usage: orvelo-batch [--kolusred N] [--threshold H [--flat] [--calibrate FILE [--parabola]]]\n"
    "                    [--scan K|all|LIST [--jobs N]] [--out DIR] SPECTRUM\n"
    "       orvelo-batch --list-scans FILE\n"
    "\n"
    "Loads SPECTRUM as the program does and runs the preliminary processing. Without --out it\n"
    "prints the zone list, or with --threshold the results table of the final processing.\n"
    "  --kolusred N     averaging passes (default 150)\n"
    "  --threshold H    height of the first non-noise peak: runs the final processing\n"
    "  --flat           fit the flat-topped peak model instead of the Gaussian\n"
    "  --calibrate FILE calibration points, one per line: peak line number (from 0) in the\n"
    "                   mass list, true mass; writes the corrected spectrum calibrated.txt\n"
    "  --parabola       fit a parabola through the calibration points instead of a line\n"
    "  --out DIR        write the result files into DIR\n"
    "  --list-scans     print the spectra of an mzML or mzXML file, one line each\n"
    "  --scan K         process spectrum K of an mzML or mzXML file (default: the first MS1\n"
    "                   profile spectrum); with all or a list such as 1,3,5-9 every chosen MS1\n"
    "                   profile spectrum, into DIR/results-all.tsv and DIR/scans.tsv (needs\n"
    "                   --threshold and --out)\n"
    "  --jobs N         threads for several scans (default: all cores)\n";

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    bool haveSpectrum = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> std::string {
            if (i + 1 >= args.size()) throw UsageError{std::string(name) + " needs a value"};
            return args[++i];
        };
        if (a == "--kolusred") o.kolUsred = value("--kolusred");
        else if (a == "--out") o.outDir = value("--out");
        else if (a == "--threshold") o.threshold = value("--threshold");
        else if (a == "--calibrate") o.calibrate = value("--calibrate");
        else if (a == "--scan") o.scan = value("--scan");
        else if (a == "--jobs") o.jobs = value("--jobs");
        else if (a == "--list-scans") o.listScans = true;
        else if (a == "--flat") o.flat = true;
        else if (a == "--parabola") o.parabola = true;
        else if (a == "--help" || a == "-h") throw UsageError{};
        else if (a.size() > 1 && a[0] == '-' && a != "-") throw UsageError{"unknown option " + a};
        else if (haveSpectrum) throw UsageError{"only one spectrum file may be given"};
        else {
            o.spectrum = a;
            haveSpectrum = true;
        }
    }
    if (!haveSpectrum) throw UsageError{"no spectrum file given"};
    if ((o.flat || o.calibrate) && !o.threshold) throw UsageError{"--flat and --calibrate need --threshold"};
    if (o.parabola && !o.calibrate) throw UsageError{"--parabola needs --calibrate"};
    if (o.listScans && (o.scan || o.threshold || o.kolUsred || o.outDir))
        throw UsageError{"--list-scans takes no other option"};
    const bool severalScans = o.scan && (*o.scan == "all" || o.scan->find_first_of(",-") != std::string::npos);
    if (severalScans && (!o.threshold || !o.outDir)) throw UsageError{"--scan with several scans needs --threshold and --out"};
    if (severalScans && o.calibrate) throw UsageError{"--calibrate takes one scan"};
    if (o.jobs && !severalScans) throw UsageError{"--jobs needs --scan with several scans"};
    return o;
}

}  // namespace orvelo::batch
