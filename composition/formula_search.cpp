#include "composition/formula_search.h"

#include <algorithm>
#include <cmath>

namespace orvelo {

namespace {

constexpr double kBucketsPerU = 128;
constexpr int kCountBits = 10;
constexpr uint64_t kCountMask = (uint64_t{1} << kCountBits) - 1;
constexpr std::size_t kMaxInnerElements = 64 / kCountBits;  // what one packed word holds

}  // namespace

FormulaSearch::FormulaSearch(const std::vector<ElementRange>& ranges, double maxRdbe, double maxNeutralMass)
    : maxTwiceRdbe_(static_cast<int>(std::floor(2 * maxRdbe + 1e-9))), maxNeutralMass_(std::max(0.0, maxNeutralMass)) {
    std::vector<ElementRange> sorted = ranges;
    std::sort(sorted.begin(), sorted.end(), [](const ElementRange& a, const ElementRange& b) {
        return ElementOf(a.element).mass() < ElementOf(b.element).mass();
    });
    // The lightest elements go into the table while it stays small enough.
    std::size_t product = 1, inner = 0;
    while (inner < sorted.size()) {
        const std::size_t values = static_cast<std::size_t>(sorted[inner].max - sorted[inner].min + 1);
        if (inner > 0 && (product * values > kMaxInnerFormulas || inner == kMaxInnerElements)) break;
        product *= values;
        ++inner;
    }
    std::vector<ElementRange> innerRanges(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(inner));
    for (const ElementRange& r : innerRanges) innerElements_.push_back(r.element);
    for (std::size_t k = sorted.size(); k-- > inner;) {
        const Element& e = ElementOf(sorted[k].element);
        outer_.push_back({sorted[k].element, sorted[k].min, sorted[k].max, e.mass(), e.valence - 2});
    }

    // Every combination of the inner elements up to the heaviest mass asked for.
    struct Entry {
        double mass;
        uint64_t counts;
        int32_t rdbe;
    };
    std::vector<Entry> entries;
    // Never beyond what the inner elements can weigh, whatever the masses asked for.
    double innerMax = 0;
    for (const ElementRange& r : innerRanges) innerMax += r.max * ElementOf(r.element).mass();
    const double limit = std::min(maxNeutralMass_, innerMax) + 1;
    // Depth-first over the inner elements; a count whose mass passes the limit ends its run.
    auto fill = [&](auto&& self, std::size_t k, double mass, uint64_t packed, int32_t rdbe) -> void {
        if (k == inner) {
            entries.push_back({mass, packed, rdbe});
            return;
        }
        const Element& e = ElementOf(innerRanges[k].element);
        for (int c = innerRanges[k].min; c <= innerRanges[k].max; ++c) {
            const double m = mass + c * e.mass();
            if (m > limit) break;
            self(self, k + 1, m, packed | (static_cast<uint64_t>(c) << (kCountBits * k)), rdbe + c * (e.valence - 2));
        }
    };
    fill(fill, 0, 0.0, 0, 0);
    // By bucket, and within a bucket by the RDBE part, largest first: a look-up stops at the
    // first entry whose RDBE falls below the lowest allowed.
    auto bucketOf = [](double m) { return static_cast<long>(std::floor(m * kBucketsPerU)); };
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const long ba = bucketOf(a.mass), bb = bucketOf(b.mass);
        if (ba != bb) return ba < bb;
        return a.rdbe > b.rdbe;
    });
    innerMass_.reserve(entries.size());
    for (const Entry& e : entries) {
        innerMass_.push_back(e.mass);
        innerCounts_.push_back(e.counts);
        innerRdbe_.push_back(e.rdbe);
    }
    const std::size_t buckets = static_cast<std::size_t>(std::ceil(limit * kBucketsPerU)) + 2;
    bucketStart_.assign(buckets + 1, 0);
    std::size_t at = 0;
    for (std::size_t b = 0; b <= buckets; ++b) {
        while (at < innerMass_.size() && bucketOf(innerMass_[at]) < static_cast<long>(b)) ++at;
        bucketStart_[b] = static_cast<uint32_t>(at);
    }

    // What the elements from outer_[k] on can still add, the table included.
    const double tableMin = innerMass_.empty() ? 0 : innerMass_.front();
    const double tableMax = innerMass_.empty() ? 0 : innerMass_.back();
    restMin_.assign(outer_.size() + 1, tableMin);
    restMax_.assign(outer_.size() + 1, tableMax);
    for (std::size_t k = outer_.size(); k-- > 0;) {
        restMin_[k] = restMin_[k + 1] + outer_[k].min * outer_[k].mass;
        restMax_[k] = restMax_[k + 1] + outer_[k].max * outer_[k].mass;
    }
}

void FormulaSearch::Find(double lo, double hi, int charge, std::vector<Formula>& out, uint64_t* examined,
                         std::vector<double>* ionMasses) const {
    if (!(lo <= hi) || charge < 1 || innerMass_.empty()) return;
    // The window on the neutral mass: M = z * (m/z) + z * electron.
    const double z = charge;
    const double nlo = z * lo + z * kElectronMassU, nhi = std::min(z * hi + z * kElectronMassU, maxNeutralMass_ + 1);
    if (nhi < nlo) return;
    Formula f;
    f.charge = charge;
    Sink sink{out, ionMasses, 0, 0};
    const std::size_t first = out.size();
    Walk(0, 0.0, 2, f, nlo, nhi, sink);
    if (examined) *examined += sink.examined;
    if (ionMasses)
        for (std::size_t i = first; i < out.size(); ++i) (*ionMasses)[i] = ((*ionMasses)[i] - z * kElectronMassU) / z;
}

void FormulaSearch::Walk(std::size_t level, double partial, int rdbe2, Formula& f, double lo, double hi,
                         Sink& sink) const {
    if (level == outer_.size()) {
        sink.base = partial;
        LookUp(lo - partial, hi - partial, rdbe2, f, sink);
        return;
    }
    const Outer& o = outer_[level];
    // Counts for which the rest can still reach the window: partial + n*m + [restMin, restMax].
    const double needLo = lo - partial - restMax_[level + 1];
    const double needHi = hi - partial - restMin_[level + 1];
    const int first = std::max(o.min, static_cast<int>(std::ceil(needLo / o.mass - 1e-12)));
    const int last = std::min(o.max, static_cast<int>(std::floor(needHi / o.mass + 1e-12)));
    for (int n = first; n <= last; ++n) {
        f.counts[static_cast<std::size_t>(o.element)] = static_cast<int16_t>(n);
        Walk(level + 1, partial + n * o.mass, rdbe2 + n * o.rdbeStep, f, lo, hi, sink);
    }
    f.counts[static_cast<std::size_t>(o.element)] = 0;
}

void FormulaSearch::LookUp(double lo, double hi, int rdbe2, Formula& f, Sink& sink) const {
    if (hi < 0) return;
    const double top = static_cast<double>(bucketStart_.size() - 2);
    const std::size_t b0 = static_cast<std::size_t>(std::clamp(std::floor(lo * kBucketsPerU), 0.0, top));
    const std::size_t b1 = static_cast<std::size_t>(std::clamp(std::floor(hi * kBucketsPerU), 0.0, top)) + 1;
    for (std::size_t b = b0; b < b1; ++b) {
        for (uint32_t i = bucketStart_[b]; i < bucketStart_[b + 1]; ++i) {
            const int r = rdbe2 + innerRdbe_[i];
            if (r < -1) break;  // and so are the rest of the bucket
            ++sink.examined;
            if (r > maxTwiceRdbe_) continue;
            const double m = innerMass_[i];
            if (m < lo || m > hi) continue;
            if (sink.base + m <= 0) continue;  // the empty formula, the only one of mass 0
            Formula g = f;
            for (std::size_t k = 0; k < innerElements_.size(); ++k)
                g.counts[static_cast<std::size_t>(innerElements_[k])] =
                    static_cast<int16_t>((innerCounts_[i] >> (kCountBits * k)) & kCountMask);
            sink.out.push_back(g);
            if (sink.masses) sink.masses->push_back(sink.base + m);
        }
    }
}

}  // namespace orvelo
