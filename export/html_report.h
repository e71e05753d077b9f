#pragma once
// The HTML information report: the results table as a fixed line-by-line template, in the plain
// look ("HTML") or the framed look ("HTML (усовершен.)"). The lines go to WriteTextFile, which
// writes them as Windows-1251 with CR LF; the page declares no character set.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fitting/results_table.h"

namespace orvelo {

// Row 0 is the header row (written with TH cells); columnWidths[n] is column n's width in
// pixels as shown on screen. A row shorter than the widths has empty cells at its end.
struct HtmlTable {
    std::vector<std::vector<std::string>> rows;
    std::vector<int> columnWidths;
};

inline constexpr int kReportColumnCount = kResultColumns;

// Save-dialog texts of "Файл" > "Информация" (the filter in the "caption|mask|..." form).
inline constexpr const char* kHtmlDialogTitle = "Сохранить информацию";
inline constexpr const char* kHtmlFileName = "Информация.htm";
inline constexpr const char* kHtmlFilter = "HTML (*.htm)|*.HTM|Все (*.*)|*.*";

// &, < and > as &amp; &lt; &gt;: a title or cell holding them stays text in the page.
std::string EscapeHtml(std::string_view text);

// The whole file, one string per line. `chosen[n]` selects column n (VyborStolbtsov); columns
// beyond chosen.size() are left out. The title ends at its first zero character. Every line of
// the template is kept exactly, leading blanks and one-blank lines included; a cell line is
// '    <TD WIDTH=' width+5 '>' text '</TD> ' (TH for row 0, ' bgcolor=ffffff' before WIDTH in
// the framed look).
std::vector<std::string> WriteToHTML(const HtmlTable& table, std::string_view title, std::span<const bool> chosen,
                                     bool Usovershen);

// Column widths when no grid measures them (the command-line program): the widest cell text of
// the column, at kCharWidthPixels per character, plus the width of "www", as the grid's
// AutoSizeColumns does.
inline constexpr int kCharWidthPixels = 7;
int EstimateTextWidth(std::string_view utf8);
std::vector<int> EstimateColumnWidths(const std::vector<std::vector<std::string>>& rows);

}  // namespace orvelo
