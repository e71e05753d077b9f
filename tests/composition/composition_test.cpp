// Elemental compositions from planted peaks: the true ion must be found and ranked first.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "composition/candidates.h"
#include "composition/element_ranges.h"
#include "composition/formula.h"
#include "composition/formula_search.h"

namespace orvelo {
namespace {

Formula F(const char* text, int charge = 1) {
    Formula f;
    EXPECT_TRUE(ParseFormulaText(text, f)) << text;
    f.charge = charge;
    return f;
}

PeakResult Peak(double centre, double amplitude, double R = 5000, double massError = 0.00005) {
    PeakResult p;
    p.Centre = centre;
    p.R = R;
    p.Background = 5;
    p.Height = p.Background + amplitude;
    p.Errors = {1, 0.01 * amplitude + 1, 10, massError};
    return p;
}

// The monoisotopic peak of `f` with its merged M+1 and M+2 peaks, `shift` u off its mass.
void Plant(PeakResults& peaks, const Formula& f, double amplitude, double shift = 0, double R = 5000) {
    const double m = IonMass(f) + shift;
    peaks.push_back(Peak(m, amplitude, R));
    for (const IsotopePeak& iso : ExpectedIsotopePeaks(f, m / R))
        if (iso.ratio * amplitude > 20) peaks.push_back(Peak(m + iso.offset, iso.ratio * amplitude, R));
    std::sort(peaks.begin(), peaks.end(), [](const PeakResult& a, const PeakResult& b) { return a.Centre < b.Centre; });
}

TEST(Composition, FormulaTextsMassesAndRdbe) {
    EXPECT_EQ(HillText(F("C7H7")), "C7H7+");
    EXPECT_EQ(HillText(F("C3H3O2")), "C3H3O2+");
    EXPECT_EQ(HillText(F("C6H5Cl")), "C6H5Cl+");
    EXPECT_EQ(HillText(F("C2H2Si2")), "C2H2Si2+");
    EXPECT_EQ(HillText(F("HCl")), "ClH+");  // without carbon every element alphabetically
    EXPECT_EQ(HillText(F("N2")), "N2+");
    EXPECT_EQ(HillText(F("C12H10N2", 2)), "C12H10N2 2+");
    // Ion masses carry the electron: C7H7+ is 91.054775 - 0.000549.
    EXPECT_NEAR(IonMass(F("C7H7")), 91.0542266, 2e-7);
    EXPECT_NEAR(IonMass(F("CF3")), 68.9946609, 2e-7);
    EXPECT_NEAR(IonMass(F("N2")), 28.0055994, 2e-7);
    EXPECT_NEAR(IonMass(F("C10H8", 2)), (128.0626002 - 2 * kElectronMassU) / 2, 2e-7);
    EXPECT_EQ(Rdbe(F("C7H7")), 4.5);   // even-electron
    EXPECT_EQ(Rdbe(F("C3H6O")), 1.0);  // odd-electron
    EXPECT_EQ(Rdbe(F("CH5")), -0.5);
    // M+1 and M+2 of chlorobenzene: 13C and 37Cl.
    const auto iso = ExpectedIsotopePeaks(F("C6H5Cl"), 0.02);
    ASSERT_EQ(iso.size(), 2u);
    EXPECT_NEAR(iso[0].ratio, 6 * 0.0107 / 0.9893 + 5 * 0.000115 / 0.999885, 1e-6);
    EXPECT_NEAR(iso[1].ratio, 0.2424 / 0.7576 + 15 * 0.0107 * 0.0107 / (0.9893 * 0.9893), 2e-4);
    EXPECT_NEAR(iso[1].offset, 1.99705, 2e-4);
    // A wide peak merges everything of one step: the same sums and centres as the merging of
    // neighbours, for a formula of every isotope kind.
    for (const char* text : {"C6H5Cl", "C20H30N2O3SSi2Br", "C2H2Si2"}) {
        const auto wide = ExpectedIsotopePeaks(F(text), 0.05);
        const auto merged = ExpectedIsotopePeaks(F(text), 0.0185);
        ASSERT_EQ(wide.size(), 2u);
        ASSERT_EQ(merged.size(), 2u) << text;
        for (std::size_t k = 0; k < 2; ++k) {
            EXPECT_NEAR(wide[k].ratio, merged[k].ratio, 1e-12 + 1e-9 * merged[k].ratio) << text;
            EXPECT_NEAR(wide[k].offset, merged[k].offset, 1e-9) << text;
        }
    }
}

TEST(Composition, SearchIsExhaustive) {
    // Against every formula of small ranges, counted by brute force.
    const auto ranges = ParseElementRanges("C0-12H0-25N0-3O0-4S0-1Cl0-2Si0-1F0-3");
    ASSERT_TRUE(ranges.ok());
    const FormulaSearch search(ranges.ranges, 10, 400);
    for (const double centre : {57.07, 91.05, 149.02, 200.0}) {
        const double lo = centre - 0.05, hi = centre + 0.05;
        std::vector<Formula> found;
        search.Find(lo, hi, 1, found);
        std::set<std::array<int16_t, kElementCount>> got;
        for (const Formula& f : found) got.insert(f.counts);
        EXPECT_EQ(got.size(), found.size());
        std::size_t expected = 0;
        Formula f;
        for (int c = 0; c <= 12; ++c)
            for (int h = 0; h <= 25; ++h)
                for (int n = 0; n <= 3; ++n)
                    for (int o = 0; o <= 4; ++o)
                        for (int s = 0; s <= 1; ++s)
                            for (int cl = 0; cl <= 2; ++cl)
                                for (int si = 0; si <= 1; ++si)
                                    for (int fl = 0; fl <= 3; ++fl) {
                                        f.counts = {};
                                        f.counts[kC] = c;
                                        f.counts[kH] = h;
                                        f.counts[kN] = n;
                                        f.counts[kO] = o;
                                        f.counts[kS] = s;
                                        f.counts[kCl] = cl;
                                        f.counts[kSi] = si;
                                        f.counts[kF] = fl;
                                        const double m = IonMass(f);
                                        const int r = TwiceRdbe(f);
                                        if (m < lo || m > hi || r < -1 || r > 20) continue;
                                        ++expected;
                                        EXPECT_TRUE(got.count(f.counts)) << HillText(f);
                                    }
        EXPECT_EQ(found.size(), expected) << centre;
        EXPECT_GT(expected, 0u);
    }
}

TEST(Composition, KnownIonsRankFirst) {
    // CH, CF, air, chlorinated and silicon ions, and an odd- and an even-electron ion of the
    // same nominal mass (58: C3H6O+. and C3H8N+), each with its isotope peaks.
    const std::vector<Formula> ions{F("N2"),   F("O2"),     F("C3H6O"), F("C3H8N"), F("CF3"), F("C3H9Si"),
                                    F("C7H7"), F("C6H5Cl"), F("C2F5"),  F("CCl3"),  F("C4H9")};
    PeakResults peaks;
    for (const Formula& f : ions) Plant(peaks, f, 20000, 0.00003);
    CompositionSettings settings;
    settings.thresholdHeight = 50;
    const CompositionRun run = FindCompositions(peaks, settings);
    ASSERT_TRUE(run.ok());
    for (const Formula& f : ions) {
        const auto pc = std::find_if(run.peaks.begin(), run.peaks.end(), [&](const PeakComposition& p) {
            return std::abs(peaks[p.peak].Centre - IonMass(f) - 0.00003) < 1e-9;
        });
        ASSERT_NE(pc, run.peaks.end()) << HillText(f);
        ASSERT_FALSE(pc->candidates.empty()) << HillText(f);
        EXPECT_EQ(HillText(pc->candidates[0].formula), HillText(f));
        EXPECT_NEAR(pc->candidates[0].deltaMmu, 0.03, 1e-6);
        EXPECT_LE(pc->candidates.size(), 5u);
    }
    // The two ions of mass 58: integer and half-integer RDBE.
    EXPECT_EQ(Rdbe(F("C3H6O")), 1.0);
    EXPECT_EQ(Rdbe(F("C3H8N")), 0.5);
}

TEST(Composition, ChlorineNeedsItsIsotopePeak) {
    // The same monoisotopic mass with and without the 37Cl peak: only with it is Cl ranked first;
    // without it every formula without chlorine ranks above those with it.
    const Formula ion = F("C6H5Cl");
    PeakResults with;
    Plant(with, ion, 50000);
    PeakResults without{Peak(IonMass(ion), 50000)};
    CompositionSettings settings;
    settings.thresholdHeight = 50;
    const CompositionRun a = FindCompositions(with, settings);
    const CompositionRun b = FindCompositions(without, settings);
    ASSERT_FALSE(a.peaks[0].candidates.empty());
    EXPECT_EQ(HillText(a.peaks[0].candidates[0].formula), "C6H5Cl+");
    bool chlorineSeen = false;
    for (const Candidate& c : b.peaks[0].candidates) {
        EXPECT_FALSE(chlorineSeen && c.formula.count(kCl) == 0) << HillText(c.formula);
        chlorineSeen = chlorineSeen || c.formula.count(kCl) > 0;
    }
    ASSERT_FALSE(b.peaks[0].candidates.empty());
    EXPECT_EQ(b.peaks[0].candidates[0].formula.count(kCl), 0);
}

TEST(Composition, DoublyChargedIon) {
    // Naphthalene's dication: its 13C peak half a unit above.
    const Formula ion = F("C10H8", 2);
    PeakResults peaks;
    Plant(peaks, ion, 30000);
    ASSERT_GE(peaks.size(), 2u);
    EXPECT_NEAR(peaks[1].Centre - peaks[0].Centre, 0.50168, 1e-4);
    EXPECT_EQ(ChargeOfPeak(peaks, 0, 2), 2);
    CompositionSettings settings;
    settings.thresholdHeight = 50;
    const CompositionRun run = FindCompositions(peaks, settings);
    ASSERT_FALSE(run.peaks[0].candidates.empty());
    EXPECT_EQ(run.peaks[0].charge, 2);
    EXPECT_EQ(HillText(run.peaks[0].candidates[0].formula), "C10H8 2+");
}

TEST(Composition, ImpossibleMassHasNoCandidate) {
    // A mass defect of +0.45 at 60 u: no formula of the ranges comes near.
    PeakResults peaks{Peak(60.45, 1000)};
    const CompositionRun run = FindCompositions(peaks, CompositionSettings{});
    ASSERT_EQ(run.peaks.size(), 1u);
    EXPECT_TRUE(run.peaks[0].candidates.empty());
    EXPECT_EQ(run.peaks[0].message,
              "Нет формулы в пределах ±0.48 mmu от массы 60.450000 при заряде 1+ в заданных диапазонах элементов");
    const auto lines = FormulaTableLines(peaks, run.peaks);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "1\t60.450000\t\t\t\t\t\t\t\t\t");
    // Far beyond what the ranges can weigh: no candidate, and no table for such masses.
    const CompositionRun heavy = FindCompositions(PeakResults{Peak(50000.2, 1000)}, CompositionSettings{});
    ASSERT_EQ(heavy.peaks.size(), 1u);
    EXPECT_TRUE(heavy.peaks[0].candidates.empty());
}

TEST(Composition, BadRangeStringsNameTheirPart) {
    EXPECT_TRUE(ParseElementRanges(kDefaultElementRanges).ok());
    const auto exact = ParseElementRanges("C6H0-6");
    ASSERT_TRUE(exact.ok());
    EXPECT_EQ(exact.ranges[0].min, 6);
    EXPECT_EQ(exact.ranges[0].max, 6);
    const std::pair<const char*, const char*> bad[] = {
        {"C0-60Xx0-2", "Неизвестный элемент \"Xx\" в диапазонах элементов \"C0-60Xx0-2\""},
        {"C0-60H0-", "Неверная часть \"H0-\" в диапазонах элементов \"C0-60H0-\": нужен вид H0-10 или H2"},
        {"C9-5", "Неверная часть \"C9-5\" в диапазонах элементов \"C9-5\": меньшее число пишется первым"},
        {"C0-6C0-3", "Элемент \"C\" указан дважды в диапазонах элементов \"C0-6C0-3\""},
        {"c0-5", "Неверная часть \"c0-5\""},
        {"H0-5000", "Слишком большое число в части \"H0-5000\""},
        {"", "Не заданы диапазоны элементов"},
    };
    for (const auto& [text, message] : bad) {
        const auto parsed = ParseElementRanges(text);
        EXPECT_FALSE(parsed.ok()) << text;
        EXPECT_NE(parsed.message.find(message), std::string::npos) << parsed.message;
    }
    CompositionSettings settings;
    settings.ranges = "C0-60Q1";
    const CompositionRun run = FindCompositions(PeakResults{Peak(50, 10)}, settings);
    EXPECT_FALSE(run.ok());
    EXPECT_TRUE(run.peaks.empty());
}

TEST(Composition, ReferenceIonsAreMarked) {
    PeakResults peaks;
    Plant(peaks, F("C4H9"), 20000);
    Plant(peaks, F("C2F4"), 20000);
    CompositionSettings settings;
    settings.thresholdHeight = 50;
    CompositionRun run = FindCompositions(peaks, settings);
    std::size_t ch = 0, cf = 0;
    for (const PeakComposition& pc : run.peaks) {
        if (std::abs(peaks[pc.peak].Centre - IonMass(F("C4H9"))) < 1e-9) ch = pc.peak;
        if (std::abs(peaks[pc.peak].Centre - IonMass(F("C2F4"))) < 1e-9) cf = pc.peak;
    }
    MarkReferenceIons(run.peaks, {{ch, "C 4 H 9"}, {cf, "C 2 F 4"}});
    int marked = 0;
    for (const PeakComposition& pc : run.peaks)
        for (const Candidate& c : pc.candidates)
            if (!c.reference.empty()) {
                ++marked;
                EXPECT_EQ(HillText(c.formula), pc.peak == ch ? "C4H9+" : "C2F4+");
            }
    EXPECT_EQ(marked, 2);
}

}  // namespace
}  // namespace orvelo
