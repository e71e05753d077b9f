#pragma once
// Reference ion masses for mass assignment: the "Все массы" peak lines, the generated CH and CF
// tables over the nominal masses the peaks cover, and the "Стандартные массы" list lines.
// All rebuilt from empty after every final run; ReferenceTables::clear() is the reset.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/spectrum_state.h"
#include "fitting/peak_result.h"

namespace orvelo {

struct ElementMasses {
    double Carbon = 12.0;
    double Hydrogen = 1.00783;
    double Fluorine = 18.9984;
};
ElementMasses ElementMassesOf(const SpectrumState& s);

// One ion CnXm: X is hydrogen in the CH tables (nX may be -1 there), fluorine in the CF table.
// Mass = nC*C + nX*X, computed in extended precision and stored as double.
struct IonRow {
    double nC = 0;
    double nX = 0;
    double Mass = 0;
};

// The three CH kinds: 0 "молек" nH = 2nC+2, 1 "один" nH = 2nC+1, 2 "два" nH = 2nC.
inline constexpr int kCHKindCount = 3;
inline constexpr int kMolecularKind = 0;

struct CHOrderEntry {
    int kind = 0;   // 0 .. 2
    int index = 0;  // into CHKindLists[kind]
};

struct ReferenceTables {
    std::vector<IonRow> CHList;  // one row per nominal mass, in generation order (not by mass)
    std::array<std::vector<IonRow>, kCHKindCount> CHKindLists;
    std::vector<CHOrderEntry> CHOrder;  // display order of the kind lists
    std::vector<IonRow> CFList;

    void clear();
};

// The check boxes of "Стандартные массы": kinds[k] is CheckBox1 .. CheckBox3 (kind k),
// fullList is CheckBox4 ("полный список"), which overrides the three kinds.
struct ListFlags {
    std::array<bool, kCHKindCount> kinds{true, false, false};
    bool fullList = false;
};

// The tables cover at most this many nominal masses (one row each): real spectra need a few
// thousand, and the cost and the files grow with the range. A wider range builds no table.
inline constexpr long long kMaxReferenceNominalMasses = 100000;
// Why the peaks build no table although they are there: their nominal-mass range is wider
// than kMaxReferenceNominalMasses. Nothing for a range that is built (or for no peaks).
std::optional<std::string> ReferenceRangeRefusal(const PeakResults& peaks);
// The same for peaks from firstCentre to lastCentre (a spectrum's ends, checked up front).
std::optional<std::string> ReferenceRangeRefusal(double firstCentre, double lastCentre);

// "%.1f" centre, ",  ", "%.0f" height: "43.0,  12345".
std::string PeakListLine(const PeakResult& peak);
// One line per peak, for ListBox5 ("Все массы") and ListBox8.
std::vector<std::string> FillListMass(const PeakResults& peaks);

// The CH row of nominal mass j, or false for j <= 10: there no carbon count is tried
// (floor((j+1)/12) = 0), and such a j gives no row, as in the CF table.
bool CHRowFor(long long j, const ElementMasses& m, IonRow& row);
// The CF row of nominal mass j; false when no carbon count rounds to j (or the hit has nF = 0).
bool CFRowFor(long long j, const ElementMasses& m, IonRow& row);
// -1, 0, 1 or 2: the kind list a CH row belongs to (-1: none).
int CHKindOf(const IonRow& row);
// "молек", "один", "два" for kinds 0, 1, 2.
const char* CHKindWord(int kind);

// Rebuild CHList, the kind lists and CHOrder from the peaks (the window then calls ReFill).
void StandartCH(const PeakResults& peaks, const ElementMasses& m, ReferenceTables& t);
void BuildCHOrder(ReferenceTables& t);
void StandartCF(const PeakResults& peaks, const ElementMasses& m, ReferenceTables& t);

// "16.03132,  C 1 H 4,  молек" (full list; the suffix only for saturated rows) and
// "15.02349,  C 1 H 3,  один" (kind lists).
std::string FullListLine(const IonRow& row);
std::string KindListLine(const IonRow& row, int kind);
// The lines of ListBox2 ("Стандартные массы") for the current check-box states.
std::vector<std::string> ReFill(const ReferenceTables& t, const ListFlags& flags);

// The lines of "Стандартные массы" for the state of its group: with "CH" chosen the CH table
// through the kind check boxes (ReFill); with "CF" chosen every row of the CF table,
// "30.9984,  C 1 F 1" (the kind boxes describe hydrogen counts and do not apply there). A CF
// line starts with its mass like a CH line, so "<<" takes it the same way.
enum class StandardFamily { CH, CF };
std::string CFListLine(const IonRow& row);
std::vector<std::string> StandardMassLines(const ReferenceTables& tables, const ListFlags& flags,
                                           StandardFamily family);

}  // namespace orvelo
