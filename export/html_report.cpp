#include "export/html_report.h"

#include <algorithm>

#include "core/cp1251.h"

namespace orvelo {

namespace {

constexpr const char* kSpaceLine = " ";

void AddSpaceLines(std::vector<std::string>& out, int n) {
    out.insert(out.end(), static_cast<std::size_t>(n), kSpaceLine);
}

std::string CellLine(const HtmlTable& table, std::size_t row, std::size_t column, bool Usovershen) {
    const bool header = row == 0;
    std::string line = header ? "    <TH" : "    <TD";
    if (Usovershen) line += " bgcolor=ffffff";
    const int width = column < table.columnWidths.size() ? table.columnWidths[column] : 0;
    line += " WIDTH=" + std::to_string(width + 5) + ">";
    const auto& cells = table.rows[row];
    if (column < cells.size()) line += EscapeHtml(cells[column]);
    line += header ? "</TH> " : "</TD> ";
    return line;
}

void AddRowBlock(std::vector<std::string>& out, const HtmlTable& table, std::size_t row, std::span<const bool> chosen,
                 bool Usovershen) {
    out.push_back("  <TR>");
    for (std::size_t n = 0; n < chosen.size(); ++n)
        if (chosen[n]) out.push_back(CellLine(table, row, n, Usovershen));
    out.push_back("  </TR>");
    out.push_back(kSpaceLine);
}

void AddHead(std::vector<std::string>& out, const std::string& title) {
    out.push_back("<HTML>");
    out.push_back("  <HEAD>");
    out.push_back("    <TITLE>" + title + "</TITLE>");
    out.push_back("  </HEAD>");
    AddSpaceLines(out, 3);
    out.push_back("<BODY TEXT=#000000 bgColor=#FFFFFF leftMargin=5 topMargin=5>");
    out.push_back(kSpaceLine);
    out.push_back("<BR>");
    out.push_back("    <FONT SIZE=+3>" + title + "</FONT>");
    out.push_back("<BR><BR>");
}

void AddTableStart(std::vector<std::string>& out, bool Usovershen) {
    if (!Usovershen) {
        out.push_back("<TABLE BORDER=1 BORDERCOLOR=#000000 BORDERCOLORDARK=#000000 BORDERCOLORLIGHT=#000000>");
        return;
    }
    out.push_back("<table cellSpacing=0 cellPadding=0 border=0>");
    out.push_back("<tr>");
    out.push_back("<td bgcolor=000000>");
    AddSpaceLines(out, 2);
    out.push_back("<TABLE cellSpacing=1 cellPadding=3 border=0 WIDTH=\"100%\">");
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::vector<std::string> WriteToHTML(const HtmlTable& table, std::string_view title, std::span<const bool> chosen,
                                     bool Usovershen) {
    std::vector<std::string> out;
    AddHead(out, EscapeHtml(title.substr(0, title.find('\0'))));
    AddTableStart(out, Usovershen);
    out.push_back(kSpaceLine);
    for (std::size_t r = 0; r < table.rows.size(); ++r) AddRowBlock(out, table, r, chosen, Usovershen);
    out.push_back("</TABLE>");
    AddSpaceLines(out, 2);
    if (Usovershen) {
        out.push_back("</td>");
        out.push_back("</tr>");
        out.push_back("</table>");
    }
    AddSpaceLines(out, 3);
    out.push_back("</BODY>");
    out.push_back("</HTML>");
    return out;
}

int EstimateTextWidth(std::string_view utf8) { return static_cast<int>(CharCount(utf8)) * kCharWidthPixels; }

std::vector<int> EstimateColumnWidths(const std::vector<std::vector<std::string>>& rows) {
    std::vector<int> widths;
    for (const auto& row : rows) {
        if (row.size() > widths.size()) widths.resize(row.size(), 0);
        for (std::size_t n = 0; n < row.size(); ++n) widths[n] = std::max(widths[n], EstimateTextWidth(row[n]));
    }
    const int margin = EstimateTextWidth("www");
    for (int& w : widths) w += margin;
    return widths;
}

}  // namespace orvelo
