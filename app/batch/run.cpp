#include "batch/run.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "batch/auto_calibrate.h"
#include "batch/auto_height.h"
#include "batch/calibration_file.h"
#include "batch/centroids.h"
#include "batch/formulas.h"
#include "batch/output.h"
#include "batch/scans.h"
#include "batch/text_escape.h"
#include "calibration/after_final_run.h"
#include "calibration/calibration_workflow.h"
#include "calibration/curve_report.h"
#include "calibration/ion_masses.h"
#include "calibration/reference_masses.h"
#include "calibration/theory_series.h"
#include "core/errors.h"
#include "core/ms_data_file.h"
#include "core/number_text.h"
#include "core/spectrum_file.h"
#include "core/spectrum_state.h"
#include "core/system_error.h"
#include "export/html_report.h"
#include "export/table_text.h"
#include "fitting/final_run.h"
#include "fitting/results_table.h"
#include "processing/zone_list.h"
#include "session/session.h"

namespace orvelo::batch {

std::vector<std::string> RunFiles(const Options& options, bool msDataFile) {
    std::vector<std::string> names{"zones.txt", kManifestName};
    if (SeveralScans(options)) names = {"results-all.tsv", "scans.tsv", kManifestName};
    if (options.centroidMzml) names.emplace_back(kCentroidFileName);
    if (SeveralScans(options)) return names;
    if (options.threshold)
        names.insert(names.end(), {"results.tsv", "zone-array.txt", "problems.txt", "summary.txt", "masses.txt",
                                   "standard-masses.txt", "standard-masses-all.txt", kPilaTheoryFileName,
                                   kPilaPracticeFileName, "ch-list.txt", "report.htm"});
    if (options.calibrate || options.autoCalibrate)
        names.insert(names.end(), {"calibrated.txt", "calibration-check.txt"});
    if ((options.calibrate || options.autoCalibrate) && msDataFile) names.emplace_back("calibrated.mzML");
    if (options.autoCalibrate) names.emplace_back("auto-calibration.tsv");
    if (options.formulas) names.emplace_back("formulas.tsv");
    return names;
}

std::vector<std::string> AllRunFiles() {
    Options every;
    every.threshold = "1";
    every.autoCalibrate = "CH";
    every.centroidMzml = true;
    every.formulas = std::string();
    std::vector<std::string> names = RunFiles(every, true);
    names.insert(names.end(), {"results-all.tsv", "scans.tsv"});
    return names;
}

std::vector<std::vector<std::string>> ResultGrid(const PeakResults& peaks) {
    std::vector<std::vector<std::string>> rows;
    for (const ResultRow& row : ResultsTable(peaks)) rows.emplace_back(row.begin(), row.end());
    return rows;
}

int64_t BeginFinalRun(const Options& options, Session& session) {
    const std::string text = AutoThreshold(options) ? std::to_string(AutoHeight(session)) : *options.threshold;
    if (const auto refusal = session.BeginFinalRun(text, options.flat ? GaussShape::FlatTop : GaussShape::Ordinary))
        throw OrveloError(*refusal);
    return session.state().spectrum.NoiseThreshold;
}

namespace {

std::vector<std::string> InputFiles(const Options& options) {
    std::vector<std::string> inputs{options.spectrum};
    if (options.calibrate) inputs.push_back(*options.calibrate);
    return inputs;
}

void WriteReport(Output& output, const SpectrumState& state, std::vector<std::vector<std::string>> rows) {
    HtmlTable html;
    html.rows = std::move(rows);
    html.columnWidths = EstimateColumnWidths(html.rows);
    std::array<bool, kReportColumnCount> all;
    all.fill(true);
    output.WriteProgramFile("report.htm", WriteToHTML(html, state.SpectrumTitle, all, false));
}

// The mass lists and reference files a final run leaves on the calibration and theory pages.
// With ion masses the lists of reference masses are headed by a note and the saw's title says so.
void WriteMassFiles(Output& output, const MassAssignment& assigned, ReferenceMassKind kind) {
    output.WriteUtf8("masses.txt", assigned.massLines);
    output.WriteUtf8("standard-masses.txt", NotedMassLines(ReFill(assigned.tables, ListFlags{}), kind));
    ListFlags full;
    full.fullList = true;
    output.WriteUtf8("standard-masses-all.txt", NotedMassLines(ReFill(assigned.tables, full), kind));
    output.WriteProgramFile(kPilaTheoryFileName, PilaCHTheoryLines(assigned.ch.theory, kind));
    output.WriteProgramFile(kPilaPracticeFileName, PilaCHPracticeLines(assigned.ch.practice.points));
    output.WriteProgramFile("ch-list.txt", NotedMassLines(CHListLines(assigned.tables.CHList), kind));
}

// The calibration step of --calibrate and --auto-calibrate, on the session's complete list: the
// page's line or parabola through its points, the corrected spectrum, and the check of the
// curve. `massesLine` says where the true masses came from (empty: the operator's own).
CalibrationCurve Calibrate(const Options& options, Session& session, const std::string& massesLine, Output& output,
                           const std::optional<SpectrumSource>& scan) {
    const CurveResult made = session.CreatePoints();
    if (!made.ok()) throw OrveloError(made.message);
    const CurveKind kind = options.parabola ? CurveKind::Parabola : CurveKind::Line;
    const CurveFit fit = session.FitCurve(kind);
    if (!fit.result.ok()) throw OrveloError(fit.result.message);
    const PointList points = session.state().calibration.points;  // Recalculate clears them
    if (const auto refusal = session.Recalculate()) throw OrveloError(*refusal);
    const SpectrumState& state = session.state().spectrum;
    output.WriteProgramFile("calibrated.txt",
                            SpectrumFileLines(state.SpectrumTitle, state.Spectrum, 0, state.Spectrum.count() - 1));
    if (scan)
        output.WriteBytes("calibrated.mzML", MzMLBytes(state.Spectrum, *scan, session.state().appliedCalibration));
    output.WriteProgramFile("calibration-check.txt",
                            CalibrationCheckLines(CheckCalibration(points, fit.curve, kind), kind, massesLine));
    return fit.curve;
}

void RunFinalProcessing(const Options& options, Output& output, Session& session,
                        const std::optional<SpectrumSource>& scan) {
    const auto start = std::chrono::steady_clock::now();
    const int64_t height = BeginFinalRun(options, session);
    if (AutoThreshold(options) && !output.toFiles())
        std::cerr << AutoHeightLine(height) << "\n";  // the table goes to standard output
    FinalRunResult result = session.RunFinalHere();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);

    if (const auto refusal = ReferenceRangeRefusal(result.peaks)) throw OrveloError(*refusal);
    std::vector<std::vector<std::string>> rows = ResultGrid(result.peaks);
    const std::vector<std::string> tsv = TabSeparatedLines(rows, std::nullopt);
    if (!output.toFiles()) {
        output.Print(tsv);
        return;
    }
    output.WriteUtf8("results.tsv", tsv);
    output.WriteUtf8("zone-array.txt", result.zoneLines);
    output.WriteUtf8("problems.txt", result.problemLines);
    std::vector<std::string> summary{"Всего пиков = " + std::to_string(result.peaks.size()),
                                     "Проблемных пиков = " + std::to_string(result.ProblemCount),
                                     "Время вычислений (мс) = " + std::to_string(ms.count())};
    if (AutoThreshold(options)) summary.push_back(AutoHeightLine(height));
    output.WriteUtf8("summary.txt", summary);
    const ReferenceMassKind kind = MassKindOf(options);
    session.ChooseReferenceMasses(kind);
    const MassAssignment assigned = session.AdoptFinalRun(std::move(result));  // a copy: Recalculate clears it
    const PeakResults peaks = session.state().run.peaks;
    WriteMassFiles(output, assigned, kind);
    WriteReport(output, session.state().spectrum, std::move(rows));
    if (options.formulas) WriteFormulas(options, output, peaks, height);
    std::optional<CalibrationCurve> curve;  // the one the masses went through
    if (options.calibrate) {
        ReadCalibrationFile(*options.calibrate, session, assigned.massLines);
        curve = Calibrate(options, session, "", output, scan);
    }
    if (options.autoCalibrate) {
        const AutoCalibration match = AutoCalibrate(options, session, assigned.massLines);
        const CalibrationCurve applied = Calibrate(options, session, ReferenceMassesLine(kind), output, scan);
        WriteAutoCalibration(output, match, peaks, applied, kind);
        curve = applied;
    }
    if (options.centroidMzml)
        output.WriteBytes(kCentroidFileName, OneSpectrumCentroidFile(peaks, scan, options.spectrum, curve));
}

// The title goes into files and reports: a control character in it would break their lines.
LoadedSpectrum TitleEscaped(LoadedSpectrum loaded) {
    if (loaded.title) *loaded.title = EscapedControls(*loaded.title);
    return loaded;
}

// What the reader could read, but not quite as the file meant it: on the error stream, so
// that the outputs stay as they are.
void PrintWarnings(const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) std::cerr << "Предупреждение: " << warning << "\n";
}

}  // namespace

int Run(const Options& options, std::ostream& out) {
    if (options.listScans) {
        struct stat info {};
        if (::stat(options.spectrum.c_str(), &info) != 0)
            throw OrveloError("Не удалось открыть файл \"" + EscapedControls(options.spectrum) +
                              "\": " + SystemErrorText(errno));
        if (!IsMsDataFile(options.spectrum))
            throw OrveloError("Файл \"" + options.spectrum +
                              "\" не является файлом mzML или mzXML: спектров в нём не перечислить");
        const MsDataFile file(options.spectrum);
        PrintWarnings(file.warnings());
        PrintScanTable(file, out);
        return 0;
    }
    Session session;
    // The settings are checked before anything is loaded, as the window checks Edit2 first.
    if (options.kolUsred) session.RestoreRunSettings(ParseInt32OrThrow(*options.kolUsred), std::nullopt);
    if (options.threshold && !AutoThreshold(options) && !CheckNoiseHeight(*options.threshold))
        throw OrveloError(kInvalidHeightMessage);
    CheckFormulaRanges(options);

    const bool msDataFile = IsMsDataFile(options.spectrum);
    // The folder is checked before any work; the files go into it together at the end.
    Output output(options.outDir, RunFiles(options, msDataFile), AllRunFiles(), InputFiles(options), out);
    std::optional<SpectrumSource> scan;  // set when the input is an mzML or mzXML file
    if (msDataFile) {
        const MsDataFile file(options.spectrum);
        PrintWarnings(file.warnings());
        if (SeveralScans(options)) {
            const int status = RunScans(options, session.state().spectrum.KolUsred, file,
                                        ParseScanChoice(*options.scan, static_cast<int>(file.scans().size())), output);
            output.Commit();
            return status;
        }
        LoadedScan loaded = LoadOneScan(file, options.scan);
        scan = loaded.source;
        PrintWarnings(loaded.spectrum.warnings);
        session.Load(TitleEscaped(std::move(loaded.spectrum)), loaded.source);
    } else {
        if (options.scan)
            throw OrveloError("--scan выбирает спектр файла mzML или mzXML, а \"" + options.spectrum +
                              "\" — текстовый спектр");
        LoadedSpectrum loaded = ReadSpectrumFile(options.spectrum);
        PrintWarnings(loaded.warnings);
        session.Load(TitleEscaped(std::move(loaded)), SpectrumSource{options.spectrum, {}, 0, {}});
    }
    const SpectrumState& state = session.state().spectrum;
    // The peaks lie within the spectrum: a range too wide for the reference tables is refused
    // before any processing.
    if (options.threshold)
        if (const auto refusal = ReferenceRangeRefusal(state.Spectrum.x.front(), state.Spectrum.x.back()))
            throw OrveloError(*refusal);

    session.RunPreliminaryHere();
    const std::vector<std::string> zones = ZoneListLines(state);
    if (output.toFiles()) output.WriteUtf8("zones.txt", zones);
    else if (!options.threshold) output.Print(zones);

    if (options.threshold) RunFinalProcessing(options, output, session, scan);
    output.Commit();
    return 0;
}

}  // namespace orvelo::batch
