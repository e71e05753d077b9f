#pragma once
// Ranked elemental formulas for the fitted peaks of a final run.
//
// Mass: the deviation measured - calculated in units of sigma = max(the peak's own standard
// error of the centre, the tolerance in ppm of its mass); formulas within kCandidateWindowSigmas sigma
// are candidates, and the mass term of the score is -(delta/sigma)^2 / 2. At a resolving power
// so low that the ion's own M+1 and M+2 peaks overlap it, the fitted centre is pulled towards
// them: the expected pull of each candidate's isotope peaks is taken off the measured mass (and
// a third of it added to sigma), and the window reaches down by the largest such pull.
// deltaSigma is this corrected deviation; deltaMmu and deltaPpm are the plain measured -
// calculated.
//
// Isotopes: for each candidate the expected M+1 and M+2 peaks (13C, 2H, 15N, 17O, 18O, 33S,
// 34S, 37Cl, 81Br, 29Si, 30Si; exact to these two steps), isotopologues closer than the
// peak's width m/R merged into one peak at their weighted centre. Each expected peak is
// compared with the fitted peak found within half a width of its place: its height at the apex
// over the monoisotopic peak's amplitude (both above that peak's background) against the
// expected ratio with the flanks of the pattern's other peaks, and its mass against the expected
// place, each as a squared deviation over its error. The place is trusted to no better than a
// twentieth of the width, and at a low resolving power each isotope peak is expected where its
// neighbours pull it. A fitted peak higher than expected counts less
// (kExcessWeight): another ion may stand under it. When no peak is found, an expected peak
// that would stand at least kAbsentFactor times above the noise threshold counts against the
// formula, unless a higher fitted peak within 1.5 widths may hide it in its flank; a lower one
// decides nothing. No comparison counts more than 25 (12.5 of the score), a higher peak than
// expected no more than 4. The isotope term is -chi^2 / 2 of these comparisons
// (0 when they agree or nothing could decide). The score is the sum of the two terms and a
// small plausibility term (PlausibilityTerm); higher is better.
//
// Charge: a peak with a fitted neighbour 13C/2 u above it (its M+1 at half the spacing; within
// 5 mmu, a tenth of the width or five standard errors, and 1% to 150% of its height) is taken
// as doubly charged; its formulas then carry the charge 2 and their isotopes lie half
// a unit apart.
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "composition/element_ranges.h"
#include "composition/formula.h"
#include "composition/formula_search.h"
#include "fitting/peak_result.h"

namespace orvelo {

inline constexpr double kDefaultTolerancePpm = 2;
inline constexpr double kDefaultMaxRdbe = 40;
inline constexpr double kCandidateWindowSigmas = 4;
inline constexpr double kExcessWeight = 0.3;
inline constexpr double kAbsentFactor = 3;
inline constexpr int kDefaultReported = 5;

struct CompositionSettings {
    std::string ranges = kDefaultElementRanges;
    double tolerancePpm = kDefaultTolerancePpm;
    double maxRdbe = kDefaultMaxRdbe;
    int reported = kDefaultReported;  // candidates kept per peak, best first; 0 keeps them all
    double thresholdHeight = 0;       // the run's noise threshold; 0: the lowest fitted peak
    int charge = 0;                   // 1 or 2 forces the charge; 0 finds it per peak
};

struct Candidate {
    Formula formula;
    double ionMass = 0;
    double deltaMmu = 0;  // measured - calculated
    double deltaPpm = 0;
    double deltaSigma = 0;  // in units of the sigma above, after the pull of overlapping isotope peaks
    double rdbe = 0;
    double isotopeScore = 0;  // -chi^2/2 of the isotope peaks
    double plausibility = 0;
    double score = 0;
    std::string reference;  // the CH or CF reference ion the calibration matched to this peak
};

struct PeakComposition {
    std::size_t peak = 0;  // index into PeakResults (the data row of the results table - 1)
    int charge = 1;
    double sigma = 0;                   // the unit of deltaSigma, u
    std::size_t found = 0;              // candidates in the window, before the limit of `reported`
    std::vector<Candidate> candidates;  // best first
    std::string message;                // why there is none
};

struct CompositionRun {
    std::string message;                 // a refused setting; nothing was searched then
    std::vector<PeakComposition> peaks;  // every peak but the problem peaks, in peak order
    uint64_t examined = 0;               // formulas compared with a mass window

    bool ok() const { return message.empty(); }
};

// The element ranges of `settings` read; refused with the message of ranges that cannot be read,
// or "Допуск должен быть положительным числом ppm" for a tolerance that is not a positive number.
ElementRangesParse ReadCompositionSettings(const CompositionSettings& settings);
// A peak whose formulas are searched: no problem peak, a finite positive centre.
bool SearchablePeak(const PeakResult& p);
// The heaviest finite centre among the peaks that are no problem peaks; 0 when there is none.
double HeaviestPeak(const PeakResults& peaks);

// "Нет формулы в пределах ..." for a peak without a candidate.
std::string NoCandidateMessage(double mass, int charge, double windowMmu);

class CompositionFinder {
public:
    // `ranges` read by ParseElementRanges; `maxIonMass` the heaviest peak to be searched.
    CompositionFinder(const std::vector<ElementRange>& ranges, const CompositionSettings& settings, double maxIonMass);
    // Over a table made by SearchTable of settings.ranges and settings.maxRdbe: the other
    // settings only score, and a finder of new ones needs no new table.
    CompositionFinder(std::shared_ptr<const FormulaSearch> search, const CompositionSettings& settings);
    static std::shared_ptr<const FormulaSearch> SearchTable(const std::vector<ElementRange>& ranges, double maxRdbe,
                                                            double maxIonMass);

    PeakComposition ForPeak(const PeakResults& peaks, std::size_t index, uint64_t* examined = nullptr) const;

private:
    CompositionSettings settings_;
    std::shared_ptr<const FormulaSearch> search_;
};

CompositionRun FindCompositions(const PeakResults& peaks, const CompositionSettings& settings);

// 1 or 2 (see above).
int ChargeOfPeak(const PeakResults& peaks, std::size_t index, double tolerancePpm);

struct IsotopePeak {
    int shift = 1;      // nucleons above the monoisotopic ion
    double offset = 0;  // m/z above the monoisotopic peak
    double ratio = 0;   // amplitude over the monoisotopic one
};
// The merged M+1 and M+2 peaks of a formula at width `fwhm` (m/z), lightest first.
std::vector<IsotopePeak> ExpectedIsotopePeaks(const Formula& f, double fwhm);

// A small preference for formulas common among ions, never decisive against clear evidence:
// each kind of heteroatom beyond the first costs 1 (the score of a 1.4 sigma deviation).
double PlausibilityTerm(const Formula& f);

// A reference ion the calibration matched: the peak's index and the ion's name ("C 4 H 9").
struct ReferenceMark {
    std::size_t peak = 0;
    std::string name;
};
// Marks the candidates of those peaks whose formula is the reference ion.
void MarkReferenceIons(std::vector<PeakComposition>& peaks, const std::vector<ReferenceMark>& marks);

// The texts of a candidate in the order of the tables: its formula (HillText), delta in mmu
// "%.3f" and ppm "%.2f", delta/sigma "%.2f", RDBE "%.1f", isotope score "%.2f", score "%.2f".
inline constexpr int kCandidateTextCount = 7;
std::array<std::string, kCandidateTextCount> CandidateTexts(const Candidate& c);

// formulas.tsv: the head row, then per peak its candidates best first (one line with an empty
// formula for a peak without any); UTF-8 lines without line ends.
std::vector<std::string> FormulaTableLines(const PeakResults& peaks, const std::vector<PeakComposition>& found);

}  // namespace orvelo
