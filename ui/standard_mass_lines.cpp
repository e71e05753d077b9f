#include "ui/standard_mass_lines.h"

#include "core/number_text.h"

namespace orvelo::ui {

std::string CFListLine(const IonRow& row) {
    return FormatGeneral(row.Mass) + ",  C " + FormatGeneral(row.nC) + " F " + FormatGeneral(row.nX);
}

std::vector<std::string> StandardMassLines(const ReferenceTables& tables, const ListFlags& flags,
                                           StandardFamily family) {
    if (family == StandardFamily::CH) return ReFill(tables, flags);
    std::vector<std::string> lines;
    lines.reserve(tables.CFList.size());
    for (const IonRow& row : tables.CFList) lines.push_back(CFListLine(row));
    return lines;
}

}  // namespace orvelo::ui
