#include "composition/candidates.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/number_text.h"

namespace orvelo {

namespace {

constexpr double kRatioFloor = 0.03;  // relative error of an isotope ratio, at least
constexpr double kRatioAbsoluteFloor = 0.003;
constexpr double kTermCap = 25;   // no single comparison weighs more
constexpr double kExcessCap = 4;  // nor a peak higher than expected (another ion's)
// A fitted centre is pulled towards an overlapping neighbour of relative height r at distance d
// by about r d exp(-d^2 / 4 s^2) (s the Gaussian's width); the fit's window, which ends between
// the peaks, takes about three quarters of that. The prediction is good to about a third.
constexpr double kPullFraction = 0.75;
constexpr double kPullError = 0.35;
// A smaller peak beside a larger one is pulled by less, about a quarter of that per unit of
// their height ratio; this prediction is good to about its own size.
constexpr double kSidePullFraction = 0.25;
constexpr double kSidePullError = 1;
// An isotope peak's fitted place is not trusted closer than this part of the width: a weak
// neighbour within the width moves it more than its own error says.
constexpr double kPlaceFloor = 0.05;
constexpr double kPlausibilityPerKind = 1;
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
    return std::is_sorted(peaks.begin(), peaks.end(),
                          [](const PeakResult& a, const PeakResult& b) { return a.Centre < b.Centre; });
}

}  // namespace

ElementRangesParse ReadCompositionSettings(const CompositionSettings& settings) {
    ElementRangesParse read = ParseElementRanges(settings.ranges);
    if (read.ok() && !(std::isfinite(settings.tolerancePpm) && settings.tolerancePpm > 0)) {
        read.ranges.clear();
        read.message = "Допуск должен быть положительным числом ppm";
    }
    return read;
}

bool SearchablePeak(const PeakResult& p) { return !IsProblemPeak(p) && std::isfinite(p.Centre) && p.Centre > 0; }

double HeaviestPeak(const PeakResults& peaks) {
    double heaviest = 0;
    for (const PeakResult& p : peaks)
        if (!IsProblemPeak(p) && std::isfinite(p.Centre)) heaviest = std::max(heaviest, p.Centre);
    return heaviest;
}

std::string NoCandidateMessage(double mass, int charge, double windowMmu) {
    return "Нет формулы в пределах ±" + FormatFixed(windowMmu, 2) + " mmu от массы " + FormatFixed(mass, 6) +
           " при заряде " + std::to_string(charge) + "+ в заданных диапазонах элементов";
}

int ChargeOfPeak(const PeakResults& peaks, std::size_t index, double tolerancePpm) {
    const PeakResult& p = peaks[index];
    if (IsProblemPeak(p) || !SortedByCentre(peaks)) return 1;
    const Element& carbon = ElementOf(kC);
    const double place = p.Centre + (carbon.isotopes[1].mass - carbon.mass()) / 2;  // its 13C step at charge 2
    // Overlapping at a low resolving power, the two fitted centres pull towards each other.
    const double tol = std::max({0.005, 0.1 * FwhmOf(p), 5 * SigmaOf(p, tolerancePpm)});
    const long j = NearestPeak(peaks, index, place, tol);
    if (j < 0) return 1;
    const double a0 = Amplitude(p), a1 = Amplitude(peaks[static_cast<std::size_t>(j)]);
    return a0 > 0 && a1 >= 0.01 * a0 && a1 <= 1.5 * a0 ? 2 : 1;
}

namespace {

// One kind of isotopologue at M+1 or M+2: one heavier isotope of element e (kind Single), two
// of it (Same), or one each of e and f (Cross). Their mass steps are constants, so the kinds
// are sorted by mass once.
struct IsotopeKind {
    enum Type { Single, Same, Cross } type;
    int shift;
    double delta;
    int e, f;
    double r, rf;  // abundance over the lightest isotope's
};

const std::vector<IsotopeKind>& IsotopeKinds() {
    static const std::vector<IsotopeKind> kinds = [] {
        struct Step {
            int e;
            int shift;
            double delta, r;
        };
        std::vector<Step> steps;
        for (int e = 0; e < kElementCount; ++e) {
            const Element& el = ElementOf(e);
            for (int k = 1; k < el.isotopeCount; ++k) {
                const Isotope& iso = el.isotopes[static_cast<std::size_t>(k)];
                if (iso.shift <= 2)
                    steps.push_back({e, iso.shift, iso.mass - el.mass(), iso.abundance / el.isotopes[0].abundance});
            }
        }
        std::vector<IsotopeKind> out;
        for (std::size_t a = 0; a < steps.size(); ++a) {
            out.push_back({IsotopeKind::Single, steps[a].shift, steps[a].delta, steps[a].e, steps[a].e, steps[a].r, 0});
            if (steps[a].shift != 1) continue;
            out.push_back({IsotopeKind::Same, 2, 2 * steps[a].delta, steps[a].e, steps[a].e, steps[a].r, 0});
            for (std::size_t b = a + 1; b < steps.size(); ++b)
                if (steps[b].shift == 1 && steps[b].e != steps[a].e)
                    out.push_back({IsotopeKind::Cross, 2, steps[a].delta + steps[b].delta, steps[a].e, steps[b].e,
                                   steps[a].r, steps[b].r});
        }
        std::sort(out.begin(), out.end(), [](const IsotopeKind& x, const IsotopeKind& y) {
            return x.shift != y.shift ? x.shift < y.shift : x.delta < y.delta;
        });
        return out;
    }();
    return kinds;
}

struct IsotopePeaks {
    std::array<IsotopePeak, 40> peak;
    std::size_t count = 0;
};

// The widest spread of the isotopologues of one step: at least this wide a peak merges them
// all, and the sums are written out directly.
constexpr double kSpreadM1 = 0.0093, kSpreadM2 = 0.0186;

void MergedIsotopePeaks(const Formula& f, double fwhm, IsotopePeaks& out) {
    out.count = 0;
    const double z = f.charge;
    if (fwhm * z >= kSpreadM2) {
        // M+1: one step in one element; M+2: a two-step isotope, two steps in one element,
        // or one step each in two.
        static const std::vector<IsotopeKind> singles = [] {
            std::vector<IsotopeKind> v;
            for (const IsotopeKind& k : IsotopeKinds())
                if (k.type == IsotopeKind::Single) v.push_back(k);
            return v;
        }();
        double s1 = 0, w1 = 0, sq = 0, sqDelta = 0, same = 0, sameW = 0, s2 = 0, w2 = 0;
        for (const IsotopeKind& k : singles) {
            const int n = f.count(k.e);
            if (n == 0) continue;
            const double ratio = n * k.r;
            if (k.shift == 1) {
                s1 += ratio;
                w1 += ratio * k.delta;
                sq += ratio * ratio;
                sqDelta += ratio * ratio * k.delta;
                const double pair = n * (n - 1) / 2.0 * k.r * k.r;
                same += pair;
                sameW += pair * 2 * k.delta;
            } else {
                s2 += ratio;
                w2 += ratio * k.delta;
            }
        }
        // Pairs over two different elements: sum over a<b of r_a r_b, and of r_a r_b (d_a + d_b).
        const double cross = (s1 * s1 - sq) / 2, crossW = s1 * w1 - sqDelta;
        if (s1 > 0) out.peak[out.count++] = {1, w1 / s1 / z, s1};
        const double total2 = s2 + same + cross;
        if (total2 > 0) out.peak[out.count++] = {2, (w2 + sameW + crossW) / total2 / z, total2};
        return;
    }
    int shift = 0;
    double sum = 0, weighted = 0, last = 0;
    auto close = [&] {
        if (sum > 0) out.peak[out.count++] = {shift, weighted / sum / z, sum};
        sum = weighted = 0;
    };
    for (const IsotopeKind& k : IsotopeKinds()) {
        const double n = f.count(k.e);
        double ratio = 0;
        switch (k.type) {
            case IsotopeKind::Single: ratio = n * k.r; break;
            case IsotopeKind::Same: ratio = n * (n - 1) / 2 * k.r * k.r; break;
            case IsotopeKind::Cross: ratio = n * k.r * f.count(k.f) * k.rf; break;
        }
        if (ratio <= 0) continue;
        // Neighbours of one shift closer than the width are one peak.
        if (k.shift != shift || (k.delta - last) / z >= fwhm) {
            close();
            shift = k.shift;
        }
        sum += ratio;
        weighted += ratio * k.delta;
        last = k.delta;
    }
    close();
}

// The heights at the apexes of a pattern's peaks, Gaussians of width `fwhm`, with the flanks of
// the others: `apex(k)` over `mono`, the monoisotopic peak's, is the ratio a fitted apex shows.
struct PatternApexes {
    PatternApexes(const IsotopePeaks& peaks, double fwhm) : peaks_(peaks), c_(4 * std::log(2.0) / (fwhm * fwhm)) {
        for (std::size_t i = 0; i < peaks.count; ++i) mono += peaks.peak[i].ratio * Flank(peaks.peak[i].offset);
    }
    double Ratio(std::size_t k) const {
        const double at = peaks_.peak[k].offset;
        double apex = peaks_.peak[k].ratio + Flank(at);
        for (std::size_t i = 0; i < peaks_.count; ++i)
            if (i != k) apex += peaks_.peak[i].ratio * Flank(peaks_.peak[i].offset - at);
        return apex / mono;
    }
    double mono = 1;

private:
    double Flank(double d) const { return std::exp(-c_ * d * d); }
    const IsotopePeaks& peaks_;
    double c_;
};

}  // namespace

std::vector<IsotopePeak> ExpectedIsotopePeaks(const Formula& f, double fwhm) {
    IsotopePeaks peaks;
    MergedIsotopePeaks(f, fwhm, peaks);
    return {peaks.peak.begin(), peaks.peak.begin() + static_cast<std::ptrdiff_t>(peaks.count)};
}

double PlausibilityTerm(const Formula& f) {
    // Ions of one or two kinds of heteroatom are common, of four or five rare: each kind beyond
    // the first costs a little.
    int kinds = 0;
    for (int e = 0; e < kElementCount; ++e)
        if (e != kC && e != kH && f.count(e) > 0) ++kinds;
    return -kPlausibilityPerKind * std::max(0, kinds - 1);
}

CompositionFinder::CompositionFinder(const std::vector<ElementRange>& ranges, const CompositionSettings& settings,
                                     double maxIonMass)
    : CompositionFinder(SearchTable(ranges, settings.maxRdbe, maxIonMass), settings) {}

CompositionFinder::CompositionFinder(std::shared_ptr<const FormulaSearch> search, const CompositionSettings& settings)
    : settings_(settings), search_(std::move(search)) {}

std::shared_ptr<const FormulaSearch> CompositionFinder::SearchTable(const std::vector<ElementRange>& ranges,
                                                                    double maxRdbe, double maxIonMass) {
    return std::make_shared<const FormulaSearch>(ranges, maxRdbe, 2 * (std::max(0.0, maxIonMass) * (1 + 1e-4) + 0.1));
}

PeakComposition CompositionFinder::ForPeak(const PeakResults& peaks, std::size_t index, uint64_t* examined) const {
    const PeakResult& p = peaks[index];
    PeakComposition result;
    result.peak = index;
    result.charge = settings_.charge == 1 || settings_.charge == 2 ? settings_.charge
                                                                   : ChargeOfPeak(peaks, index, settings_.tolerancePpm);
    result.sigma = SigmaOf(p, settings_.tolerancePpm);
    std::vector<Formula> formulas;
    std::vector<double> masses;
    const double window = kCandidateWindowSigmas * result.sigma;
    const double fwhm = FwhmOf(p);
    const double z = result.charge;
    const double s = fwhm / 2.35482;
    // The pull of a neighbour at distance d per unit of height ratio, before its fraction.
    auto overlapPull = [&](double d) { return d * std::exp(-d * d / (4 * s * s)); };
    auto pull = [&](double d) { return kPullFraction * overlapPull(d); };
    // At a low resolving power its own isotope peaks pull the peak up by up to `reach` (M+1 of
    // at most 0.0016 per u of the ion, M+2 of at most three times the monoisotopic peak).
    const bool overlap = pull(1 / z) > 1e-4 * (1 / z);
    const double reach = overlap ? 0.0016 * p.Centre * z * pull(1 / z) + 3 * pull(2 / z) : 0;
    search_->Find(p.Centre - window - reach, p.Centre + window, result.charge, formulas, examined, &masses);
    result.found = formulas.size();
    if (formulas.empty()) {
        result.message = NoCandidateMessage(p.Centre, result.charge, window * 1000);
        return result;
    }
    const double a0 = Amplitude(p);
    const bool isotopes = SortedByCentre(peaks) && Usable(a0);
    const double sa0 = Usable(p.Errors[1]) ? p.Errors[1] : 0;
    IsotopePeaks expectedPeaks;
    // The fitted peaks where its isotope peaks may stand.
    PeakResults near;
    if (isotopes) {
        const double from = p.Centre + 0.9 / z - fwhm, to = p.Centre + 2.1 / z + fwhm;
        for (auto it = std::lower_bound(peaks.begin(), peaks.end(), from,
                                        [](const PeakResult&q, double m) { return q.Centre < m; });
             it != peaks.end() && it->Centre <= to; ++it)
            if (static_cast<std::size_t>(it - peaks.begin()) != index) near.push_back(*it);
    }
    // The deviation in sigma after the pull of its own isotope peaks, and the isotope chi^2.
    struct Terms {
        double deltaSigma, chi2;
    };
    auto evaluate = [&](const Formula& formula, double ionMass) {
        double chi2 = 0, shift = 0;
        if (isotopes || overlap) MergedIsotopePeaks(formula, fwhm, expectedPeaks);
        if (overlap)
            for (std::size_t k = 0; k < expectedPeaks.count; ++k)
                shift += expectedPeaks.peak[k].ratio * pull(expectedPeaks.peak[k].offset);
        const double sigma = std::hypot(result.sigma, kPullError * shift);
        const double deltaSigma = (p.Centre - shift - ionMass) / sigma;
        if (isotopes) {
            const PatternApexes apexes(expectedPeaks, fwhm);
            for (std::size_t k = 0; k < expectedPeaks.count; ++k) {
                const IsotopePeak& iso = expectedPeaks.peak[k];
                // The isotope peak is pulled towards its neighbours in turn, by no more than a
                // quarter of their spacing.
                double back = 0;
                if (overlap) {
                    back = overlapPull(iso.offset);
                    for (std::size_t i = 0; i < expectedPeaks.count; ++i)
                        if (i != k)
                            back +=
                                expectedPeaks.peak[i].ratio * overlapPull(iso.offset - expectedPeaks.peak[i].offset);
                    back = std::clamp(kSidePullFraction * back / iso.ratio, -0.25 / z, 0.25 / z);
                }
                const double place = p.Centre - shift + iso.offset - back;
                const long j = NearestPeak(near, near.size(), place, fwhm / 2);
                const double expected = a0 * iso.ratio;
                if (j < 0) {
                    // Missing, unless a higher peak close by may hide it in its flank.
                    const long hiding = NearestPeak(near, near.size(), place, 1.5 * fwhm);
                    const bool hidden = hiding >= 0 && Amplitude(near[static_cast<std::size_t>(hiding)]) >= expected;
                    if (!hidden && settings_.thresholdHeight > 0 &&
                        p.Background + expected > kAbsentFactor * settings_.thresholdHeight)
                        chi2 += std::min(kTermCap, Sq(expected / std::max(settings_.thresholdHeight, 0.15 * expected)));
                    continue;
                }
                const PeakResult& q = near[static_cast<std::size_t>(j)];
                // Heights at the apexes over the monoisotopic peak's baseline: at a low resolving
                // power a fit standing on its neighbours' flanks gives part of its amplitude to
                // the background, its apex does not.
                const double observed = (q.Height - p.Background) / a0;
                const double ratio = apexes.Ratio(k);
                const double sq = Usable(q.Errors[1]) ? q.Errors[1] : 0;
                const double sigmaRatio = std::sqrt(Sq(sq / a0) + Sq(observed * sa0 / a0) +
                                                    Sq(kRatioFloor * iso.ratio) + Sq(kRatioAbsoluteFloor));
                double termRatio = Sq((observed - ratio) / sigmaRatio);
                if (observed > ratio) termRatio = std::min(kExcessCap, termRatio * kExcessWeight);
                chi2 += std::min(kTermCap, termRatio);
                // Its place, when it is an isotope peak of some weight. Another ion under it, of
                // the excess height, moves the centre by up to its share of half a width.
                if (iso.ratio >= 0.02 && observed < 3 * iso.ratio + 0.05) {
                    const double blend = observed > ratio ? (observed - ratio) / observed * fwhm / 2 : 0;
                    const double sigmaPlace =
                        std::hypot(std::hypot(SigmaOf(q, settings_.tolerancePpm), sigma, kSidePullError * back), blend,
                                   kPlaceFloor * fwhm);
                    chi2 += std::min(kTermCap, Sq((q.Centre - place) / sigmaPlace) * 0.5);
                }
            }
        }
        return Terms{deltaSigma, chi2};
    };
    struct Scored {
        uint32_t i;
        double score, isotope, plausibility, deltaSigma;
    };
    std::vector<double> zs(formulas.size());
    auto better = [&](const Scored& a, const Scored& b) {
        if (a.score != b.score) return a.score > b.score;
        return std::abs(zs[a.i]) < std::abs(zs[b.i]);
    };
    // The isotope and plausibility terms are never positive, so a candidate whose mass term
    // alone is below the last of the kept ones cannot be kept: the candidates are scored in
    // shells of |delta/sigma|, nearest first, until that bound is passed.
    constexpr int kShells = 64;
    std::vector<uint32_t> shellStart(kShells + 1, 0), order(formulas.size());
    std::vector<uint8_t> shellOf(formulas.size());
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        zs[i] = (p.Centre - masses[i]) / result.sigma;
        shellOf[i] = static_cast<uint8_t>(
            std::min(kShells - 1, static_cast<int>(std::abs(zs[i]) / kCandidateWindowSigmas * kShells)));
        ++shellStart[shellOf[i] + 1u];
    }
    for (int k = 0; k < kShells; ++k) shellStart[k + 1] += shellStart[k];
    {
        std::vector<uint32_t> at(shellStart.begin(), shellStart.end() - 1);
        for (std::size_t i = 0; i < formulas.size(); ++i) order[at[shellOf[i]]++] = static_cast<uint32_t>(i);
    }
    const std::size_t keep = settings_.reported > 0 ? static_cast<std::size_t>(settings_.reported) : formulas.size();
    std::vector<Scored> kept;  // a heap whose top is the worst kept candidate
    kept.reserve(keep + 1);
    // With the pull of overlapping isotope peaks the mass term is no longer known in advance.
    const bool bounded = !overlap;
    for (int shell = 0; shell < kShells; ++shell) {
        const double nearest = shell * kCandidateWindowSigmas / kShells;
        if (bounded && kept.size() == keep && -Sq(nearest) / 2 < kept.front().score) break;
        for (uint32_t k = shellStart[shell]; k < shellStart[shell + 1]; ++k) {
            const uint32_t i = order[k];
            const double plausibility = PlausibilityTerm(formulas[i]);
            if (bounded && kept.size() == keep && -Sq(zs[i]) / 2 + plausibility < kept.front().score) continue;
            const Terms terms = evaluate(formulas[i], masses[i]);
            Scored c{i, 0, -terms.chi2 / 2, plausibility, terms.deltaSigma};
            c.score = -Sq(c.deltaSigma) / 2 + c.isotope + c.plausibility;
            if (kept.size() < keep) {
                kept.push_back(c);
                std::push_heap(kept.begin(), kept.end(), better);
            } else if (better(c, kept.front())) {
                std::pop_heap(kept.begin(), kept.end(), better);
                kept.back() = c;
                std::push_heap(kept.begin(), kept.end(), better);
            }
        }
    }
    std::sort(kept.begin(), kept.end(), better);
    for (const Scored& k : kept) {
        Candidate c;
        c.formula = formulas[k.i];
        c.ionMass = masses[k.i];
        const double delta = p.Centre - c.ionMass;
        c.deltaMmu = delta * 1000;
        c.deltaPpm = delta / c.ionMass * 1e6;
        c.deltaSigma = k.deltaSigma;
        c.rdbe = Rdbe(c.formula);
        c.isotopeScore = k.isotope;
        c.plausibility = k.plausibility;
        c.score = k.score;
        result.candidates.push_back(std::move(c));
    }
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
    double lowest = 0;
    bool any = false;
    for (const PeakResult& p : peaks) {
        if (IsProblemPeak(p) || !std::isfinite(p.Centre)) continue;
        lowest = any ? std::min(lowest, p.Height) : p.Height;
        any = true;
    }
    if (!(s.thresholdHeight > 0)) s.thresholdHeight = any && lowest > 0 ? lowest : 0;
    const CompositionFinder finder(ranges.ranges, s, HeaviestPeak(peaks));
    for (std::size_t i = 0; i < peaks.size(); ++i)
        if (SearchablePeak(peaks[i])) run.peaks.push_back(finder.ForPeak(peaks, i, &run.examined));
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

std::array<std::string, kCandidateTextCount> CandidateTexts(const Candidate& c) {
    return {HillText(c.formula),          FormatFixed(c.deltaMmu, 3), FormatFixed(c.deltaPpm, 2),
            FormatFixed(c.deltaSigma, 2), FormatFixed(c.rdbe, 1),     FormatFixed(c.isotopeScore, 2),
            FormatFixed(c.score, 2)};
}

std::vector<std::string> FormulaTableLines(const PeakResults& peaks, const std::vector<PeakComposition>& found) {
    std::vector<std::string> lines{
        "line\tmass\trank\tformula\tion_mass\tdelta_mmu\tdelta_ppm\tdelta_sigma\trdbe\tisotope_score\tscore"};
    for (const PeakComposition& pc : found) {
        const std::string head = std::to_string(pc.peak + 1) + '\t' + FormatFixed(peaks[pc.peak].Centre, 6) + '\t';
        if (pc.candidates.empty()) {
            lines.push_back(head + "\t\t\t\t\t\t\t\t");
            continue;
        }
        int rank = 1;
        for (const Candidate& c : pc.candidates) {
            const auto texts = CandidateTexts(c);
            std::string line = head + std::to_string(rank++) + '\t' + texts[0] + '\t' + FormatFixed(c.ionMass, 6);
            for (std::size_t k = 1; k < texts.size(); ++k) line += '\t' + texts[k];
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

}  // namespace orvelo
