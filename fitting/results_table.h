#pragma once
// The texts of the results table (StringGrid1 on "Информация"): row 0 the twelve heads, row
// p + 1 peak p of PeakResults. The window only places these strings; the HTML report reads
// them back from the grid.
#include <array>
#include <string>
#include <vector>

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

}  // namespace orvelo
