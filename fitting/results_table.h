#pragma once
// The texts of the results table (StringGrid1 on "Информация"): row 0 the twelve heads, row
// p + 1 peak p of PeakResults. The window only places these strings; the HTML report reads
// them back from the grid.
#include <array>
#include <string>
#include <vector>

#include "fitting/peak_fit.h"
#include "fitting/peak_result.h"

namespace orvelo {

inline constexpr int kResultColumns = 12;
using ResultRow = std::array<std::string, kResultColumns>;

// "M", "Масса", "Ошибка", "Me", "DMe", "R", "dR", "A", "B", "Std Err", "Iter", "Kol".
const ResultRow& ResultsTableHeads();

// floor(centre), or the rounded centre when its fraction exceeds 0.8 (28.995 -> 29,
// 43.7 -> 43). 0 for a centre that is not a finite number. A whole number held as a double,
// so that any finite centre has one (3E9 stays 3000000000, beyond every integer type).
double NominalMass(double centre);

// Mass defect in thousandths: (centre - round(centre)) * 1000, halves to even.
double MassDefect(double centre);

// Heads, then one row per peak. A normal row: NominalMass, Centre (6 decimals), Errors[3] (6),
// Me (2), DMe (1), R (0), Errors[2] (1), Background (1), Height - Background (1),
// StdErr / Height (2), Iter (0), N (0). DMe is Me minus the Me of the previous normal row,
// and empty in the first row. A problem row: NominalMass, "Ошибка", nine " ", N.
std::vector<ResultRow> ResultsTable(const PeakResults& peaks);

// Rows of the table worth a second look; their cell texts stay as they are, the window marks
// them with a colour and says why in a tooltip. Problem rows already read "Ошибка".
enum class RowWarning {
    None,
    CapSettled,    // stopped by the step cap, but the last steps no longer moved the values
    CapMoving,     // stopped by the step cap while the values were still changing
    RNotPositive,  // the fitted resolving power is zero, negative or not a number
};
RowWarning RowWarningOf(FitStop stop, bool settled, const PeakResult& peak);
// The tooltip of a marked row; empty for RowWarning::None.
std::string RowWarningText(RowWarning warning);

}  // namespace orvelo
