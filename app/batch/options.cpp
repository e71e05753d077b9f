#include "batch/options.h"

#include "batch/auto_calibrate.h"
#include "batch/formulas.h"

namespace orvelo::batch {

const char* const kUsage =
    "usage: orvelo-batch [--kolusred N] [--threshold H [--flat] [--calibrate FILE [--parabola]]]\n"
    "                    [--scan K|all|LIST [--jobs N]] [--out DIR] SPECTRUM\n"
    "       orvelo-batch --threshold H --auto-calibrate CH|CF|CH,CF [--tolerance MMU] [--parabola]\n"
    "                    [--ion-masses] [--kolusred N] [--flat] [--scan K] [--out DIR] SPECTRUM\n"
    "       orvelo-batch --threshold H --formulas [RANGES] [--formula-ppm X] --out DIR SPECTRUM\n"
    "       orvelo-batch --list-scans FILE\n"
    "\n"
    "Loads SPECTRUM (a spectrum text file: an optional title, then mass and intensity lines)\n"
    "and runs the preliminary processing. Without --out it prints the zone list, or with\n"
    "--threshold the results table of the final processing.\n"
    "  --kolusred N     averaging passes (default 150)\n"
    "  --threshold H    height of the first non-noise peak: runs the final processing\n"
    "  --flat           fit the flat-topped peak model instead of the Gaussian\n"
    "  --calibrate FILE calibration points, one per line: peak line number (from 0) in the\n"
    "                   mass list, true mass; writes the corrected spectrum calibrated.txt\n"
    "                   (needs --out)\n"
    "  --auto-calibrate CH|CF|CH,CF  match these reference ions to the peaks instead of a\n"
    "                   --calibrate FILE; also writes auto-calibration.tsv (needs --out)\n"
    "  --tolerance MMU  how far a measured mass may lie from its ion (default 100)\n"
    "  --parabola       fit a parabola through the calibration points instead of a line\n"
    "  --ion-masses     reference masses of positive ions (neutral minus the electron mass)\n"
    "  --formulas [RANGES]  the best five elemental formulas of every peak into\n"
    "                   DIR/formulas.tsv; RANGES like C0-60H0-120N0-6O0-10S0-4Cl0-6Br0-4Si0-4\n"
    "                   F0-30P0-2I0-2 (the default)\n"
    "  --formula-ppm X  the mass tolerance of --formulas in ppm (default 2)\n"
    "  --out DIR        write the result files into DIR, all of them or none\n"
    "  --list-scans     print the spectra of an mzML or mzXML file, one line each\n"
    "  --scan K         process spectrum K of an mzML or mzXML file (default: the first MS1\n"
    "                   profile spectrum); with all or a list such as 1,3,5-9 every chosen MS1\n"
    "                   profile spectrum, into DIR/results-all.tsv and DIR/scans.tsv (needs\n"
    "                   --threshold and --out)\n"
    "  --jobs N         threads for several scans (default: all cores)\n"
    "  --help           show this text\n";

namespace {

bool IsOption(const std::string& a) { return a.size() > 1 && a[0] == '-' && a[1] == '-'; }

}  // namespace

bool SeveralScans(const Options& o) {
    return o.scan && (*o.scan == "all" || o.scan->find_first_of(",-") != std::string::npos);
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    bool haveSpectrum = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // A value never is the next option: "--out --kolusred" lacks its folder.
        auto value = [&](const char* name) -> std::string {
            if (i + 1 >= args.size() || IsOption(args[i + 1])) throw UsageError{std::string(name) + " needs a value"};
            return args[++i];
        };
        if (a == "--kolusred") o.kolUsred = value("--kolusred");
        else if (a == "--out") o.outDir = value("--out");
        else if (a == "--threshold") o.threshold = value("--threshold");
        else if (a == "--calibrate") o.calibrate = value("--calibrate");
        else if (a == "--auto-calibrate") o.autoCalibrate = value("--auto-calibrate");
        else if (a == "--tolerance") o.tolerance = value("--tolerance");
        else if (a == "--ion-masses") o.ionMasses = true;
        else if (a == "--scan") o.scan = value("--scan");
        else if (a == "--jobs") o.jobs = value("--jobs");
        else if (a == "--list-scans") o.listScans = true;
        else if (a == "--formula-ppm") o.formulaPpm = value("--formula-ppm");
        else if (a.rfind("--formulas=", 0) == 0) o.formulas = a.substr(11);
        else if (a == "--formulas") {
            // The ranges are optional: the next word is taken when it reads as ranges and is
            // not the spectrum (the last word while none has been named).
            const bool next = i + 1 < args.size() && LooksLikeElementRanges(args[i + 1]);
            o.formulas = next && (haveSpectrum || i + 2 < args.size()) ? args[++i] : std::string();
        }
        else if (a == "--flat") o.flat = true;
        else if (a == "--parabola") o.parabola = true;
        else if (a == "--help" || a == "-h") throw UsageError{{}, true};
        else if (a == "-") throw UsageError{"the spectrum cannot be read from standard input: give its file name"};
        else if (a.size() > 1 && a[0] == '-') throw UsageError{"unknown option " + a};
        else if (haveSpectrum) throw UsageError{"only one spectrum file may be given"};
        else {
            o.spectrum = a;
            haveSpectrum = true;
        }
    }
    if (!haveSpectrum) throw UsageError{"no spectrum file given"};
    if ((o.flat || o.calibrate) && !o.threshold) throw UsageError{"--flat and --calibrate need --threshold"};
    if (o.parabola && !o.calibrate && !o.autoCalibrate) throw UsageError{"--parabola needs --calibrate or --auto-calibrate"};
    if (o.calibrate && !o.outDir) throw UsageError{"--calibrate needs --out (the corrected spectrum is a file)"};
    CheckAutoCalibrationOptions(o);
    CheckFormulaOptions(o);
    if (o.listScans && (o.scan || o.threshold || o.kolUsred || o.outDir))
        throw UsageError{"--list-scans takes no other option"};
    if (SeveralScans(o) && (!o.threshold || !o.outDir)) throw UsageError{"--scan with several scans needs --threshold and --out"};
    if (SeveralScans(o) && (o.calibrate || o.autoCalibrate)) throw UsageError{"a calibration takes one scan"};
    if (o.jobs && !SeveralScans(o)) throw UsageError{"--jobs needs --scan with several scans"};
    return o;
}

}  // namespace orvelo::batch
