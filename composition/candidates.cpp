#include "composition/candidates.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace orvelo {

namespace {

constexpr double kHalfSpacing = (13.00335483507 - 12.0) / 2;  // the 13C step of a doubly charged ion
constexpr double kRatioFloor = 0.08;       // relative error of an isotope ratio, at least
constexpr double kRatioAbsoluteFloor = 0.003;
constexpr double kTermCap = 25;            // no single comparison weighs more
constexpr double kDefaultR = 1000;

double Sq(double x) { return x * x; }

bool Usable(double x) { return std::isfinite(x) && x > 0; }

double SigmaOf(const PeakResult& p, double tolerancePpm) {
    const double own = Usable(p.Errors[3]) ? p.Errors[3] : 0;
    return std::max(own, tolerancePpm * 1e-6 * std::abs(p.Centre));
}

double FwhmOf(const PeakResult& p) { return std::abs(p.Centre) / (Usable(p.R) ? p.R : kDefaultR); }

double Amplitude(const PeakResult& p) { return p.Height - p.Background; }

// The nearest usable peak to `place` within `halfWidth`, or -1.
long NearestPeak(const PeakResults& peaks, std::size_t self, double place, double halfWidth) {
    const auto first = std::lower_bound(peaks.begin(), peaks.end(), place - halfWidth,
                                        [](const PeakResult& p, double m) { return p.Centre < m; });
    long best = -1;
    double bestDistance = halfWidth;
    for (auto it = first; it != peaks.end() && it->Centre <= place + halfWidth; ++it) {
        const std::size_t j = static_cast<std::size_t>(it - peaks.begin());
        if (j == self || IsProblemPeak(*it)) continue;
        const double d = std::abs(it->Centre - place);
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<long>(j);
        }
    }
    return best;
}

bool SortedByCentre(const PeakResults& peaks) {
    return std::is_sorted(peaks.begin(), peaks.end(), [](const PeakResult& a, const PeakResult& b) { return a.Centre < b.Centre; });
}

}  // namespace

std::string NoCandidateMessage(double mass, int charge, double windowMmu) {
    return "Нет формулы в пределах ±" + FormatFixed(windowMmu, 2) + " mmu от массы " + FormatFixed(mass, 6) +
           " при заряде " + std::to_string(charge) + "+ в заданных диапазонах элементов";
}

int ChargeOfPeak(const PeakResults& peaks, std::size_t index, double tolerancePpm) {
    const PeakResult& p = peaks[index];
    if (IsProblemPeak(p) || !SortedByCentre(peaks)) return 1;
    const double place = p.Centre + kHalfSpacing;
    const double tol = std::max(0.02, 5 * SigmaOf(p, tolerancePpm));
    const long j = NearestPeak(peaks, index, place, tol);
    if (j < 0) return 1;
    const double a0 = Amplitude(p), a1 = Amplitude(peaks[static_cast<std::size_t>(j)]);
    return a0 > 0 && a1 >= 0.01 * a0 && a1 <= 1.5 * a0 ? 2 : 1;
}

std::vector<IsotopePeak> ExpectedIsotopePeaks(const Formula& f, double fwhm) {
    struct Sub {
        int shift;
        double delta;  // neutral mass above the monoisotopic
        double ratio;
    };
    std::vector<Sub> subs;
    struct Step {
        double delta, ratio;
    };
    std::vector<Step> ones;  // one-nucleon steps, each with the count of its element folded in
    for (int e = 0; e < kElementCount; ++e) {
        const int n = f.count(e);
        if (n == 0) continue;
        const Element& el = ElementOf(e);
        for (int k = 1; k < el.isotopeCount; ++k) {
            const Isotope& iso = el.isotopes[static_cast<std::size_t>(k)];
            const double r = iso.abundance / el.isotopes[0].abundance;
            const double d = iso.mass - el.mass();
            if (iso.shift == 1) {
                subs.push_back({1, d, n * r});
                ones.push_back({d, r});
                // two of this isotope in the same element
                if (n >= 2) subs.push_back({2, 2 * d, n * (n - 1) / 2.0 * r * r});
            } else if (iso.shift == 2) {
                subs.push_back({2, d, n * r});
            }
        }
    }
    // One step each in two different elements.
    std::vector<std::pair<int, Step>> perElement;
    for (int e = 0; e < kElementCount; ++e) {
        const int n = f.count(e);
        if (n == 0) continue;
        const Element& el = ElementOf(e);
        for (int k = 1; k < el.isotopeCount; ++k)
            if (el.isotopes[static_cast<std::size_t>(k)].shift == 1)
                perElement.push_back({e, {el.isotopes[static_cast<std::size_t>(k)].mass - el.mass(),
                                          n * el.isotopes[static_cast<std::size_t>(k)].abundance / el.isotopes[0].abundance}});
    }
    for (std::size_t a = 0; a < perElement.size(); ++a)
        for (std::size_t b = a + 1; b < perElement.size(); ++b)
            subs.push_back({2, perElement[a].second.delta + perElement[b].second.delta,
                            perElement[a].second.ratio * perElement[b].second.ratio});

    const double z = f.charge;
    std::vector<IsotopePeak> peaks;
    for (int shift = 1; shift <= 2; ++shift) {
        std::vector<Sub> these;
        for (const Sub& s : subs)
            if (s.shift == shift && s.ratio > 0) these.push_back(s);
        std::sort(these.begin(), these.end(), [](const Sub& a, const Sub& b) { return a.delta < b.delta; });
        // Neighbours closer than the width are one peak.
        for (std::size_t i = 0; i < these.size();) {
            double sum = these[i].ratio, weighted = these[i].ratio * these[i].delta, last = these[i].delta;
            std::size_t j = i + 1;
            for (; j < these.size() && (these[j].delta - last) / z < fwhm; ++j) {
                sum += these[j].ratio;
                weighted += these[j].ratio * these[j].delta;
                last = these[j].delta;
            }
            peaks.push_back({shift, weighted / sum / z, sum});
            i = j;
        }
    }
    return peaks;
}

double PlausibilityTerm(const Formula& f) {
    (void)f;
    return 0;
}

CompositionFinder::CompositionFinder(const std::vector<ElementRange>& ranges, const CompositionSettings& settings,
                                     double maxIonMass)
    : settings_(settings), search_(ranges, settings.maxRdbe, 2 * (std::max(0.0, maxIonMass) * (1 + 1e-4) + 0.1)) {}

std::vector<Candidate> CompositionFinder::InWindow(double mass, double sigma, int charge, uint64_t* examined) const {
    std::vector<Formula> formulas;
    const double w = kWindowSigmas * sigma;
    search_.Find(mass - w, mass + w, charge, formulas, examined);
    std::vector<Candidate> out;
    out.reserve(formulas.size());
    for (const Formula& f : formulas) {
        Candidate c;
        c.formula = f;
        c.ionMass = IonMass(f);
        const double delta = mass - c.ionMass;
        c.deltaMmu = delta * 1000;
        c.deltaPpm = delta / c.ionMass * 1e6;
        c.deltaSigma = delta / sigma;
        c.rdbe = Rdbe(f);
        out.push_back(c);
    }
    return out;
}

PeakComposition CompositionFinder::ForPeak(const PeakResults& peaks, std::size_t index, uint64_t* examined) const {
    const PeakResult& p = peaks[index];
    PeakComposition result;
    result.peak = index;
    result.charge = settings_.charge == 1 || settings_.charge == 2 ? settings_.charge
                                                                      : ChargeOfPeak(peaks, index, settings_.tolerancePpm);
    result.sigma = SigmaOf(p, settings_.tolerancePpm);
    std::vector<Candidate> all = InWindow(p.Centre, result.sigma, result.charge, examined);
    result.found = all.size();
    if (all.empty()) {
        result.message = NoCandidateMessage(p.Centre, result.charge, kWindowSigmas * result.sigma * 1000);
        return result;
    }
    const double fwhm = FwhmOf(p);
    const double a0 = Amplitude(p);
    const bool sorted = SortedByCentre(peaks);
    const bool isotopes = sorted && Usable(a0);
    const double sa0 = Usable(p.Errors[1]) ? p.Errors[1] : 0;
    for (Candidate& c : all) {
        double chi2 = 0;
        if (isotopes) {
            for (const IsotopePeak& iso : ExpectedIsotopePeaks(c.formula, fwhm)) {
                const double place = p.Centre + iso.offset;
                const long j = NearestPeak(peaks, index, place, fwhm / 2);
                const double expected = a0 * iso.ratio;
                if (j < 0) {
                    if (settings_.thresholdHeight > 0 && p.Background + expected > kAbsentFactor * settings_.thresholdHeight)
                        chi2 += std::min(kTermCap, Sq(expected / std::max(settings_.thresholdHeight, 0.15 * expected)));
                    continue;
                }
                const PeakResult& q = peaks[static_cast<std::size_t>(j)];
                const double observed = Amplitude(q) / a0;
                const double sq = Usable(q.Errors[1]) ? q.Errors[1] : 0;
                const double sigmaRatio = std::sqrt(Sq(sq / a0) + Sq(observed * sa0 / a0) + Sq(kRatioFloor * iso.ratio) +
                                                    Sq(kRatioAbsoluteFloor));
                double termRatio = Sq((observed - iso.ratio) / sigmaRatio);
                if (observed > iso.ratio) termRatio *= kExcessWeight;
                chi2 += std::min(kTermCap, termRatio);
                // Its place, when it is an isotope peak of some weight.
                if (iso.ratio >= 0.02 && observed < 3 * iso.ratio + 0.05) {
                    const double sigmaPlace = std::hypot(SigmaOf(q, settings_.tolerancePpm), result.sigma);
                    chi2 += std::min(kTermCap, Sq((q.Centre - place) / sigmaPlace) * 0.5);
                }
            }
        }
        c.isotopeScore = -chi2 / 2;
        c.plausibility = PlausibilityTerm(c.formula);
        c.score = -Sq(c.deltaSigma) / 2 + c.isotopeScore + c.plausibility;
    }
    std::sort(all.begin(), all.end(), [](const Candidate& a, const Candidate& b) {
        if (a.score != b.score) return a.score > b.score;
        return std::abs(a.deltaMmu) < std::abs(b.deltaMmu);
    });
    if (settings_.reported > 0 && all.size() > static_cast<std::size_t>(settings_.reported))
        all.resize(static_cast<std::size_t>(settings_.reported));
    result.candidates = std::move(all);
    return result;
}

CompositionRun FindCompositions(const PeakResults& peaks, const CompositionSettings& settings) {
    CompositionRun run;
    const ElementRangesParse ranges = ParseElementRanges(settings.ranges);
    if (!ranges.ok()) {
        run.message = ranges.message;
        return run;
    }
    CompositionSettings s = settings;
    double maxMass = 0, lowest = 0;
    bool any = false;
    for (const PeakResult& p : peaks) {
        if (IsProblemPeak(p) || !std::isfinite(p.Centre)) continue;
        maxMass = std::max(maxMass, p.Centre);
        lowest = any ? std::min(lowest, p.Height) : p.Height;
        any = true;
    }
    if (!(s.thresholdHeight > 0)) s.thresholdHeight = any && lowest > 0 ? lowest : 0;
    const CompositionFinder finder(ranges.ranges, s, maxMass);
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        if (IsProblemPeak(peaks[i]) || !std::isfinite(peaks[i].Centre) || peaks[i].Centre <= 0) continue;
        run.peaks.push_back(finder.ForPeak(peaks, i, &run.examined));
    }
    return run;
}

void MarkReferenceIons(std::vector<PeakComposition>& peaks, const std::vector<ReferenceMark>& marks) {
    for (const ReferenceMark& mark : marks) {
        Formula ion;
        if (!ParseFormulaText(mark.name, ion)) continue;
        for (PeakComposition& pc : peaks) {
            if (pc.peak != mark.peak) continue;
            for (Candidate& c : pc.candidates) {
                Formula f = c.formula;
                f.charge = 1;
                if (c.formula.charge == 1 && f == ion) c.reference = mark.name;
            }
        }
    }
}

std::vector<std::string> FormulaTableLines(const PeakResults& peaks, const std::vector<PeakComposition>& found) {
    std::vector<std::string> lines{"line\tmass\trank\tformula\tion_mass\tdelta_mmu\tdelta_ppm\tdelta_sigma\trdbe\tisotope_score\tscore"};
    for (const PeakComposition& pc : found) {
        const std::string head = std::to_string(pc.peak + 1) + '\t' + FormatFixed(peaks[pc.peak].Centre, 6) + '\t';
        if (pc.candidates.empty()) {
            lines.push_back(head + "\t\t\t\t\t\t\t\t");
            continue;
        }
        int rank = 1;
        for (const Candidate& c : pc.candidates)
            lines.push_back(head + std::to_string(rank++) + '\t' + HillText(c.formula) + '\t' + FormatFixed(c.ionMass, 6) +
                            '\t' + FormatFixed(c.deltaMmu, 3) + '\t' + FormatFixed(c.deltaPpm, 2) + '\t' +
                            FormatFixed(c.deltaSigma, 2) + '\t' + FormatFixed(c.rdbe, 1) + '\t' +
                            FormatFixed(c.isotopeScore, 2) + '\t' + FormatFixed(c.score, 2));
    }
    return lines;
}

}  // namespace orvelo
