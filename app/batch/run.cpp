#include "batch/run.h"

#include <chrono>
#include <string>
#include <vector>

#include "batch/calibration_file.h"
#include "batch/output.h"
#include "batch/scans.h"
#include "calibration/calibration_workflow.h"
#include "calibration/reference_masses.h"
#include "calibration/theory_series.h"
#include "core/errors.h"
#include "core/ms_data_file.h"
#include "core/number_text.h"
#include "core/spectrum_file.h"
#include "core/spectrum_state.h"
#include "export/html_report.h"
#include "export/table_text.h"
#include "fitting/final_run.h"
#include "fitting/results_table.h"
#include "processing/preliminary.h"

namespace orvelo::batch {
namespace {

// The table as the window's grid holds it: rows of cell texts, the head row first.
std::vector<std::vector<std::string>> GridRows(const std::vector<ResultRow>& table) {
    std::vector<std::vector<std::string>> rows;
    for (const ResultRow& row : table) rows.emplace_back(row.begin(), row.end());
    return rows;
}

void WriteReport(const Output& output, const SpectrumState& state, std::vector<std::vector<std::string>> rows) {
    HtmlTable html;
    html.rows = std::move(rows);
    html.columnWidths = EstimateColumnWidths(html.rows);
    const bool all[kReportColumnCount] = {true, true, true, true, true, true,
                                          true, true, true, true, true, true};
    output.WriteProgramFile("report.htm", WriteToHTML(html, state.SpectrumTitle, all, false));
}

// The mass lists and reference files a final run leaves on the calibration and theory pages.
void WriteMassFiles(const Output& output, const SpectrumState& state, const PeakResults& peaks) {
    const std::vector<std::string> masses = FillListMass(peaks);
    output.WriteUtf8("masses.txt", masses);

    const ElementMasses elements = ElementMassesOf(state);
    ReferenceTables tables;
    StandartCH(peaks, elements, tables);
    StandartCF(peaks, elements, tables);
    output.WriteUtf8("standard-masses.txt", ReFill(tables, ListFlags{}));
    ListFlags full;
    full.fullList = true;
    output.WriteUtf8("standard-masses-all.txt", ReFill(tables, full));

    const TheoryChart ch = CreateTeoriaCH(tables, peaks);
    output.WriteProgramFile(kPilaTheoryFileName, PilaCHTheoryLines(ch.theory));
    output.WriteProgramFile(kPilaPracticeFileName, PilaCHPracticeLines(ch.practice.points));
    output.WriteProgramFile("ch-list.txt", CHListLines(tables.CHList));
}

void Calibrate(const Options& options, const Output& output, SpectrumState& state, const PeakResults& peaks,
               const std::optional<SpectrumSource>& scan) {
    const CalibrationList list = ReadCalibrationFile(*options.calibrate, FillListMass(peaks));
    PointList points;
    CurveResult made = ProverkaZapol(list, peaks, points);
    if (!made.ok()) throw OrveloError(made.message);
    CurveFit fit = options.parabola ? PodobratParabola(points) : PodobratParabolaLine(points);
    if (!fit.result.ok()) throw OrveloError(fit.result.message);
    ApplyCalibration(fit.curve, state.Spectrum);
    output.WriteProgramFile("calibrated.txt", SpectrumFileLines(state.SpectrumTitle, state.Spectrum, 0,
                                                                state.Spectrum.count() - 1));
    if (scan)
        output.WriteBytes("calibrated.mzML", MzMLBytes(state.Spectrum, *scan,
                                                       AppliedCalibration{fit.curve.CalibA, fit.curve.CalibB, fit.curve.CalibC}));
}

void RunFinalProcessing(const Options& options, int64_t height, const Output& output, SpectrumState& state,
                        const std::optional<SpectrumSource>& scan) {
    const auto start = std::chrono::steady_clock::now();
    ApplyNoiseThreshold(state, height);
    FinalRunOptions run;
    run.gaussPower = GaussPowerFor(options.flat ? GaussShape::FlatTop : GaussShape::Ordinary);
    const FinalRunResult result = RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, run);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);

    std::vector<std::vector<std::string>> rows = GridRows(ResultsTable(result.peaks));
    const std::vector<std::string> tsv = TabSeparatedLines(rows, std::nullopt);
    if (!output.toFiles()) {
        output.Print(tsv);
        return;
    }
    output.WriteUtf8("results.tsv", tsv);
    output.WriteUtf8("zone-array.txt", result.zoneLines);
    output.WriteUtf8("problems.txt", result.problemLines);
    output.WriteUtf8("summary.txt", {"Всего пиков = " + std::to_string(result.peaks.size()),
                                     "Проблемных пиков = " + std::to_string(result.ProblemCount),
                                     "Время вычислений (мс) = " + std::to_string(ms.count())});
    WriteMassFiles(output, state, result.peaks);
    WriteReport(output, state, std::move(rows));
    if (options.calibrate) Calibrate(options, output, state, result.peaks, scan);
}

}  // namespace

int Run(const Options& options, std::ostream& out) {
    if (options.listScans) {
        if (!IsMsDataFile(options.spectrum))
            throw OrveloError("Файл \"" + options.spectrum + "\" не является файлом mzML или mzXML: спектров в нём не перечислить");
        PrintScanTable(MsDataFile(options.spectrum), out);
        return 0;
    }
    SpectrumState state;
    // The settings are checked before anything is loaded, as the window checks Edit2 first.
    if (options.kolUsred) state.KolUsred = ParseInt32OrThrow(*options.kolUsred);
    std::optional<int64_t> height;
    if (options.threshold) {
        height = CheckNoiseHeight(*options.threshold);
        if (!height) throw OrveloError(kInvalidHeightMessage);
    }

    std::optional<SpectrumSource> scan;  // set when the input is an mzML or mzXML file
    if (IsMsDataFile(options.spectrum)) {
        const MsDataFile file(options.spectrum);
        if (options.scan) {
            const ScanChoice choice = ParseScanChoice(*options.scan, static_cast<int>(file.scans().size()));
            if (choice.all || choice.numbers.size() > 1)
                return RunScans(options, file, choice, Output(options.outDir, out));
        }
        LoadedScan loaded = LoadOneScan(file, options.scan);
        scan = loaded.source;
        ApplyLoadedSpectrum(state, std::move(loaded.spectrum));
    } else {
        if (options.scan) throw OrveloError("--scan выбирает спектр файла mzML или mzXML, а \"" + options.spectrum +
                                            "\" — текстовый спектр");
        ApplyLoadedSpectrum(state, ReadSpectrumFile(options.spectrum));
    }
    const Output output(options.outDir, out);

    RunPreliminary(state);
    const std::vector<std::string> zones = ZoneListLines(state);
    if (output.toFiles()) output.WriteUtf8("zones.txt", zones);
    else if (!options.threshold) output.Print(zones);

    if (height) RunFinalProcessing(options, *height, output, state, scan);
    return 0;
}

}  // namespace orvelo::batch
