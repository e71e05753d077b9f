#pragma once
// "Файл" > "Список CH" > "HTML": the CH table as a page in the plain look of the information
// report, one row per CHList row in table order under the head "Масса", "C", "H", "Вид"
// ("молек", "один", "два", or empty for a row of no kind).
#include <string>
#include <vector>

#include "calibration/ion_masses.h"
#include "calibration/reference_masses.h"

namespace orvelo {

inline constexpr const char* kCHListHtmlTitle = "Список CH";
inline constexpr const char* kCHListHtmlDialogTitle = "Сохранить список CH в HTML";
inline constexpr const char* kCHListHtmlFileName = "СписокCH.htm";

// Rows (head first) with the same number texts as the CH list for a spreadsheet.
std::vector<std::vector<std::string>> CHListTableRows(const std::vector<IonRow>& chList);
// With ion masses the title says so: "Список CH (массы ионов)".
std::vector<std::string> CHListHtml(const std::vector<IonRow>& chList,
                                    ReferenceMassKind kind = ReferenceMassKind::Neutral);

}  // namespace orvelo
