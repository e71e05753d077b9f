#include "export/ch_list_html.h"

#include <array>

#include "core/number_text.h"
#include "export/html_report.h"

namespace orvelo {

namespace {

std::string KindWord(const IonRow& row) {
    const int kind = CHKindOf(row);
    return kind < 0 ? std::string() : CHKindWord(kind);
}

}  // namespace

std::vector<std::vector<std::string>> CHListTableRows(const std::vector<IonRow>& chList) {
    std::vector<std::vector<std::string>> rows{{"Масса", "C", "H", "Вид"}};
    rows.reserve(chList.size() + 1);
    for (const IonRow& row : chList)
        rows.push_back({FormatGeneral(row.Mass), FormatGeneral(row.nC), FormatGeneral(row.nX), KindWord(row)});
    return rows;
}

std::vector<std::string> CHListHtml(const std::vector<IonRow>& chList, ReferenceMassKind kind) {
    HtmlTable table;
    table.rows = CHListTableRows(chList);
    table.columnWidths = EstimateColumnWidths(table.rows);
    const std::array<bool, 4> all{true, true, true, true};
    return WriteToHTML(table, kind == ReferenceMassKind::Ion ? "Список CH (массы ионов)" : kCHListHtmlTitle, all,
                       false);
}

}  // namespace orvelo
