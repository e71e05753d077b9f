#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "core/number_text.h"
#include "fit_test_support.h"
#include "fitting/final_run.h"
#include "fitting/noise_threshold.h"
#include "fitting/results_table.h"
#include "fitting/single_peak.h"

namespace orvelo {
namespace {

struct Finished {
    SpectrumState state;
    FinalRunResult run;
};

Finished FinishedRun(double n) {
    Finished f{testing::PreparedState(testing::TwelvePeaks(n, 3).Generate(), 2), {}};
    ApplyNoiseThreshold(f.state, 100);
    FinalRunOptions options;
    options.gaussPower = n;
    f.run = RunFinal(f.state.Spectrum, f.state.Smooth, f.state.FinalExtrema, options);
    return f;
}

TEST(SinglePeak, LogHasSixLinesPerStepAndRepeatsExactly) {
    const Finished f = FinishedRun(2.0);
    const FitSource source(f.state.Spectrum, f.state.Smooth, 2.0);
    FitState state;
    const SinglePeakFit first = FitSinglePeak(state, source, f.state.FinalExtrema, f.run.peaks, 3);
    EXPECT_EQ(state.PeakNumber, 4);
    ASSERT_GT(first.outcome.result.Iter, 0);
    ASSERT_EQ(first.log.size(), 6 * static_cast<std::size_t>(first.outcome.result.Iter));
    EXPECT_EQ(first.log[0], "Итерация № 1");
    EXPECT_EQ(first.log[1].rfind("A = ", 0), 0u);
    EXPECT_EQ(first.log[6], "Итерация № 2");
    EXPECT_EQ(first.log[11], "");
    EXPECT_TRUE(first.problemLines.empty());

    const SinglePeakFit again = FitSinglePeak(state, source, f.state.FinalExtrema, f.run.peaks, 3);
    EXPECT_EQ(again.log, first.log);
}

// The same window, start values and shape as in the final run: the same fit to the last bit,
// and the last "D = " and "C = " lines give the table's "Масса" and "R".
TEST(SinglePeak, RefitMatchesTheFinalRunAndItsTable) {
    for (double n : {2.0, 8.0}) {
        const Finished f = FinishedRun(n);
        const FitSource source(f.state.Spectrum, f.state.Smooth, n);
        const std::vector<ResultRow> table = ResultsTable(f.run.peaks);
        for (int k = 0; k < static_cast<int>(f.run.peaks.size()); ++k) {
            FitState state;
            const SinglePeakFit fit = FitSinglePeak(state, source, f.state.FinalExtrema, f.run.peaks, k);
            PeakResult refit = fit.outcome.result;
            refit.ZoneIndex = f.run.peaks[k].ZoneIndex;
            EXPECT_TRUE(testing::BitEqual(refit, f.run.peaks[k])) << k;

            const std::string& dLine = fit.log[fit.log.size() - 2];
            const std::string& cLine = fit.log[fit.log.size() - 3];
            ASSERT_EQ(dLine.rfind("D = ", 0), 0u);
            const double d = *ParseNumber(dLine.substr(4, dLine.find(',') - 4));
            const double c = *ParseNumber(cLine.substr(4, cLine.find(',') - 4));
            EXPECT_EQ(FormatFixed(d, 6), table[k + 1][1]);
            EXPECT_EQ(FormatFixed(c, 0), table[k + 1][5]);

            EXPECT_EQ(fit.selection.M, NominalMass(f.run.peaks[k].Centre));
            EXPECT_EQ(fit.selection.first, fit.input.window.first);
            EXPECT_EQ(fit.selection.last, fit.input.window.last);
            EXPECT_TRUE(SelectionFitsSpectrum(fit.selection, f.state.Spectrum));
        }
    }
}

TEST(SinglePeak, ProblemPeakStillSavesASelection) {
    PointList flat;
    for (int i = 0; i < 30; ++i) flat.push(57.5 + 0.01 * i, 40);
    PointList extrema;
    extrema.push(flat.x[0], 40);
    extrema.push(flat.x[10], 40);
    extrema.push(flat.x[29], 40);
    PeakResults peaks(1);
    peaks[0].ZoneIndex = 0;
    const FitSource source(flat, flat, 2.0);
    FitState state;
    const SinglePeakFit fit = FitSinglePeak(state, source, extrema, peaks, 0);
    EXPECT_TRUE(fit.outcome.problem());
    EXPECT_TRUE(fit.log.empty());
    ASSERT_EQ(fit.problemLines.size(), 14u);
    EXPECT_EQ(fit.problemLines[0], "1 пик");
    EXPECT_EQ(fit.selection.M, 57);  // from D0, the centre sample 57.5
    EXPECT_EQ(fit.selection.first, 0);
    EXPECT_EQ(fit.selection.last, 29);
    EXPECT_TRUE(fit.selection.fitted);
}

TEST(SinglePeak, PeakOrZoneOutsideTheListsIsRefused) {
    PointList spectrum = testing::ModelPeak({5, 1000, 1500, 100}, 2.0);
    PointList extrema;
    extrema.push(spectrum.x[0], 5);
    extrema.push(spectrum.x[30], 1005);
    extrema.push(spectrum.x[60], 5);
    PeakResults peaks(2);
    peaks[1].ZoneIndex = 1;  // would need entry 3
    const FitSource source(spectrum, spectrum, 2.0);
    FitState state;
    EXPECT_THROW(FitSinglePeak(state, source, extrema, peaks, 2), OrveloError);
    EXPECT_THROW(FitSinglePeak(state, source, extrema, peaks, -1), OrveloError);
    EXPECT_THROW(FitSinglePeak(state, source, extrema, peaks, 1), OrveloError);
    EXPECT_NO_THROW(FitSinglePeak(state, source, extrema, peaks, 0));
}

TEST(SinglePeak, OnlyAFittedSelectionInsideTheSpectrumMayBeWritten) {
    PointList spectrum;
    for (int i = 0; i < 10; ++i) spectrum.push(i, i);
    EXPECT_FALSE(SelectionFitsSpectrum(PeakSelection{}, spectrum));
    EXPECT_TRUE(SelectionFitsSpectrum({28, 2, 9, true}, spectrum));
    EXPECT_FALSE(SelectionFitsSpectrum({28, 2, 10, true}, spectrum));
    EXPECT_FALSE(SelectionFitsSpectrum({28, -1, 5, true}, spectrum));
    EXPECT_FALSE(SelectionFitsSpectrum({28, 6, 5, true}, spectrum));
    EXPECT_FALSE(SelectionFitsSpectrum({28, 2, 9, true}, PointList{}));
}

}  // namespace
}  // namespace orvelo
