#pragma once
// Automatic calibration: the reference ions paired with the fitted peaks, robustly, so that the
// calibration list can be filled without picking every pair by hand.
//
//   round 0  every reference against the strong peaks (height at least the median height of
//            the usable peaks) within the tolerance; a pair counts only when the reference has
//            one such peak and the peak one such reference. The first correction is the
//            Theil-Sen line through these pairs (the median of the pairwise slopes): up to a
//            quarter of wrong pairs does not move it.
//   round k  every reference against every usable peak, on the masses corrected by the last
//            curve, within the window; the curve (line or parabola, least squares) refitted.
//            Outliers go one at a time, the largest residual first, while the curve fitted
//            without the pair leaves it beyond max(kMinWindowMmu, kWindowSigmas * sigma) of the
//            others; sigma is the robust scale 1.4826 * median|r| of the residuals r. The next
//            window is that bound for the pairs kept, but never below a quarter of the window
//            before, so that the curve can follow a curved error while the window closes.
//   stop     when a round keeps the pairs of the round before and the window has closed
//            (Stable), or after kMaxRounds rounds (RoundLimit, the last pairs are kept).
//
// No pair is ever further from its reference than the tolerance, measured on the uncorrected
// masses. Too few kept pairs (see kMinimumPairSpan), or pairs in a narrow part of the spectrum,
// propose nothing. Pairs that scatter so widely about their curve that kWindowSigmas * sigma exceeds the
// tolerance were found by chance (a spectrum of other ions): nothing is proposed then.
//
// A reference with two peaks in the window takes the stronger one only when it is at least
// kDominance times as high (a weak noise peak beside an ion); otherwise it is left out, as is
// a peak in the window of two references. Problem peaks are never used.
//
// How the window uses it: r = MatchReferences(PeakResults, ReferenceIons(tables, choice), s);
// if !r.ok() show r.message and change nothing; else FillCalibrationList(r, ListBox5 lines,
// list) and show AutoCalibrationSummary(r).
#include <string>
#include <string_view>
#include <vector>

#include "calibration/calibration_curve.h"
#include "calibration/calibration_list.h"
#include "calibration/curve_report.h"
#include "calibration/ion_masses.h"
#include "calibration/reference_masses.h"
#include "fitting/peak_result.h"

namespace orvelo {

struct ReferenceIon {
    std::string name;  // "C 4 H 9", "C 2 F 4"
    double mass = 0;   // neutral or ion mass, as the tables hold it
};

// Which tables to match: CH rows as the "Стандартные массы" check boxes choose them (the full
// list by default), and/or the CF table.
struct ReferenceChoice {
    bool ch = true;
    ListFlags chFlags = ListFlags{{true, false, false}, true};
    bool cf = false;
};

// The chosen rows, in mass order, each mass once. CH rows that cannot exist (fewer than no
// hydrogen, or more than 2nC+2) are left out.
std::vector<ReferenceIon> ReferenceIons(const ReferenceTables& tables, const ReferenceChoice& choice);

inline constexpr double kDefaultToleranceMmu = 100;  // the widest initial error expected, with room
inline constexpr double kMinWindowMmu = 2;
inline constexpr double kWindowSigmas = 4;
inline constexpr double kDominance = 5;
inline constexpr int kMaxRounds = 30;
// The kept pairs of a proposal: at least four masses for a line, five for a parabola, spanning
// at least this share of the usable peaks' mass range.
inline constexpr double kMinimumPairSpan = 0.25;
// The tables hold their ions one nominal mass apart: a tolerance of half that pairs a peak with
// the ion one hydrogen away as readily as with its own.
inline constexpr double kMaxToleranceMmu = 500;
// A tolerance the matcher takes: a finite number of mmu above 0 and below kMaxToleranceMmu.
bool ToleranceAccepted(double mmu);
// That rule as the operator reads it: "допуск должен быть числом mmu больше 0 и меньше 500 (…)".
std::string ToleranceRule();

struct AutoCalibrationSettings {
    double toleranceMmu = kDefaultToleranceMmu;  // how far a measured mass may lie from its ion
    CurveKind kind = CurveKind::Line;
};

enum class LeftOut {
    None,        // kept
    NoPeak,      // no usable peak within the window
    TwoPeaks,    // two peaks within the window, neither dominant
    SharedPeak,  // its peak lies within the window of another reference too
    Outlier,     // its peak (or, with no peak in the window, its nearest free peak within the
                 // tolerance) lies beyond the residual bound of the curve
};
// "взят", "нет пика в допуске", "два пика в допуске", "пик у двух ионов", "выброс".
const char* LeftOutText(LeftOut reason);

struct ReferenceMatch {
    ReferenceIon ion;
    int peak = -1;  // index into PeakResults: the matched peak, or the peak an outlier or a
                    // shared peak refers to; -1 when none
    LeftOut reason = LeftOut::NoPeak;

    bool kept() const { return reason == LeftOut::None; }
};

enum class MatchStop {
    Stable,      // a round kept the pairs of the round before with the window closed
    RoundLimit,  // kMaxRounds rounds; the pairs of the last one
    NoMatch,     // too few pairs for the curve, or pairs off any curve: `message` says why,
                 // nothing is proposed
};

struct AutoCalibration {
    MatchStop stop = MatchStop::NoMatch;
    std::string message;                     // for NoMatch
    std::vector<ReferenceMatch> references;  // every reference, in mass order
    CalibrationCurve curve;                  // the matcher's own least-squares curve; what is
                                             // applied is the page's line or parabola through the
                                             // kept pairs, which CheckCalibration reports
    double rmsBeforeMmu = 0;                 // of true - measured over the kept pairs
    double rmsAfterMmu = 0;                  // of the residuals of `curve`
    double windowMmu = 0;                    // the last window
    int rounds = 0;

    bool ok() const { return stop != MatchStop::NoMatch; }
    int KeptCount() const;
    int LeftOutCount(LeftOut reason) const;
};

AutoCalibration MatchReferences(const PeakResults& peaks, const std::vector<ReferenceIon>& references,
                                const AutoCalibrationSettings& settings);

// "Подобрано ионов: 12 из 40. Не взяты: нет пика в допуске 25, два пика в допуске 1, выброс 2.
// СКО: до 31.20 mmu, после 0.15 mmu" (only the reasons that occur).
std::string AutoCalibrationSummary(const AutoCalibration& result);

// The calibration list of the kept pairs, made as "<<" makes it: each peak taken from the
// "Все массы" lines and given its reference mass in the general number form. All or nothing:
// on a refusal `list` is unchanged; a failed match is refused as InvalidText with its message.
ListChange FillCalibrationList(const AutoCalibration& result, const std::vector<std::string>& allMassLines,
                               CalibrationList& list);

// auto-calibration.tsv: a head row, then one row per reference: ion, true mass (general form),
// peak line in "Все массы" (from 0), measured mass "%.5f", deviation before and after the
// applied curve "%.2f" mmu, "взят" or why not. Cells without a peak are empty. The head of the
// true mass says which masses were used.
std::vector<std::string> AutoCalibrationTableLines(const AutoCalibration& result, const PeakResults& peaks,
                                                   const CalibrationCurve& applied, ReferenceMassKind kind);

}  // namespace orvelo
