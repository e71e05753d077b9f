#include "calibration/ion_masses.h"

#include "calibration/reference_masses.h"

namespace orvelo {

namespace {

void ToIonMasses(std::vector<IonRow>& rows) {
    for (IonRow& row : rows)
        row.Mass = static_cast<double>(static_cast<long double>(row.Mass) - static_cast<long double>(kElectronMass));
}

// Every row of every table lighter by the electron mass (the duplicates of CHList included).
void ToIonMasses(ReferenceTables& tables) {
    ToIonMasses(tables.CHList);
    for (auto& list : tables.CHKindLists) ToIonMasses(list);
    ToIonMasses(tables.CFList);
}

}  // namespace

std::string ReferenceMassesLine(ReferenceMassKind kind) {
    return kind == ReferenceMassKind::Ion ? std::string(kIonMassesNote) : std::string("Опорные массы: нейтральные");
}

ReferenceTables BuildReferenceTables(const PeakResults& peaks, const ElementMasses& m, ReferenceMassKind kind) {
    ReferenceTables tables;
    StandartCH(peaks, m, tables);
    StandartCF(peaks, m, tables);
    if (kind == ReferenceMassKind::Ion) ToIonMasses(tables);
    return tables;
}

std::vector<std::string> NotedMassLines(std::vector<std::string> lines, ReferenceMassKind kind) {
    if (kind == ReferenceMassKind::Ion) lines.insert(lines.begin(), kIonMassesNote);
    return lines;
}

}  // namespace orvelo
