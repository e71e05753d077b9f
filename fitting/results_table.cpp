#include "fitting/results_table.h"

#include <cmath>

#include "core/number_text.h"

namespace orvelo {

const ResultRow& ResultsTableHeads() {
    static const ResultRow heads{"M", "Масса", "Ошибка", "Me", "DMe", "R", "dR", "A", "B", "Std Err", "Iter", "Kol"};
    return heads;
}

double NominalMass(double centre) {
    if (!std::isfinite(centre)) return 0;
    const double whole = std::floor(centre);
    const double fraction = centre - whole;
    return (fraction > 0.8 ? RoundHalfEven(centre) : whole) + 0.0;  // + 0.0: -0 becomes 0
}

double MassDefect(double centre) { return (centre - RoundHalfEven(centre)) * 1000; }

namespace {

ResultRow ProblemRow(const PeakResult& p) {
    const std::string blank(1, ' ');
    return {FormatFixed(NominalMass(p.Centre), 0),
            std::string("Ошибка"),
            blank,
            blank,
            blank,
            blank,
            blank,
            blank,
            blank,
            blank,
            blank,
            FormatFixed(p.N, 0)};
}

// Std Err relative to the height; a zero height has no such ratio.
std::string RelativeStdErr(const PeakResult& p) {
    const double ratio = p.StdErr / p.Height;
    return std::isfinite(ratio) ? FormatFixed(ratio, 2) : "-";
}

ResultRow NormalRow(const PeakResult& p, const double* previousMe) {
    const double me = MassDefect(p.Centre);
    return {FormatFixed(NominalMass(p.Centre), 0),
            FormatFixed(p.Centre, 6),
            FormatFixed(p.Errors[3], 6),
            FormatFixed(me, 2),
            previousMe ? FormatFixed(me - *previousMe, 1) : std::string(),
            FormatFixed(p.R, 0),
            FormatFixed(p.Errors[2], 1),
            FormatFixed(p.Background, 1),
            FormatFixed(p.Height - p.Background, 1),
            RelativeStdErr(p),
            FormatFixed(p.Iter, 0),
            FormatFixed(p.N, 0)};
}

}  // namespace

std::vector<ResultRow> ResultsTable(const PeakResults& peaks) {
    std::vector<ResultRow> rows{ResultsTableHeads()};
    rows.reserve(peaks.size() + 1);
    double previousMe = 0;
    for (std::size_t p = 0; p < peaks.size(); ++p) {
        if (IsProblemPeak(peaks[p])) {
            rows.push_back(ProblemRow(peaks[p]));
            continue;
        }
        rows.push_back(NormalRow(peaks[p], p == 0 ? nullptr : &previousMe));
        previousMe = MassDefect(peaks[p].Centre);
    }
    return rows;
}

RowWarning RowWarningOf(FitStop stop, bool settled, const PeakResult& peak) {
    if (IsProblemStop(stop) || IsProblemPeak(peak)) return RowWarning::None;
    if (!(peak.R > 0)) return RowWarning::RNotPositive;
    if (stop == FitStop::StepCap) return settled ? RowWarning::CapSettled : RowWarning::CapMoving;
    return RowWarning::None;
}

std::string RowWarningText(RowWarning warning) {
    const std::string cap = std::to_string(kMaxFitSteps);
    switch (warning) {
        case RowWarning::None: return {};
        case RowWarning::CapSettled:
            return "Подбор остановлен на " + cap +
                   " итерациях, но значения установились: последние шаги меньше 1E-9 от самих значений";
        case RowWarning::CapMoving:
            return "Подбор остановлен на " + cap + " итерациях, а значения ещё менялись: результат ненадёжен";
        case RowWarning::RNotPositive: return "R не положительно: ширина пика не подобрана, результат ненадёжен";
    }
    return {};
}

}  // namespace orvelo
