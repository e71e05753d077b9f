#include "calibration/curve_report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/number_text.h"

namespace orvelo {

namespace {

constexpr int kCoefficientDigits = 7;

// The general number form of the value rounded to kCoefficientDigits significant digits.
std::string Coefficient(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*e", kCoefficientDigits - 1, value);
    return FormatGeneral(std::strtod(text, nullptr));
}

// " + 0.1·M" or " - 0.1·M" after the first term; the first term keeps its own sign.
void AppendTerm(std::string& text, double value, const char* unit, bool first) {
    if (first) {
        text += Coefficient(value);
    } else {
        text += std::signbit(value) ? " - " : " + ";
        text += Coefficient(std::fabs(value));
    }
    text += unit;
}

}  // namespace

double RootMeanSquare(const std::vector<double>& values) {
    if (values.empty()) return 0;
    double sum = 0;
    for (double v : values) sum += v * v;
    return std::sqrt(sum / static_cast<double>(values.size()));
}

const char* CurveKindName(CurveKind kind) { return kind == CurveKind::Line ? "Линия" : "Парабола"; }

std::string CurveEquationText(const CalibrationCurve& curve, CurveKind kind) {
    std::string text = "Поправка, mmu = ";
    const bool parabola = kind == CurveKind::Parabola;
    if (parabola) AppendTerm(text, curve.CalibA, "·M^2", true);
    AppendTerm(text, curve.CalibB, "·M", !parabola);
    AppendTerm(text, curve.CalibC, "", false);
    return text;
}

CalibrationCheck CheckCalibration(const PointList& points, const CalibrationCurve& curve, CurveKind kind) {
    CalibrationCheck check;
    check.equation = CurveEquationText(curve, kind);
    std::vector<double> before, after;
    for (int i = 0; i < points.count(); ++i) {
        CheckRow row;
        row.measured = points.x[i];
        row.beforeMmu = points.y[i];
        row.trueMass = row.measured + row.beforeMmu / 1000;
        row.afterMmu = row.beforeMmu - curve.DeviationMmu(row.measured);
        check.rows.push_back(row);
        before.push_back(row.beforeMmu);
        after.push_back(row.afterMmu);
    }
    check.rmsBeforeMmu = RootMeanSquare(before);
    check.rmsAfterMmu = RootMeanSquare(after);
    return check;
}

std::vector<std::string> CheckRowCells(const CheckRow& row) {
    return {FormatFixed(row.measured, 5), FormatFixed(row.trueMass, 5), FormatFixed(row.beforeMmu, 2),
            FormatFixed(row.afterMmu, 2)};
}

std::string CheckRmsLine(const CalibrationCheck& check) {
    return "СКО остатков, mmu = " + FormatFixed(check.rmsAfterMmu, 2) + " (до кривой " +
           FormatFixed(check.rmsBeforeMmu, 2) + ")";
}

std::vector<std::string> CalibrationCheckLines(const CalibrationCheck& check, CurveKind kind,
                                               const std::string& massesLine) {
    std::vector<std::string> lines;
    lines.push_back(std::string("Калибровочная кривая: ") + CurveKindName(kind));
    if (!massesLine.empty()) lines.push_back(massesLine);
    lines.push_back(check.equation);
    lines.push_back(std::string(kCheckHeads[0]) + "\t" + kCheckHeads[1] + "\t" + kCheckHeads[2] + "\t" +
                    kCheckHeads[3]);
    for (const CheckRow& row : check.rows) {
        const std::vector<std::string> cells = CheckRowCells(row);
        lines.push_back(cells[0] + "\t" + cells[1] + "\t" + cells[2] + "\t" + cells[3]);
    }
    lines.push_back(CheckRmsLine(check));
    return lines;
}

}  // namespace orvelo
