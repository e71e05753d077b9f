#include "calibration/reference_masses.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace orvelo {

namespace {

const char* const kKindWords[kCHKindCount] = {"молек", "один", "два"};

// Keeps every j and carbon count exact in long long and long double.
constexpr double kLargestNominalMass = 1e15;

// j runs from floor(Centre of the first peak) + 1 to floor(Centre of the last peak) + 1, taken
// in list order, not as the smallest and largest centre. Empty (false) for no peaks, a centre
// that is not a number or beyond kLargestNominalMass, and a range wider than
// kMaxReferenceNominalMasses (ReferenceRangeRefusal says why).
bool NominalRange(const PeakResults& peaks, long long& first, long long& last) {
    if (peaks.empty()) return false;
    const double lo = std::floor(peaks.front().Centre) + 1;
    const double hi = std::floor(peaks.back().Centre) + 1;
    if (!std::isfinite(lo) || !std::isfinite(hi)) return false;
    if (std::fabs(lo) > kLargestNominalMass || std::fabs(hi) > kLargestNominalMass) return false;
    first = static_cast<long long>(lo);
    last = static_cast<long long>(hi);
    return first <= last && last - first < kMaxReferenceNominalMasses;
}

IonRow MakeRow(long long nC, long long nX, long double c, long double x) {
    const long double mass = static_cast<long double>(nC) * c + static_cast<long double>(nX) * x;
    return IonRow{static_cast<double>(nC), static_cast<double>(nX), static_cast<double>(mass)};
}

long long FloorQuotient(long double numerator, long double denominator) {
    return static_cast<long long>(std::floor(numerator / denominator));
}

// t(i) = floor((j - i c) / x), the count of the second element left for i carbons.
long long SecondCount(long long j, long long i, long double c, long double x) {
    return FloorQuotient(static_cast<long double>(j) - static_cast<long double>(i) * c, x);
}

// The first carbon count i in 1..o with 2i + 2 >= t(i), or o + 1 when none has it. t(i) never
// rises with i and 2i + 2 always does, so once a count passes every larger one passes too: the
// binary search finds the count that trying 1, 2, ... in turn would find, in log(o) steps
// instead of about j / 14.
long long FirstUnsaturatedCount(long long j, long long o, long double c, long double x) {
    long long lo = 1;
    long long hi = o + 1;
    while (lo < hi) {
        const long long mid = lo + (hi - lo) / 2;
        if (2 * mid + 2 >= SecondCount(j, mid, c, x)) hi = mid;
        else lo = mid + 1;
    }
    return lo;
}

}  // namespace

std::optional<std::string> ReferenceRangeRefusal(double firstCentre, double lastCentre) {
    const double lo = std::floor(firstCentre) + 1;
    const double hi = std::floor(lastCentre) + 1;
    if (!(hi - lo >= kMaxReferenceNominalMasses)) return std::nullopt;  // also NaN: nothing to build
    return "Таблицы стандартных масс CH и CF не построены: им нужны номинальные массы от " + FormatGeneral(lo) +
           " до " + FormatGeneral(hi) + ", а строятся они не более чем для " +
           std::to_string(kMaxReferenceNominalMasses) + " номинальных масс";
}

std::optional<std::string> ReferenceRangeRefusal(const PeakResults& peaks) {
    if (peaks.empty()) return std::nullopt;
    return ReferenceRangeRefusal(peaks.front().Centre, peaks.back().Centre);
}

ElementMasses ElementMassesOf(const SpectrumState& s) {
    return ElementMasses{s.CarbonMass, s.HydrogenMass, s.FluorineMass};
}

void ReferenceTables::clear() {
    CHList.clear();
    for (auto& list : CHKindLists) list.clear();
    CHOrder.clear();
    CFList.clear();
}

std::string PeakListLine(const PeakResult& peak) {
    return FormatFixed(peak.Centre, 1) + ",  " + FormatFixed(peak.Height, 0);
}

std::vector<std::string> FillListMass(const PeakResults& peaks) {
    std::vector<std::string> lines;
    lines.reserve(peaks.size());
    for (const PeakResult& p : peaks) lines.push_back(PeakListLine(p));
    return lines;
}

bool CHRowFor(long long j, const ElementMasses& m, IonRow& row) {
    const long double c = m.Carbon;
    const long double h = m.Hydrogen;
    const long long o = FloorQuotient(static_cast<long double>(j + 1), c);
    if (o < 1) return false;
    // The first carbon count that needs no more hydrogen than the saturated CiH2i+2.
    const long long i = FirstUnsaturatedCount(j, o, c, h);
    if (i <= o) {
        row = MakeRow(i, SecondCount(j, i, c, h), c, h);
        return true;
    }
    // No count fits (j = 18..22, 32..34, 46): one carbon more with the hydrogen found for o.
    row = MakeRow(o + 1, SecondCount(j, o, c, h), c, h);
    return true;
}

bool CFRowFor(long long j, const ElementMasses& m, IonRow& row) {
    const long double c = m.Carbon;
    const long double f = m.Fluorine;
    const long long o = FloorQuotient(static_cast<long double>(j + 1), c);
    if (o < 1) return false;
    // Counts below the first with 2i + 2 >= t are all skipped. From there a hit comes within
    // a bounded number of counts: each count moves i C + t F by 12 against the period 18.9984,
    // so within 1979 counts the mass has come within 0.01 of every offset below j.
    for (long long i = FirstUnsaturatedCount(j, o, c, f); i <= o; ++i) {
        const long long t = SecondCount(j, i, c, f);
        if (2 * i + 2 < t) continue;
        const long double mass = static_cast<long double>(i) * c + static_cast<long double>(t) * f;
        if (std::nearbyint(mass) != static_cast<long double>(j)) continue;  // halves to even
        if (t == 0) return false;
        row = MakeRow(i, t, c, f);
        return true;
    }
    return false;
}

const char* CHKindWord(int kind) { return kKindWords[kind]; }

int CHKindOf(const IonRow& row) {
    for (int k = 0; k < kCHKindCount; ++k)
        if (row.nX == 2 * row.nC + 2 - k) return k;
    return -1;
}

void StandartCH(const PeakResults& peaks, const ElementMasses& m, ReferenceTables& t) {
    t.CHList.clear();
    for (auto& list : t.CHKindLists) list.clear();
    t.CHOrder.clear();
    long long first = 0;
    long long last = -1;
    if (NominalRange(peaks, first, last)) {
        for (long long j = first; j <= last; ++j) {
            IonRow row;
            if (!CHRowFor(j, m, row)) continue;
            t.CHList.push_back(row);
            const int kind = CHKindOf(row);
            if (kind >= 0) t.CHKindLists[kind].push_back(row);
        }
    }
    BuildCHOrder(t);
}

// Interleaves the kind lists: for p = 0, 1, ... the entries p of kinds 2, 1 and 0, so that
// {CH4, C2H6}, {CH3, C2H5, C3H7}, {CH2} are shown as CH2, CH3, CH4, C2H5, C2H6, C3H7.
void BuildCHOrder(ReferenceTables& t) {
    t.CHOrder.clear();
    std::size_t longest = 0;
    std::size_t total = 0;
    for (const auto& list : t.CHKindLists) {
        longest = std::max(longest, list.size());
        total += list.size();
    }
    t.CHOrder.reserve(total);
    for (std::size_t p = 0; p < longest; ++p)
        for (int k = kCHKindCount - 1; k >= 0; --k)
            if (p < t.CHKindLists[k].size()) t.CHOrder.push_back(CHOrderEntry{k, static_cast<int>(p)});
}

void StandartCF(const PeakResults& peaks, const ElementMasses& m, ReferenceTables& t) {
    t.CFList.clear();
    long long first = 0;
    long long last = -1;
    if (!NominalRange(peaks, first, last)) return;
    for (long long j = first; j <= last; ++j) {
        IonRow row;
        if (CFRowFor(j, m, row)) t.CFList.push_back(row);
    }
}

namespace {

std::string FormulaText(const IonRow& row) {
    return FormatGeneral(row.Mass) + ",  C " + FormatGeneral(row.nC) + " H " + FormatGeneral(row.nX);
}

}  // namespace

std::string FullListLine(const IonRow& row) {
    std::string line = FormulaText(row);
    if (CHKindOf(row) == kMolecularKind) line += ",  молек";
    return line;
}

std::string KindListLine(const IonRow& row, int kind) { return FormulaText(row) + ",  " + kKindWords[kind]; }

std::vector<std::string> ReFill(const ReferenceTables& t, const ListFlags& flags) {
    std::vector<std::string> lines;
    if (flags.fullList) {
        for (const IonRow& row : t.CHList) lines.push_back(FullListLine(row));
        return lines;
    }
    for (const CHOrderEntry& e : t.CHOrder)
        if (flags.kinds[e.kind]) lines.push_back(KindListLine(t.CHKindLists[e.kind][e.index], e.kind));
    return lines;
}

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

}  // namespace orvelo
