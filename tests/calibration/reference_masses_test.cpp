#include <gtest/gtest.h>

#include <cmath>

#include "calibration/peaks.h"
#include "calibration/after_final_run.h"
#include "calibration/reference_masses.h"
#include "core/number_text.h"

namespace orvelo {
namespace {

using testing::Peak;
using testing::PeaksAt;

struct ExpectedRow {
    int j;
    int nC;
    int nH;
    const char* mass;  // general number form
    int kind;          // -1: in no kind list
};

std::string Formula(const IonRow& r) {
    std::string text = "C";
    text += FormatGeneral(r.nC);
    text += " X";
    text += FormatGeneral(r.nX);
    return text;
}

TEST(ReferenceMasses, CHRowsOfElevenToSeventyTwoFollowTheWorkedTable) {
    const ExpectedRow table[] = {
        {11, 1, -1, "10.99217", -1}, {12, 1, 0, "12", -1},       {13, 1, 0, "12", -1},
        {14, 1, 1, "13.00783", -1},  {15, 1, 2, "14.01566", 2},  {16, 1, 3, "15.02349", 1},
        {17, 1, 4, "16.03132", 0},   {18, 2, 5, "29.03915", 1},  {19, 2, 6, "30.04698", 0},
        {20, 2, 7, "31.05481", -1},  {21, 2, 8, "32.06264", -1}, {22, 2, 9, "33.07047", -1},
        {23, 2, -1, "22.99217", -1}, {24, 2, 0, "24", -1},       {25, 2, 0, "24", -1},
        {29, 2, 4, "28.03132", 2},   {30, 2, 5, "29.03915", 1},  {31, 2, 6, "30.04698", 0},
        {32, 3, 7, "43.05481", 1},   {33, 3, 8, "44.06264", 0},  {34, 3, 9, "45.07047", -1},
        {35, 3, -1, "34.99217", -1}, {46, 4, 9, "57.07047", 1},  {47, 4, -1, "46.99217", -1},
        {59, 4, 10, "58.0783", 0},   {60, 5, 0, "60", -1},       {61, 5, 0, "60", -1},
        {72, 5, 11, "71.08613", 1},
    };
    // Peaks at 10.4 and 71.6 make j run from 11 to 72.
    ReferenceTables t;
    StandartCH(PeaksAt({10.4, 40.0, 71.6}), ElementMasses{}, t);
    ASSERT_EQ(t.CHList.size(), 62u);
    for (const ExpectedRow& e : table) {
        SCOPED_TRACE("j = " + std::to_string(e.j));
        const IonRow& row = t.CHList[static_cast<std::size_t>(e.j - 11)];
        EXPECT_EQ(row.nC, e.nC);
        EXPECT_EQ(row.nX, e.nH);
        EXPECT_EQ(FormatGeneral(row.Mass), e.mass);
        EXPECT_EQ(CHKindOf(row), e.kind);
    }
}

TEST(ReferenceMasses, CHSearchFallsBackOnlyAtTheKnownNominalMasses) {
    // The fallback row takes one carbon more than floor((j+1)/12) can give.
    std::vector<long long> fallbacks;
    for (long long j = 11; j <= 884; ++j) {
        IonRow row;
        ASSERT_TRUE(CHRowFor(j, ElementMasses{}, row));
        if (row.nC == std::floor((j + 1) / 12.0) + 1) fallbacks.push_back(j);
        // From 61 on the row's nominal mass trails j by one.
        if (j >= 61) {
            EXPECT_EQ(12 * row.nC + row.nX, j - 1) << "j = " << j;
        }
    }
    EXPECT_EQ(fallbacks, (std::vector<long long>{18, 19, 20, 21, 22, 32, 33, 34, 46}));
}

TEST(ReferenceMasses, NominalMassesUpToTenGiveNoRow) {
    ReferenceTables t;
    StandartCH(PeaksAt({1.2, 9.9}), ElementMasses{}, t);  // j = 2 .. 10
    EXPECT_TRUE(t.CHList.empty());
    StandartCH(PeaksAt({9.5, 11.5}), ElementMasses{}, t);  // j = 10 .. 12
    ASSERT_EQ(t.CHList.size(), 2u);
    EXPECT_EQ(Formula(t.CHList[0]), "C1 X-1");
}

TEST(ReferenceMasses, PeaksFrom14To46BuildThirtyTwoRowsAndTheirKindLists) {
    ReferenceTables t;
    StandartCH(PeaksAt({14.2, 30.0, 45.7}), ElementMasses{}, t);
    ASSERT_EQ(t.CHList.size(), 32u);
    EXPECT_EQ(Formula(t.CHList.front()), "C1 X2");
    EXPECT_EQ(Formula(t.CHList.back()), "C4 X9");
    auto formulas = [](const std::vector<IonRow>& rows) {
        std::vector<std::string> out;
        for (const auto& r : rows) out.push_back(Formula(r));
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(formulas(t.CHKindLists[0]), (V{"C1 X4", "C2 X6", "C2 X6", "C3 X8", "C3 X8"}));
    EXPECT_EQ(formulas(t.CHKindLists[1]), (V{"C1 X3", "C2 X5", "C2 X5", "C3 X7", "C3 X7", "C4 X9"}));
    EXPECT_EQ(formulas(t.CHKindLists[2]), (V{"C1 X2", "C2 X4", "C3 X6"}));

    // The start state lists the molecular ions only, duplicates included.
    EXPECT_EQ(ReFill(t, ListFlags{}),
              (V{"16.03132,  C 1 H 4,  молек", "30.04698,  C 2 H 6,  молек", "30.04698,  C 2 H 6,  молек",
                 "44.06264,  C 3 H 8,  молек", "44.06264,  C 3 H 8,  молек"}));
}

TEST(ReferenceMasses, ReFillFollowsTheFlagsAndTheFullListOverridesThem) {
    ReferenceTables t;
    StandartCH(PeaksAt({14.2, 30.0, 45.7}), ElementMasses{}, t);
    using V = std::vector<std::string>;

    ListFlags none;
    none.kinds = {false, false, false};
    EXPECT_TRUE(ReFill(t, none).empty());

    ListFlags twoKinds;
    twoKinds.kinds = {true, true, false};
    const V kinds = ReFill(t, twoKinds);
    ASSERT_EQ(kinds.size(), 11u);
    // Kind 1 before kind 0 within each position of the interleaved order.
    EXPECT_EQ(kinds[0], "15.02349,  C 1 H 3,  один");
    EXPECT_EQ(kinds[1], "16.03132,  C 1 H 4,  молек");
    EXPECT_EQ(kinds.back(), "57.07047,  C 4 H 9,  один");

    ListFlags all;
    all.kinds = {true, true, true};
    EXPECT_EQ(ReFill(t, all)[0], "14.01566,  C 1 H 2,  два");

    for (auto kindFlags : {std::array<bool, 3>{false, false, false}, std::array<bool, 3>{true, true, true}}) {
        ListFlags full;
        full.kinds = kindFlags;
        full.fullList = true;
        const V lines = ReFill(t, full);
        ASSERT_EQ(lines.size(), t.CHList.size());
        EXPECT_EQ(lines[0], "14.01566,  C 1 H 2");
        EXPECT_EQ(lines[2], "16.03132,  C 1 H 4,  молек");
        EXPECT_EQ(lines[3], "29.03915,  C 2 H 5");
        EXPECT_EQ(lines[5], "31.05481,  C 2 H 7");  // in no kind list, listed in full only
    }
}

TEST(ReferenceMasses, BuildCHOrderInterleavesKindsTwoOneZero) {
    const ElementMasses m;
    auto row = [&](int nC, int nH) { return IonRow{double(nC), double(nH), nC * m.Carbon + nH * m.Hydrogen}; };
    ReferenceTables t;
    t.CHKindLists[0] = {row(1, 4), row(2, 6)};
    t.CHKindLists[1] = {row(1, 3), row(2, 5), row(3, 7)};
    t.CHKindLists[2] = {row(1, 2)};
    BuildCHOrder(t);
    std::vector<std::pair<int, int>> order;
    for (const auto& e : t.CHOrder) order.emplace_back(e.kind, e.index);
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{2, 0}, {1, 0}, {0, 0}, {1, 1}, {0, 1}, {1, 2}}));
}

TEST(ReferenceMasses, SinglePeakAt100Point3GivesOnlyC7H16) {
    ReferenceTables t;
    const PeakResults peaks = PeaksAt({100.3});
    StandartCH(peaks, ElementMasses{}, t);
    StandartCF(peaks, ElementMasses{}, t);
    ASSERT_EQ(t.CHList.size(), 1u);
    EXPECT_EQ(FormatGeneral(t.CHList[0].Mass), "100.12528");
    EXPECT_EQ(Formula(t.CHList[0]), "C7 X16");
    EXPECT_EQ(t.CHKindLists[0].size(), 1u);
    EXPECT_TRUE(t.CHKindLists[1].empty() && t.CHKindLists[2].empty());
    EXPECT_TRUE(t.CFList.empty());
}

TEST(ReferenceMasses, CFRowsMatchTheListedNominalMasses) {
    const std::pair<int, const char*> hits[] = {{31, "C1 X1 30.9984"},  {50, "C1 X2 49.9968"},  {69, "C1 X3 68.9952"},
                                                {100, "C2 X4 99.9936"}, {119, "C2 X5 118.992"}, {131, "C3 X5 130.992"},
                                                {138, "C2 X6 137.9904"}};
    for (const auto& [j, text] : hits) {
        IonRow row;
        ASSERT_TRUE(CFRowFor(j, ElementMasses{}, row)) << j;
        EXPECT_EQ(Formula(row) + " " + FormatGeneral(row.Mass), text);
    }
    for (int j = 12; j <= 42; ++j) {
        IonRow row;
        if (j != 31) {
            EXPECT_FALSE(CFRowFor(j, ElementMasses{}, row)) << j;
        }
    }

    ReferenceTables t;
    StandartCF(PeaksAt({60.0, 70.0, 80.0}), ElementMasses{}, t);  // j = 61 .. 81
    std::vector<std::string> rows;
    for (const auto& r : t.CFList) rows.push_back(Formula(r) + " " + FormatGeneral(RoundHalfEven(r.Mass)));
    EXPECT_EQ(rows, (std::vector<std::string>{"C2 X2 62", "C4 X1 67", "C1 X3 69", "C3 X2 74", "C5 X1 79", "C2 X3 81"}));
}

TEST(ReferenceMasses, RangeIsTakenFromFirstAndLastPeakInListOrder) {
    ReferenceTables t;
    // The last peak lies below the first: nothing is generated.
    StandartCH(PeaksAt({50.2, 80.0, 20.1}), ElementMasses{}, t);
    StandartCF(PeaksAt({50.2, 80.0, 20.1}), ElementMasses{}, t);
    EXPECT_TRUE(t.CHList.empty());
    EXPECT_TRUE(t.CHOrder.empty());
    EXPECT_TRUE(t.CFList.empty());
    // No peaks, or a centre that is not a number: nothing either.
    StandartCH({}, ElementMasses{}, t);
    EXPECT_TRUE(t.CHList.empty());
    StandartCH(PeaksAt({NAN, 40.0}), ElementMasses{}, t);
    EXPECT_TRUE(t.CHList.empty());
    EXPECT_TRUE(ReFill(t, ListFlags{}).empty());
}

TEST(ReferenceMasses, ClearEmptiesEveryTable) {
    ReferenceTables t;
    StandartCH(PeaksAt({14.2, 45.7}), ElementMasses{}, t);
    StandartCF(PeaksAt({14.2, 145.7}), ElementMasses{}, t);
    ASSERT_FALSE(t.CHList.empty() || t.CFList.empty() || t.CHOrder.empty());
    t.clear();
    EXPECT_TRUE(t.CHList.empty() && t.CHOrder.empty() && t.CFList.empty());
    for (const auto& kind : t.CHKindLists) EXPECT_TRUE(kind.empty());
}

TEST(ReferenceMasses, FillListMassWritesCentreAndHeightPerPeak) {
    EXPECT_EQ(FillListMass({Peak(43.0, 12345), Peak(57.0712, 8409.5), Peak(99.96, 1.0)}),
              (std::vector<std::string>{"43.0,  12345", "57.1,  8410", "100.0,  1"}));
    EXPECT_TRUE(FillListMass({}).empty());
}

}  // namespace
}  // namespace orvelo

namespace orvelo {
namespace {

// The search of the tables as written in its plain form: every carbon count from 1 in turn.
bool StraightCHRow(long long j, IonRow& row) {
    const long double c = 12.0L, h = 1.00783;
    const long long o = static_cast<long long>(std::floor((j + 1) / c));
    if (o < 1) return false;
    long long t = 0;
    for (long long i = 1; i <= o; ++i) {
        t = static_cast<long long>(std::floor((j - i * c) / h));
        if (2 * i + 2 >= t) {
            row = IonRow{double(i), double(t), double(i * c + t * h)};
            return true;
        }
    }
    row = IonRow{double(o + 1), double(t), double((o + 1) * c + t * h)};
    return true;
}

bool StraightCFRow(long long j, IonRow& row) {
    const long double c = 12.0L, f = 18.9984;
    const long long o = static_cast<long long>(std::floor((j + 1) / c));
    for (long long i = 1; i <= o; ++i) {
        const long long t = static_cast<long long>(std::floor((j - i * c) / f));
        if (2 * i + 2 < t || std::nearbyint(i * c + t * f) != j) continue;
        if (t == 0) return false;
        row = IonRow{double(i), double(t), double(i * c + t * f)};
        return true;
    }
    return false;
}

// The tables skip the hopeless carbon counts; every row must still be the one the plain
// search gives, bit for bit.
TEST(ReferenceMasses, RowsEqualThoseOfTryingEveryCarbonCount) {
    std::vector<long long> js;
    for (long long j = -5; j <= 6000; ++j) js.push_back(j);
    for (long long j = 99000; j <= 101000; j += 7) js.push_back(j);
    for (const long long j : js) {
        IonRow fast, straight;
        ASSERT_EQ(CHRowFor(j, ElementMasses{}, fast), StraightCHRow(j, straight)) << j;
        if (j > 10) {
            EXPECT_TRUE(fast.nC == straight.nC && fast.nX == straight.nX && fast.Mass == straight.Mass) << j;
        }
        const bool hit = CFRowFor(j, ElementMasses{}, fast);
        ASSERT_EQ(hit, StraightCFRow(j, straight)) << j;
        if (hit) {
            EXPECT_TRUE(fast.nC == straight.nC && fast.nX == straight.nX && fast.Mass == straight.Mass) << j;
        }
    }
}

// Masses up to a million (or far beyond 2^31) build their tables at once; a range wider than
// the limit builds none and says why.
TEST(ReferenceMasses, TheNominalRangeIsBoundedAndAWiderOneIsRefusedWithTheLimit) {
    ReferenceTables t;
    StandartCH(PeaksAt({999000.2, 1000000.7}), ElementMasses{}, t);
    StandartCF(PeaksAt({999000.2, 1000000.7}), ElementMasses{}, t);
    EXPECT_EQ(t.CHList.size(), 1001u);
    EXPECT_FALSE(t.CFList.empty());
    EXPECT_EQ(ReferenceRangeRefusal(PeaksAt({999000.2, 1000000.7})), std::nullopt);
    StandartCH(PeaksAt({5e9, 5e9 + 3}), ElementMasses{}, t);
    EXPECT_EQ(t.CHList.size(), 4u);

    const PeakResults wide = PeaksAt({10.5, 100010.5});  // j = 11 .. 100011: one too many
    StandartCH(wide, ElementMasses{}, t);
    StandartCF(wide, ElementMasses{}, t);
    EXPECT_TRUE(t.CHList.empty() && t.CFList.empty() && t.CHOrder.empty());
    EXPECT_EQ(ReferenceRangeRefusal(wide),
              "Таблицы стандартных масс CH и CF не построены: им нужны номинальные массы от 11 до 100011, "
              "а строятся они не более чем для 100000 номинальных масс");
    StandartCH(PeaksAt({10.5, 100009.5}), ElementMasses{}, t);
    EXPECT_EQ(t.CHList.size(), 100000u);
}

// One call leaves everything mass assignment needs, consistent with itself: a mass line per
// peak, CF lines that start with their mass, and practice points for the peaks the saws show.
TEST(AssignMasses, AfterARunGivesTheListsTablesAndBothSaws) {
    SpectrumState state;
    const PeakResults peaks = testing::PeaksAt({60.0, 70.0, 80.0});
    const MassAssignment a = AssignMasses(state, peaks);
    EXPECT_EQ(a.massLines, FillListMass(peaks));
    EXPECT_EQ(StandardMassLines(a.tables, ListFlags{}, StandardFamily::CF),
              (std::vector<std::string>{"61.9968,  C 2 F 2", "66.9984,  C 4 F 1", "68.9952,  C 1 F 3",
                                        "73.9968,  C 3 F 2", "78.9984,  C 5 F 1", "80.9952,  C 2 F 3"}));
    EXPECT_EQ(StandardMassLines(a.tables, ListFlags{}, StandardFamily::CH), ReFill(a.tables, ListFlags{}));
    EXPECT_EQ(a.ch.practice.points.count(), 3);
    EXPECT_EQ(a.cf.practice.points.count(), 3);
    EXPECT_GT(a.ch.theory.count(), 0);
    EXPECT_GT(a.cf.theory.count(), 0);
}

}  // namespace
}  // namespace orvelo
