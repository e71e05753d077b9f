// What each step of a session keeps and what it clears, on a spectrum of three planted CH ions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/errors.h"
#include "core/number_text.h"
#include "session/session.h"
#include "support/synthetic_spectrum.h"

namespace orvelo {
namespace {

constexpr double kMasses[] = {43.05478, 57.07043, 71.08608};  // C3H7, C4H9, C5H11
constexpr double kShift = 0.002;                              // the true masses lie 2 mmu above the measured ones
constexpr double kTyped = 1e-6;                               // the true masses are typed with six decimals

LoadedSpectrum ThreePeaks() {
    testing::SyntheticSpectrum s;
    for (double m : kMasses) s.peaks.push_back({m, m / 0.01, 5000});
    s.massFirst = 42;
    s.massLast = 72;
    s.spacing = 0.001;
    s.baseline = 10;
    s.integral = true;
    LoadedSpectrum loaded;
    loaded.points = s.Generate();
    loaded.title = "Три пика";
    return loaded;
}

// A session with results, a complete calibration list and a fitted line.
class SessionSteps : public ::testing::Test {
protected:
    void SetUp() override {
        session.Load(ThreePeaks(), SpectrumSource{"three.txt", {}, 0, {}});
        session.BeginPreliminary("5", "10");
        session.RunPreliminaryHere();
        ASSERT_FALSE(session.BeginFinalRun("1000", GaussShape::Ordinary));
        const SpectrumState& sp = s().spectrum;
        lines = session.AdoptFinalRun(RunFinal(sp.Spectrum, sp.Smooth, sp.FinalExtrema, {})).massLines;
        ASSERT_EQ(s().run.peaks.size(), 3u);
        for (int k : {0, 2}) {
            ASSERT_TRUE(session.TakePeak(k, lines).changed());
            const int line = s().calibrationList.CalibCount() - 1;
            const std::string truth = FormatFixed(s().run.peaks[static_cast<std::size_t>(k)].Centre + kShift, 6);
            ASSERT_TRUE(session.AttachTypedMass(line, truth).changed());
        }
        ASSERT_TRUE(session.CreatePoints().ok());
        ASSERT_TRUE(session.FitCurve(CurveKind::Line).result.ok());
    }
    const SessionState& s() const { return session.state(); }

    Session session;
    std::vector<std::string> lines;
};

TEST_F(SessionSteps, FinalRunAssignsMassesFromItsPeaks) {
    EXPECT_FALSE(s().run.running);
    EXPECT_EQ(lines.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(s().run.peaks[k].Centre, kMasses[k], 2e-4);
    EXPECT_FALSE(s().tables.CHList.empty());
    EXPECT_EQ(s().calibration.points.count(), 2);
    EXPECT_NEAR(s().calibration.curve.DeviationMmu(50), kShift * 1000, kTyped * 1000);
}

// The run fitted by the session is the run of its stages with the chosen model, whatever the
// number of threads, and changes nothing until it is adopted.
TEST_F(SessionSteps, RunningTheFinalRunHereFitsTheBegunRunWithItsModel) {
    ASSERT_FALSE(session.BeginFinalRun("1000", GaussShape::FlatTop));
    EXPECT_TRUE(s().run.peaks.empty());
    const FinalRunResult one = session.RunFinalHere(1), two = session.RunFinalHere(2);
    EXPECT_TRUE(s().run.running);
    EXPECT_TRUE(s().run.peaks.empty());
    const SpectrumState& sp = s().spectrum;
    FinalRunOptions flat;
    flat.gaussPower = GaussPowerFor(GaussShape::FlatTop);
    const FinalRunResult direct = RunFinal(sp.Spectrum, sp.Smooth, sp.FinalExtrema, flat);
    ASSERT_EQ(one.peaks.size(), 3u);
    ASSERT_EQ(two.peaks.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(one.peaks[k].Centre, direct.peaks[k].Centre);
        EXPECT_EQ(two.peaks[k].Centre, direct.peaks[k].Centre);
    }
    EXPECT_EQ(one.zoneLines, direct.zoneLines);
    session.AdoptFinalRun(one);
    EXPECT_EQ(s().run.peaks[1].Centre, direct.peaks[1].Centre);
}

TEST_F(SessionSteps, RefusalsChangeNothing) {
    const CalibrationCurve curve = s().calibration.curve;
    EXPECT_EQ(session.BeginFinalRun("12a", GaussShape::Ordinary), std::string(kInvalidHeightMessage));
    EXPECT_THROW(session.BeginPreliminary("x", "10"), OrveloError);
    EXPECT_THROW(session.BeginPreliminary("6", "ten"), OrveloError);
    EXPECT_EQ(s().spectrum.KolUsred, 6);  // stored before KrivoMn was refused
    EXPECT_FALSE(s().run.running);
    EXPECT_EQ(s().run.peaks.size(), 3u);
    EXPECT_EQ(s().calibrationList.CalibCount(), 2);
    EXPECT_EQ(s().calibration.points.count(), 2);
    EXPECT_EQ(s().calibration.curve.CalibB, curve.CalibB);
}

// A new run, a new preliminary run and a new spectrum each leave nothing of the old results
// and calibration behind; only a load forgets the applied calibration.
TEST_F(SessionSteps, EachRunAndEachLoadStartsTheResultsAndTheCalibrationAfresh) {
    auto expectFresh = [this](const char* step) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(s().run.peaks.empty());
        EXPECT_TRUE(s().tables.CHList.empty());
        EXPECT_TRUE(s().calibration.practiceCH.points.x.empty());
        EXPECT_EQ(s().calibrationList.CalibCount(), 0);
        EXPECT_EQ(s().calibration.points.count(), 0);
        EXPECT_EQ(s().calibration.curve.CalibB, 0.0);
    };
    ASSERT_FALSE(session.BeginFinalRun("1000", GaussShape::FlatTop));
    EXPECT_TRUE(s().run.running);
    EXPECT_EQ(s().run.GaussPower, 8.0);
    expectFresh("final run begun");
    session.AbandonFinalRun();
    EXPECT_FALSE(s().run.running);
    expectFresh("final run abandoned");

    SetUp();
    session.BeginPreliminary("7", "10");
    EXPECT_EQ(s().spectrum.KolUsred, 7);
    expectFresh("preliminary run");

    SetUp();
    ASSERT_FALSE(session.Recalculate());
    EXPECT_TRUE(s().appliedCalibration.has_value());
    session.Load(ThreePeaks(), SpectrumSource{"again.txt", {}, 0, {}});
    expectFresh("load");
    EXPECT_FALSE(s().appliedCalibration.has_value());
    EXPECT_FALSE(s().SpectrumUnsaved);
    EXPECT_EQ(s().spectrum.KolUsred, 5);  // the settings stay
    EXPECT_EQ(s().source.path, "again.txt");
}

TEST_F(SessionSteps, ClearingTheListKeepsTheResultsAndTheCurve) {
    const double slope = s().calibration.curve.CalibB;
    session.ClearCalibrationList();
    EXPECT_EQ(s().calibrationList.CalibCount(), 0);
    EXPECT_EQ(s().calibration.points.count(), 0);
    EXPECT_EQ(s().run.peaks.size(), 3u);
    EXPECT_FALSE(s().tables.CHList.empty());
    EXPECT_EQ(s().calibration.curve.CalibB, slope);
}

TEST_F(SessionSteps, RecalculatingMovesEveryMassByTheCurveAndDropsTheResults) {
    const PointList before = s().spectrum.Spectrum;
    ASSERT_FALSE(session.Recalculate());
    const PointList& after = s().spectrum.Spectrum;
    ASSERT_EQ(after.count(), before.count());
    for (int i : {0, before.count() / 2, before.count() - 1}) {
        EXPECT_NEAR(after.x[i] - before.x[i], kShift, kTyped);
        EXPECT_EQ(after.y[i], before.y[i]);
    }
    EXPECT_TRUE(s().SpectrumUnsaved);
    ASSERT_TRUE(s().appliedCalibration.has_value());
    EXPECT_EQ(s().appliedCalibration->CalibC, s().calibration.curve.CalibC);  // the curve stays, applied
    EXPECT_TRUE(s().run.peaks.empty());
    EXPECT_EQ(s().calibrationList.CalibCount(), 0);
    session.MarkSaved();
    EXPECT_FALSE(s().SpectrumUnsaved);
}

// Ion masses lie one electron mass below the neutral ones; the list keeps its true masses.
TEST_F(SessionSteps, ChoosingIonMassesAssignsTheMassesAgainAndKeepsTheList) {
    const double neutral = s().tables.CHList.front().Mass;
    const std::vector<std::string> list = s().calibrationList.lines();
    const MassAssignment* again = session.ChooseReferenceMasses(ReferenceMassKind::Ion);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(s().ReferenceMasses, ReferenceMassKind::Ion);
    EXPECT_NEAR(neutral - s().tables.CHList.front().Mass, 0.000548580, 1e-12);
    EXPECT_EQ(s().calibrationList.lines(), list);
    EXPECT_EQ(again->massLines, lines);

    session.BeginPreliminary("5", "10");  // without results the choice is only remembered
    EXPECT_EQ(session.ChooseReferenceMasses(ReferenceMassKind::Neutral), nullptr);
    EXPECT_EQ(s().ReferenceMasses, ReferenceMassKind::Neutral);
}

// The formula table kept from a search with other scoring settings finds and ranks what a
// finder made afresh for the new ones does.
TEST_F(SessionSteps, FormulasOfNewScoringSettingsAsFromAFreshTable) {
    CompositionSettings wide;
    wide.tolerancePpm = 100;
    ASSERT_TRUE(session.FindFormulas(0, wide).ok());
    CompositionSettings narrow = wide;
    narrow.tolerancePpm = 40;
    narrow.charge = 1;
    narrow.reported = 3;
    const CompositionRun kept = session.FindFormulas(0, narrow);
    ASSERT_TRUE(kept.ok()) << kept.message;
    narrow.thresholdHeight = static_cast<double>(s().spectrum.NoiseThreshold);
    const PeakComposition fresh =
        CompositionFinder(ParseElementRanges(narrow.ranges).ranges, narrow, HeaviestPeak(s().run.peaks))
            .ForPeak(s().run.peaks, 0);
    ASSERT_EQ(kept.peaks.at(0).candidates.size(), fresh.candidates.size());
    ASSERT_FALSE(fresh.candidates.empty());
    for (std::size_t k = 0; k < fresh.candidates.size(); ++k) {
        EXPECT_EQ(kept.peaks[0].candidates[k].formula, fresh.candidates[k].formula);
        EXPECT_EQ(kept.peaks[0].candidates[k].score, fresh.candidates[k].score);
    }
    EXPECT_EQ(kept.peaks[0].found, fresh.found);
}

// The formulas of a peak: C3H7+ first, marked as the calibration's CH ion once a list line gives
// it the table's mass, and still marked after the calibration is applied and the run repeated.
TEST_F(SessionSteps, FormulasOfAPeakMarkTheCalibrationsReferenceIons) {
    CompositionSettings settings;
    settings.tolerancePpm = 100;  // the planted masses are neutral ones, 0.55 mmu above the ions'
    CompositionRun run = session.FindFormulas(0, settings);
    ASSERT_TRUE(run.ok()) << run.message;
    ASSERT_EQ(run.peaks.size(), 1u);
    ASSERT_FALSE(run.peaks[0].candidates.empty());
    EXPECT_EQ(HillText(run.peaks[0].candidates[0].formula), "C3H7+");
    EXPECT_TRUE(run.peaks[0].candidates[0].reference.empty());  // its line has no table mass

    const IonRow& c3h7 = *std::find_if(s().tables.CHList.begin(), s().tables.CHList.end(),
                                       [](const IonRow& r) { return r.nC == 3 && r.nX == 7; });
    ASSERT_TRUE(session.AttachTypedMass(0, FormatFixed(c3h7.Mass, 5)).changed());
    ASSERT_EQ(session.ListReferenceIons().size(), 1u);
    run = session.FindFormulas(0, settings);
    EXPECT_EQ(run.peaks.at(0).candidates.at(0).reference, "C 3 H 7");
    EXPECT_TRUE(session.FindFormulas(2, settings).peaks.at(0).candidates.at(0).reference.empty());

    ASSERT_FALSE(session.Recalculate());
    EXPECT_EQ(s().appliedReferenceIons, std::vector<std::string>{"C 3 H 7"});
    session.BeginPreliminary("5", "10");
    session.RunPreliminaryHere();
    ASSERT_FALSE(session.BeginFinalRun("1000", GaussShape::Ordinary));
    const SpectrumState& sp = s().spectrum;
    session.AdoptFinalRun(RunFinal(sp.Spectrum, sp.Smooth, sp.FinalExtrema, {}));
    run = session.FindFormulas(0, settings);
    ASSERT_TRUE(run.ok()) << run.message;
    EXPECT_EQ(HillText(run.peaks.at(0).candidates.at(0).formula), "C3H7+");
    EXPECT_EQ(run.peaks[0].candidates[0].reference, "C 3 H 7");

    settings.ranges = "C0-60Q1";
    run = session.FindFormulas(0, settings);
    EXPECT_FALSE(run.ok());
    EXPECT_NE(run.message.find("Q"), std::string::npos) << run.message;
    EXPECT_TRUE(run.peaks.empty());
    EXPECT_FALSE(session.FindFormulas(3, CompositionSettings{}).ok());  // three peaks only
    session.Load(ThreePeaks(), SpectrumSource{"again.txt", {}, 0, {}});
    EXPECT_TRUE(s().appliedReferenceIons.empty());
}

}  // namespace
}  // namespace orvelo
