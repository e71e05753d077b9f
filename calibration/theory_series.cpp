#include "calibration/theory_series.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/number_text.h"
#include "fitting/results_table.h"

namespace orvelo {

double CHDefectMmu(double mass) { return (mass - std::floor(mass)) * 1000; }
double CFDefectMmu(double mass) { return MassDefect(mass); }  // as "Me" in the results table

namespace {

// The chart series keep their points in ascending x; equal masses keep their order.
std::vector<std::size_t> AscendingOrder(const std::vector<double>& x) {
    std::vector<std::size_t> order(x.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return x[a] < x[b]; });
    return order;
}

PointList TheorySeries(const std::vector<IonRow>& rows, double (*defect)(double)) {
    std::vector<double> masses;
    masses.reserve(rows.size());
    for (const IonRow& row : rows) masses.push_back(row.Mass);
    PointList series;
    series.reserve(rows.size());
    for (std::size_t i : AscendingOrder(masses)) series.push(masses[i], defect(masses[i]));
    return series;
}

PracticeSeries PracticeSeriesOf(const PeakResults& peaks, double (*defect)(double), bool skipProblemPeaks) {
    std::vector<double> centres;
    std::vector<int> from;
    for (std::size_t n = 0; n < peaks.size(); ++n) {
        if (skipProblemPeaks && IsProblemPeak(peaks[n])) continue;
        centres.push_back(peaks[n].Centre);
        from.push_back(static_cast<int>(n));
    }
    PracticeSeries series;
    for (std::size_t i : AscendingOrder(centres)) {
        series.points.push(centres[i], defect(centres[i]));
        series.peakIndex.push_back(from[i]);
    }
    return series;
}

std::vector<std::string> PilaLines(const char* title, const PointList& series) {
    std::vector<std::string> lines{std::string("\"") + title + "\"", "\"\"", "\"\""};
    for (int i = 0; i < series.count(); ++i)
        lines.push_back(FormatFixed(series.x[i], 0) + "\t" + FormatFixed(series.y[i], 0));
    return lines;
}

}  // namespace

TheoryChart CreateTeoriaCH(const ReferenceTables& tables, const PeakResults& peaks) {
    return TheoryChart{TheorySeries(tables.CHList, CHDefectMmu), PracticeSeriesOf(peaks, CHDefectMmu, true)};
}

TheoryChart CreateTeoriaCF(const ReferenceTables& tables, const PeakResults& peaks) {
    return TheoryChart{TheorySeries(tables.CFList, CFDefectMmu), PracticeSeriesOf(peaks, CFDefectMmu, false)};
}

std::string HoverMarkText(const PracticeSeries& series, const PeakResults& peaks, int valueIndex, int hoverIndex,
                          bool hintyCHCF) {
    if (!hintyCHCF || valueIndex != hoverIndex) return {};
    if (valueIndex < 0 || valueIndex >= static_cast<int>(series.peakIndex.size())) return {};
    const int n = series.peakIndex[static_cast<std::size_t>(valueIndex)];
    if (n < 0 || n >= static_cast<int>(peaks.size())) return {};
    const PeakResult& p = peaks[static_cast<std::size_t>(n)];
    return "M = " + FormatFixed(p.Centre, 3) + "\rR = " + FormatFixed(p.R, 0) + "\rV = " + FormatFixed(p.Height, 0);
}

std::vector<std::string> PilaCHTheoryLines(const PointList& series9, ReferenceMassKind kind) {
    return PilaLines(kind == ReferenceMassKind::Ion ? "Пила CH (теория, массы ионов)" : "Пила CH (теория)", series9);
}

std::vector<std::string> PilaCHPracticeLines(const PointList& series10) {
    return PilaLines("Пила CH (практика)", series10);
}

std::vector<std::string> CHListLines(const std::vector<IonRow>& chList) {
    std::vector<std::string> lines;
    lines.reserve(chList.size());
    for (const IonRow& row : chList) {
        std::string line = FormatGeneral(row.Mass) + "\tC " + FormatGeneral(row.nC) + " H " + FormatGeneral(row.nX);
        if (CHKindOf(row) == kMolecularKind) line += "\tмолек";
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace orvelo
