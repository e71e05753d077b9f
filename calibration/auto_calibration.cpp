#include "calibration/auto_calibration.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <utility>

#include "core/number_text.h"

namespace orvelo {

bool ToleranceAccepted(double mmu) { return std::isfinite(mmu) && mmu > 0 && mmu < kMaxToleranceMmu; }

std::string ToleranceRule() {
    return "допуск должен быть числом mmu больше 0 и меньше " + FormatGeneral(kMaxToleranceMmu) +
           " (половины расстояния между номинальными массами опорных ионов)";
}

namespace {

constexpr double kMadToSigma = 1.4826;  // median |r| of a normal distribution times this is sigma
constexpr double kMaxShrink = 4;        // a window closes by at most this factor per round

struct Pair {
    int ref = 0;
    int peak = 0;
    bool operator==(const Pair&) const = default;
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double upper = v[mid];
    if (v.size() % 2 == 1) return upper;
    return (*std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid)) + upper) / 2;
}

bool Usable(const PeakResult& p) {
    return !IsProblemPeak(p) && std::isfinite(p.Centre) && std::isfinite(p.Height) && p.Height > 0;
}

// The fitted peaks a matcher may use, and their masses as the current curve corrects them.
class PeakIndex {
public:
    PeakIndex(const PeakResults& peaks, double minHeight) : peaks_(peaks) {
        for (int i = 0; i < static_cast<int>(peaks.size()); ++i)
            if (Usable(peaks[i]) && peaks[i].Height >= minHeight) order_.push_back(i);
    }

    void Correct(const CalibrationCurve& curve) {
        corrected_.resize(peaks_.size());
        for (int i : order_) corrected_[i] = curve.Corrected(peaks_[i].Centre);
        std::sort(order_.begin(), order_.end(), [&](int a, int b) { return corrected_[a] < corrected_[b]; });
    }

    // The peaks whose corrected mass lies within windowMmu of `mass`.
    std::vector<int> Near(double mass, double windowMmu) const {
        const double lo = mass - windowMmu / 1000, hi = mass + windowMmu / 1000;
        auto first =
            std::lower_bound(order_.begin(), order_.end(), lo, [&](int p, double m) { return corrected_[p] < m; });
        std::vector<int> near;
        for (auto it = first; it != order_.end() && corrected_[*it] <= hi; ++it) near.push_back(*it);
        return near;
    }

private:
    const PeakResults& peaks_;
    std::vector<int> order_;
    std::vector<double> corrected_;
};

double MedianUsableHeight(const PeakResults& peaks) {
    std::vector<double> heights;
    for (const PeakResult& p : peaks)
        if (Usable(p)) heights.push_back(p.Height);
    return Median(std::move(heights));
}

double ResidualMmu(const std::vector<ReferenceIon>& refs, const PeakResults& peaks, const Pair& pair,
                   const CalibrationCurve& curve) {
    const double centre = peaks[pair.peak].Centre;
    return (refs[pair.ref].mass - centre) * 1000 - curve.DeviationMmu(centre);
}

// One reference's candidates resolved: the dominant peak, or none with the reason.
std::pair<int, LeftOut> Choose(const std::vector<int>& near, const PeakResults& peaks) {
    if (near.empty()) return {-1, LeftOut::NoPeak};
    if (near.size() == 1) return {near[0], LeftOut::None};
    std::vector<int> byHeight = near;
    std::sort(byHeight.begin(), byHeight.end(), [&](int a, int b) { return peaks[a].Height > peaks[b].Height; });
    if (peaks[byHeight[0]].Height >= kDominance * peaks[byHeight[1]].Height) return {byHeight[0], LeftOut::None};
    return {-1, LeftOut::TwoPeaks};
}

// The peaks within the window of the corrected masses whose measured mass also lies within the
// tolerance of the reference: however the curve bends, no pair is ever further off than that.
std::vector<int> Candidates(const PeakIndex& index, const PeakResults& peaks, double mass, double windowMmu,
                            double toleranceMmu) {
    std::vector<int> near = index.Near(mass, windowMmu);
    std::erase_if(near, [&](int p) { return std::fabs(mass - peaks[p].Centre) * 1000 > toleranceMmu; });
    return near;
}

// Every reference against the peaks of `index` within the window; a peak chosen by two
// references is given to neither.
std::vector<ReferenceMatch> MatchAll(const std::vector<ReferenceIon>& refs, const PeakResults& peaks,
                                     const PeakIndex& index, double windowMmu, double toleranceMmu) {
    std::vector<ReferenceMatch> matches(refs.size());
    std::vector<int> claims(peaks.size(), 0);
    for (std::size_t r = 0; r < refs.size(); ++r) {
        const auto [peak, reason] = Choose(Candidates(index, peaks, refs[r].mass, windowMmu, toleranceMmu), peaks);
        matches[r] = ReferenceMatch{refs[r], peak, reason};
        if (peak >= 0) ++claims[peak];
    }
    for (ReferenceMatch& m : matches)
        if (m.kept() && claims[m.peak] > 1) m.reason = LeftOut::SharedPeak;
    return matches;
}

std::vector<Pair> KeptPairs(const std::vector<ReferenceMatch>& matches) {
    std::vector<Pair> pairs;
    for (std::size_t r = 0; r < matches.size(); ++r)
        if (matches[r].kept()) pairs.push_back(Pair{static_cast<int>(r), matches[r].peak});
    return pairs;
}

// The calibration points of the pairs, as the page holds them: x the measured mass, y true -
// measured in mmu.
PointList PointsOf(const std::vector<ReferenceIon>& refs, const PeakResults& peaks, const std::vector<Pair>& pairs) {
    PointList p;
    for (const Pair& pair : pairs)
        p.push(peaks[pair.peak].Centre, (refs[pair.ref].mass - peaks[pair.peak].Centre) * 1000);
    return p;
}

// Pairs found by chance scatter over the whole tolerance; those of a calibration lie close to
// their curve.
std::string ScatteredMessage(double sigmaMmu, double toleranceMmu) {
    return "Автоматическая калибровка не удалась: найденные пары не ложатся на одну кривую (разброс " +
           FormatFixed(sigmaMmu, 1) + " mmu при допуске " + FormatGeneral(toleranceMmu) + " mmu)";
}

int Needed(CurveKind kind) { return kind == CurveKind::Line ? 2 : 3; }

// Pairs found by chance fit a curve of as many coefficients exactly; a calibration needs two
// pairs more than that to show that its pairs lie on one curve.
int MinimumPairs(CurveKind kind) { return Needed(kind) + 2; }

int DistinctCount(std::vector<double> x) {
    std::sort(x.begin(), x.end());
    return static_cast<int>(std::unique(x.begin(), x.end()) - x.begin());
}

// Median of the pairwise slopes, then the median intercept. Beyond kTheilSenPoints points the
// slopes are taken between every step-th point only (their count grows with the square).
constexpr std::size_t kTheilSenPoints = 1500;

CalibrationCurve TheilSenLine(const PointList& p) {
    const std::size_t step = p.x.size() / kTheilSenPoints + 1;
    std::vector<double> slopes;
    for (std::size_t i = 0; i < p.x.size(); i += step)
        for (std::size_t j = i + step; j < p.x.size(); j += step)
            if (p.x[i] != p.x[j]) slopes.push_back((p.y[j] - p.y[i]) / (p.x[j] - p.x[i]));
    CalibrationCurve line;
    line.CalibB = Median(std::move(slopes));
    std::vector<double> intercepts;
    for (std::size_t i = 0; i < p.x.size(); ++i) intercepts.push_back(p.y[i] - line.CalibB * p.x[i]);
    line.CalibC = Median(std::move(intercepts));
    return line;
}

// REQUIRES: two different masses.
CalibrationCurve LeastSquaresLine(const PointList& p) {
    const double n = static_cast<double>(p.x.size());
    const double mx = std::accumulate(p.x.begin(), p.x.end(), 0.0) / n;
    const double my = std::accumulate(p.y.begin(), p.y.end(), 0.0) / n;
    double sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < p.x.size(); ++i) {
        sxy += (p.x[i] - mx) * (p.y[i] - my);
        sxx += (p.x[i] - mx) * (p.x[i] - mx);
    }
    CalibrationCurve line;
    line.CalibB = sxy / sxx;
    line.CalibC = my - line.CalibB * mx;
    return line;
}

// The parabola of the calibration page (FitParabola), started from the least-squares line;
// the line when the points cannot carry a parabola.
CalibrationCurve FitCurve(const PointList& p, CurveKind kind) {
    const CalibrationCurve line = LeastSquaresLine(p);
    if (kind == CurveKind::Line || DistinctCount(p.x) < 3) return line;
    const ParabolaFitSummary fit = FitParabola(ParabolaFitDataOf(p), 0, line.CalibB, line.CalibC);
    return fit.stop == ParabolaStop::Converged ? fit.curve : line;
}

double RobustSigma(const std::vector<double>& residuals) {
    std::vector<double> magnitudes;
    for (double r : residuals) magnitudes.push_back(std::fabs(r));
    return kMadToSigma * Median(std::move(magnitudes));
}

std::vector<double> Residuals(const std::vector<ReferenceIon>& refs, const PeakResults& peaks,
                              const std::vector<Pair>& pairs, const CalibrationCurve& curve) {
    std::vector<double> r;
    for (const Pair& pair : pairs) r.push_back(ResidualMmu(refs, peaks, pair, curve));
    return r;
}

double BoundOf(const std::vector<double>& residuals) {
    return std::max(kMinWindowMmu, kWindowSigmas * RobustSigma(residuals));
}

// Drops outliers one at a time, the largest residual first: a pair is an outlier when the curve
// fitted without it leaves it beyond the bound of the others' residuals (so that it cannot widen
// the bound it is measured by), and the others still hold one mass more than the curve needs.
// Returns the curve of the pairs that remain.
CalibrationCurve DropOutliers(const std::vector<ReferenceIon>& refs, const PeakResults& peaks, CurveKind kind,
                              std::vector<ReferenceMatch>& matches) {
    std::vector<Pair> pairs = KeptPairs(matches);
    CalibrationCurve curve = FitCurve(PointsOf(refs, peaks, pairs), kind);
    while (true) {
        std::size_t worst = 0;
        for (std::size_t i = 1; i < pairs.size(); ++i)
            if (std::fabs(ResidualMmu(refs, peaks, pairs[i], curve)) >
                std::fabs(ResidualMmu(refs, peaks, pairs[worst], curve)))
                worst = i;
        std::vector<Pair> others = pairs;
        others.erase(others.begin() + static_cast<std::ptrdiff_t>(worst));
        const PointList otherPoints = PointsOf(refs, peaks, others);
        if (DistinctCount(otherPoints.x) < Needed(kind) + 1) break;
        const CalibrationCurve without = FitCurve(otherPoints, kind);
        if (std::fabs(ResidualMmu(refs, peaks, pairs[worst], without)) <=
            BoundOf(Residuals(refs, peaks, others, without)))
            break;
        matches[pairs[worst].ref].reason = LeftOut::Outlier;
        pairs = std::move(others);
        curve = without;
    }
    return curve;
}

// A reference left without a peak whose nearest free peak lies within the tolerance but off the
// curve is an outlier of that peak: the table then shows how far off it is.
void MarkPeaksOffTheCurve(const std::vector<ReferenceIon>& refs, const PeakResults& peaks, PeakIndex& index,
                          const CalibrationCurve& curve, double toleranceMmu, std::vector<ReferenceMatch>& matches) {
    index.Correct(curve);
    std::vector<bool> taken(peaks.size(), false);
    for (const ReferenceMatch& m : matches)
        if (m.peak >= 0) taken[m.peak] = true;
    for (std::size_t r = 0; r < refs.size(); ++r) {
        if (matches[r].reason != LeftOut::NoPeak) continue;
        int nearest = -1;
        for (int p : Candidates(index, peaks, refs[r].mass, toleranceMmu, toleranceMmu))
            if (!taken[p] && (nearest < 0 || std::fabs(ResidualMmu(refs, peaks, Pair{int(r), p}, curve)) <
                                                 std::fabs(ResidualMmu(refs, peaks, Pair{int(r), nearest}, curve))))
                nearest = p;
        if (nearest >= 0) matches[r] = ReferenceMatch{refs[r], nearest, LeftOut::Outlier};
    }
}

std::string TooFewMessage(int pairs, CurveKind kind, double toleranceMmu) {
    if (pairs == 0)
        return "Автоматическая калибровка не удалась: ни один опорный ион не найден среди пиков в пределах " +
               FormatGeneral(toleranceMmu) + " mmu";
    return "Автоматическая калибровка не удалась: найдено пар " + std::to_string(pairs) + ", а для " +
           (kind == CurveKind::Line ? "линии нужны хотя бы четыре" : "параболы нужны хотя бы пять") +
           " с разными массами";
}

// The masses of the usable peaks, lowest and highest.
std::pair<double, double> UsableRange(const PeakResults& peaks) {
    double lo = INFINITY, hi = -INFINITY;
    for (const PeakResult& p : peaks)
        if (Usable(p)) {
            lo = std::min(lo, p.Centre);
            hi = std::max(hi, p.Centre);
        }
    return {lo, hi};
}

// Why the kept pairs cannot make a calibration; nothing when they can.
std::optional<std::string> Refusal(const std::vector<ReferenceIon>& refs, const PeakResults& peaks,
                                   const std::vector<Pair>& kept, const CalibrationCurve& curve,
                                   const AutoCalibrationSettings& settings) {
    const PointList points = PointsOf(refs, peaks, kept);
    if (DistinctCount(points.x) < MinimumPairs(settings.kind))
        return TooFewMessage(static_cast<int>(kept.size()), settings.kind, settings.toleranceMmu);
    const auto [lo, hi] = UsableRange(peaks);
    const auto [first, last] = std::minmax_element(points.x.begin(), points.x.end());
    if ((*last - *first) < kMinimumPairSpan * (hi - lo))
        return "Автоматическая калибровка не удалась: найденные пары (" + std::to_string(kept.size()) +
               ") лежат в узкой части спектра, от " + FormatFixed(*first, 2) + " до " + FormatFixed(*last, 2) +
               " при пиках от " + FormatFixed(lo, 2) + " до " + FormatFixed(hi, 2) +
               ": кривая за их пределами ничем не проверена";
    const double sigma = RobustSigma(Residuals(refs, peaks, kept, curve));
    if (kWindowSigmas * sigma > settings.toleranceMmu) return ScatteredMessage(sigma, settings.toleranceMmu);
    return std::nullopt;
}

// Round 0: unambiguous pairs of strong peaks (of all peaks when the strong ones give fewer
// than two masses) within the tolerance, and the Theil-Sen line through them.
bool FirstLine(const std::vector<ReferenceIon>& refs, const PeakResults& peaks, double toleranceMmu,
               CalibrationCurve& line, double& windowMmu, int& found) {
    for (double minHeight : {MedianUsableHeight(peaks), 0.0}) {
        PeakIndex index(peaks, minHeight);
        index.Correct(CalibrationCurve{});
        std::vector<ReferenceMatch> matches = MatchAll(refs, peaks, index, toleranceMmu, toleranceMmu);
        for (std::size_t r = 0; r < refs.size(); ++r)
            if (index.Near(refs[r].mass, toleranceMmu).size() > 1) matches[r].reason = LeftOut::TwoPeaks;
        const std::vector<Pair> pairs = KeptPairs(matches);
        found = std::max(found, static_cast<int>(pairs.size()));
        const PointList p = PointsOf(refs, peaks, pairs);
        if (DistinctCount(p.x) < 2) continue;
        line = TheilSenLine(p);
        windowMmu = std::max(BoundOf(Residuals(refs, peaks, pairs, line)), toleranceMmu / kMaxShrink);
        return true;
    }
    return false;
}

}  // namespace

std::vector<ReferenceIon> ReferenceIons(const ReferenceTables& tables, const ReferenceChoice& choice) {
    std::vector<ReferenceIon> ions;
    auto add = [&](const IonRow& row, const char* element) {
        ions.push_back(
            ReferenceIon{"C " + FormatGeneral(row.nC) + " " + element + " " + FormatGeneral(row.nX), row.Mass});
    };
    if (choice.ch) {
        if (choice.chFlags.fullList) {
            for (const IonRow& row : tables.CHList)
                if (row.nX >= 0 && row.nX <= 2 * row.nC + 2) add(row, "H");
        } else {
            for (int k = 0; k < kCHKindCount; ++k)
                if (choice.chFlags.kinds[k])
                    for (const IonRow& row : tables.CHKindLists[k]) add(row, "H");
        }
    }
    if (choice.cf)
        for (const IonRow& row : tables.CFList) add(row, "F");
    std::stable_sort(ions.begin(), ions.end(),
                     [](const ReferenceIon& a, const ReferenceIon& b) { return a.mass < b.mass; });
    ions.erase(std::unique(ions.begin(), ions.end(),
                           [](const ReferenceIon& a, const ReferenceIon& b) { return a.mass == b.mass; }),
               ions.end());
    return ions;
}

const char* LeftOutText(LeftOut reason) {
    switch (reason) {
        case LeftOut::None: return "взят";
        case LeftOut::NoPeak: return "нет пика в допуске";
        case LeftOut::TwoPeaks: return "два пика в допуске";
        case LeftOut::SharedPeak: return "пик у двух ионов";
        case LeftOut::Outlier: return "выброс";
    }
    return "";
}

int AutoCalibration::KeptCount() const { return LeftOutCount(LeftOut::None); }

int AutoCalibration::LeftOutCount(LeftOut reason) const {
    return static_cast<int>(std::count_if(references.begin(), references.end(),
                                          [&](const ReferenceMatch& m) { return m.reason == reason; }));
}

AutoCalibration MatchReferences(const PeakResults& peaks, const std::vector<ReferenceIon>& refs,
                                const AutoCalibrationSettings& settings) {
    AutoCalibration result;
    CalibrationCurve curve;
    double window = 0;
    int found = 0;
    if (!FirstLine(refs, peaks, settings.toleranceMmu, curve, window, found)) {
        result.message = TooFewMessage(found, settings.kind, settings.toleranceMmu);
        return result;
    }
    PeakIndex index(peaks, 0);
    std::vector<Pair> previous;
    for (int round = 1; round <= kMaxRounds; ++round) {
        result.rounds = round;
        index.Correct(curve);
        result.references = MatchAll(refs, peaks, index, window, settings.toleranceMmu);
        if (DistinctCount(PointsOf(refs, peaks, KeptPairs(result.references)).x) < 2) break;
        curve = DropOutliers(refs, peaks, settings.kind, result.references);
        std::vector<Pair> pairs = KeptPairs(result.references);
        const double next = std::max(BoundOf(Residuals(refs, peaks, pairs, curve)), window / kMaxShrink);
        const bool closed = next >= window;
        window = next;
        if (pairs == previous && closed) {
            result.stop = MatchStop::Stable;
            break;
        }
        previous = std::move(pairs);
        if (round == kMaxRounds) result.stop = MatchStop::RoundLimit;
    }
    const std::vector<Pair> kept = KeptPairs(result.references);
    if (std::optional<std::string> refusal = Refusal(refs, peaks, kept, curve, settings)) {
        result.stop = MatchStop::NoMatch;
        result.message = std::move(*refusal);
        return result;
    }
    MarkPeaksOffTheCurve(refs, peaks, index, curve, settings.toleranceMmu, result.references);
    result.curve = curve;
    result.windowMmu = window;
    result.rmsBeforeMmu = RootMeanSquare(PointsOf(refs, peaks, kept).y);
    result.rmsAfterMmu = RootMeanSquare(Residuals(refs, peaks, kept, curve));
    return result;
}

std::string AutoCalibrationSummary(const AutoCalibration& result) {
    if (!result.ok()) return result.message;
    std::string text = "Подобрано ионов: " + std::to_string(result.KeptCount()) + " из " +
                       std::to_string(result.references.size()) + ".";
    std::string leftOut;
    for (LeftOut reason : {LeftOut::NoPeak, LeftOut::TwoPeaks, LeftOut::SharedPeak, LeftOut::Outlier}) {
        const int n = result.LeftOutCount(reason);
        if (n == 0) continue;
        leftOut +=
            (leftOut.empty() ? " Не взяты: " : ", ") + std::string(LeftOutText(reason)) + " " + std::to_string(n);
    }
    if (!leftOut.empty()) text += leftOut + ".";
    return text + " СКО: до " + FormatFixed(result.rmsBeforeMmu, 2) + " mmu, после " +
           FormatFixed(result.rmsAfterMmu, 2) + " mmu";
}

ListChange FillCalibrationList(const AutoCalibration& result, const std::vector<std::string>& allMassLines,
                               CalibrationList& list) {
    if (!result.ok()) return ListChange{ListOutcome::InvalidText, result.message};
    CalibrationList filled;
    for (const ReferenceMatch& m : result.references) {
        if (!m.kept()) continue;
        ListChange taken = filled.TakePeak(m.peak, allMassLines);
        if (!taken.changed()) return taken;
        const auto& index = filled.CalibIndex();
        const int line = static_cast<int>(std::find(index.begin(), index.end(), m.peak) - index.begin());
        ListChange attached = filled.AttachTypedMass(line, FormatGeneral(m.ion.mass));
        if (!attached.changed()) return attached;
    }
    list = std::move(filled);
    return {};
}

std::vector<std::string> AutoCalibrationTableLines(const AutoCalibration& result, const PeakResults& peaks,
                                                   const CalibrationCurve& applied, ReferenceMassKind kind) {
    std::vector<std::string> lines;
    lines.push_back(std::string("Ион\t") +
                    (kind == ReferenceMassKind::Ion ? "Истинная масса (ион)" : "Истинная масса (нейтральная)") +
                    "\tСтрока пика\tМ изм\tДо, mmu\tПосле, mmu\tИтог");
    for (const ReferenceMatch& m : result.references) {
        std::string line = m.ion.name + "\t" + FormatGeneral(m.ion.mass) + "\t";
        if (m.peak >= 0) {
            const double centre = peaks[m.peak].Centre;
            const double before = (m.ion.mass - centre) * 1000;
            line += std::to_string(m.peak) + "\t" + FormatFixed(centre, 5) + "\t" + FormatFixed(before, 2) + "\t" +
                    FormatFixed(before - applied.DeviationMmu(centre), 2);
        } else {
            line += "\t\t\t";
        }
        lines.push_back(line + "\t" + LeftOutText(m.reason));
    }
    return lines;
}

}  // namespace orvelo
