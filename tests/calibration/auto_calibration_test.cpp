#include <gtest/gtest.h>

#include <cmath>

#include "calibration/auto_calibration.h"
#include "calibration/peaks.h"
#include "calibration/theory_series.h"

namespace orvelo {
namespace {

using testing::Peak;

// C2H5 .. C8H17, 14.01566 apart.
std::vector<ReferenceIon> AlkylIons() {
    std::vector<ReferenceIon> ions;
    for (int n = 2; n <= 8; ++n) {
        std::string name = "C";
        name += std::to_string(n);
        ions.push_back({name, 12.0 * n + 1.00783 * (2 * n + 1)});
    }
    return ions;
}

// The measured mass x of a reference, off so that true - x = (-4 - 0.14 x) / 1000: 8 mmu at
// 29 to 20 mmu at 113.
double Measured(double trueMass) { return (trueMass + 0.004) / (1 - 0.00014); }

PeakResults PeaksOf(const std::vector<ReferenceIon>& ions) {
    PeakResults peaks;
    for (const ReferenceIon& ion : ions) peaks.push_back(Peak(Measured(ion.mass), 5000));
    return peaks;
}

const ReferenceMatch& MatchOf(const AutoCalibration& r, const std::string& name) {
    for (const ReferenceMatch& m : r.references)
        if (m.ion.name == name) return m;
    throw std::runtime_error("no reference " + name);
}

TEST(AutoCalibration, CleanPeaksAreAllMatchedAndTheCurveUndoesTheError) {
    const std::vector<ReferenceIon> ions = AlkylIons();
    PeakResults peaks = PeaksOf(ions);
    peaks.insert(peaks.begin() + 2, Peak(50.5, 9000));  // a peak with no reference
    peaks.push_back(Peak(120.0, kProblemPeakHeight));   // a problem peak is never used
    const AutoCalibration r = MatchReferences(peaks, ions, AutoCalibrationSettings{});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.stop, MatchStop::Stable);
    EXPECT_EQ(r.KeptCount(), 7);
    EXPECT_EQ(MatchOf(r, "C4").peak, 3);  // after the peak at 50.5
    EXPECT_NEAR(r.curve.CalibB, -0.14, 1e-9);
    EXPECT_NEAR(r.curve.CalibC, -4, 1e-7);
    EXPECT_NEAR(r.rmsAfterMmu, 0, 1e-7);
    EXPECT_GT(r.rmsBeforeMmu, 8);
    EXPECT_EQ(AutoCalibrationSummary(r).rfind("Подобрано ионов: 7 из 7. СКО: до ", 0), 0u);
}

TEST(AutoCalibration, TwoPeaksInTheWindowAreLeftOutUnlessOneDominates) {
    const std::vector<ReferenceIon> ions = AlkylIons();
    PeakResults peaks = PeaksOf(ions);
    // Beside C4H9 a second peak 1 mmu away, as high: which is the ion cannot be told.
    const double c4 = Measured(ions[2].mass);
    peaks[2] = Peak(c4 - 0.0006, 5000);
    peaks.insert(peaks.begin() + 3, Peak(c4 + 0.0006, 5000));
    AutoCalibration r = MatchReferences(peaks, ions, AutoCalibrationSettings{});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(MatchOf(r, "C4").reason, LeftOut::TwoPeaks);
    EXPECT_EQ(MatchOf(r, "C4").peak, -1);
    EXPECT_EQ(r.KeptCount(), 6);

    // A weak noise peak beside the ion: the ion's peak is taken.
    peaks[3].Height = 5000 / kDominance;
    r = MatchReferences(peaks, ions, AutoCalibrationSettings{});
    EXPECT_TRUE(MatchOf(r, "C4").kept());
    EXPECT_EQ(MatchOf(r, "C4").peak, 2);
    EXPECT_EQ(r.KeptCount(), 7);
}

TEST(AutoCalibration, AnOutlierIsDroppedAndDoesNotBendTheCurve) {
    const std::vector<ReferenceIon> ions = AlkylIons();
    PeakResults peaks = PeaksOf(ions);
    peaks[4].Centre += 0.006;  // C6H13 measured 6 mmu off the line of the others
    for (CurveKind kind : {CurveKind::Line, CurveKind::Parabola}) {
        AutoCalibrationSettings settings;
        settings.kind = kind;
        const AutoCalibration r = MatchReferences(peaks, ions, settings);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(MatchOf(r, "C6").reason, LeftOut::Outlier);
        EXPECT_EQ(MatchOf(r, "C6").peak, 4);
        EXPECT_EQ(r.KeptCount(), 6);
        EXPECT_NEAR(r.curve.DeviationMmu(100), -18, 1e-6);
        EXPECT_NEAR(r.rmsAfterMmu, 0, 1e-6);
    }
}

TEST(AutoCalibration, NoMatchSaysWhyAndLeavesTheListAsItWas) {
    const std::vector<ReferenceIon> ions = AlkylIons();
    const std::vector<std::string> allMassLines = {"43.0,  5000", "57.1,  5000"};
    CalibrationList list;
    list.TakePeak(0, allMassLines);
    list.AttachTypedMass(0, "43.05481");
    const CalibrationList before = list;

    // Every peak 300 mmu from its ion, far outside the tolerance.
    PeakResults far;
    for (const ReferenceIon& ion : ions) far.push_back(Peak(ion.mass + 0.3, 5000));
    AutoCalibration r = MatchReferences(far, ions, AutoCalibrationSettings{});
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message,
              "Автоматическая калибровка не удалась: ни один опорный ион не найден среди пиков в пределах 100 mmu");
    EXPECT_EQ(AutoCalibrationSummary(r), r.message);
    ListChange change = FillCalibrationList(r, allMassLines, list);
    EXPECT_FALSE(change.changed());
    EXPECT_EQ(change.message, r.message);
    EXPECT_EQ(list.lines(), before.lines());
    EXPECT_EQ(list.TrueMassCount(), 1);

    // Peaks of other ions, each by chance within 90 mmu of a reference: nothing lies on a curve.
    const double offsetsMmu[] = {37, -82, 5, 61, -23, -71, 88, -9, 44, -56, 19, -90, 73, -38, 2, 66, -47, 29, -14, 81};
    std::vector<ReferenceIon> many;
    PeakResults scattered;
    for (int n = 2; n <= 21; ++n) {
        many.push_back({std::to_string(n), 12.0 * n + 1.00783 * (2 * n + 1)});
        scattered.push_back(Peak(many.back().mass + offsetsMmu[n - 2] / 1000, 5000));
    }
    r = MatchReferences(scattered, many, AutoCalibrationSettings{});
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.message.rfind("Автоматическая калибровка не удалась: найденные пары не ложатся на одну кривую", 0), 0u)
        << r.message;

    // Two pairs lie on a line by chance: a line needs four, a parabola five.
    const PeakResults two = {Peak(Measured(ions[0].mass)), Peak(Measured(ions[3].mass))};
    r = MatchReferences(two, ions, AutoCalibrationSettings{});
    EXPECT_EQ(r.message,
              "Автоматическая калибровка не удалась: найдено пар 2, а для линии нужны хотя бы четыре "
              "с разными массами");
    const PeakResults four = {Peak(Measured(ions[0].mass)), Peak(Measured(ions[2].mass)), Peak(Measured(ions[4].mass)),
                              Peak(Measured(ions[6].mass))};
    AutoCalibrationSettings parabola;
    parabola.kind = CurveKind::Parabola;
    r = MatchReferences(four, ions, parabola);
    EXPECT_EQ(r.message,
              "Автоматическая калибровка не удалась: найдено пар 4, а для параболы нужны хотя бы пять "
              "с разными массами");
    EXPECT_TRUE(MatchReferences(four, ions, AutoCalibrationSettings{}).ok());

    // Pairs crowded at the low end of a spectrum reaching 400 say nothing of the rest of it.
    PeakResults crowded = PeaksOf({ions.begin(), ions.begin() + 5});
    crowded.push_back(Peak(400, 5000));
    r = MatchReferences(crowded, ions, AutoCalibrationSettings{});
    EXPECT_EQ(r.message,
              "Автоматическая калибровка не удалась: найденные пары (5) лежат в узкой части спектра, "
              "от 29.05 до 85.12 при пиках от 29.05 до 400.00: кривая за их пределами ничем не проверена");
}

TEST(AutoCalibration, TheListIsFilledAsTheOperatorWouldAndTheTableSaysWhatHappened) {
    const std::vector<ReferenceIon> ions = {
        {"C 3 H 7", 43.05481}, {"C 4 H 9", 57.07047}, {"C 5 H 11", 71.08613}, {"C 6 H 13", 85.10179}};
    const PeakResults peaks = {Peak(43.06, 1000), Peak(57.08, 2000), Peak(71.10, 3000), Peak(85.11, 3000)};
    const AutoCalibration r = MatchReferences(peaks, ions, AutoCalibrationSettings{});
    ASSERT_TRUE(r.ok()) << r.message;
    CalibrationList list;
    ASSERT_TRUE(FillCalibrationList(r, FillListMass(peaks), list).changed());
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"43.1,  1000,  43.05481", "57.1,  2000,  57.07047",
                                                      "71.1,  3000,  71.08613", "85.1,  3000,  85.10179"}));
    EXPECT_TRUE(list.AllTrueMassesGiven());

    CalibrationCurve applied;
    applied.CalibC = -10;
    const std::vector<std::string> table = AutoCalibrationTableLines(r, peaks, applied, ReferenceMassKind::Ion);
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0], "Ион\tИстинная масса (ион)\tСтрока пика\tМ изм\tДо, mmu\tПосле, mmu\tИтог");
    EXPECT_EQ(table[2], "C 4 H 9\t57.07047\t1\t57.08000\t-9.53\t0.47\tвзят");
}

TEST(AutoCalibration, ReferenceIonsAreThePhysicalRowsOfTheChosenTablesOnceEach) {
    ReferenceTables t;
    // Peaks 28.2 .. 69.5: the CH rows of j = 29 .. 70 and the CF rows there.
    const PeakResults peaks = {Peak(28.2), Peak(69.5)};
    StandartCH(peaks, ElementMasses{}, t);
    StandartCF(peaks, ElementMasses{}, t);
    ReferenceChoice choice;
    const std::vector<ReferenceIon> ch = ReferenceIons(t, choice);
    for (std::size_t i = 1; i < ch.size(); ++i) EXPECT_LT(ch[i - 1].mass, ch[i].mass);
    for (const ReferenceIon& ion : ch) EXPECT_NE(ion.name, "C 2 H 7");  // more than 2nC+2 hydrogens
    EXPECT_EQ(ch.front().name, "C 2 H 4");
    EXPECT_EQ(ch.front().mass, 28.03132);

    choice.chFlags.fullList = false;  // the start state of the check boxes: saturated rows only
    choice.cf = true;
    std::vector<std::string> names;
    for (const ReferenceIon& ion : ReferenceIons(t, choice)) names.push_back(ion.name);
    EXPECT_EQ(names, (std::vector<std::string>{"C 2 H 6", "C 1 F 1", "C 2 F 1", "C 3 H 8", "C 1 F 2", "C 3 F 1",
                                               "C 4 H 10", "C 2 F 2", "C 4 F 1", "C 1 F 3"}));
}

}  // namespace
}  // namespace orvelo
