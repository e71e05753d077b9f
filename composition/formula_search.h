#pragma once
// Every elemental formula of an ion within a mass window, exactly: no formula of the element
// ranges that the valence rules allow is left out, and the search has no cap.
//
// Valence rules: each element has its lowest common valence (C 4, Si 4, N 3, P 3, O 2, S 2,
// H 1 and the halogens 1); the ring-double-bond equivalent RDBE = 1 + sum n * (valence - 2) / 2
// must lie between -0.5 and the setting. An integer RDBE is an odd-electron ion (M+.), a
// half-integer one an even-electron ion; both are allowed. A formula holds at least one atom.
//
// The search: the lightest elements (at least one, at most six, as many as keep their
// combinations within kMaxInnerFormulas) are tabulated once, every combination in buckets of 1/128 u of mass,
// within a bucket by its part of the RDBE.
// The other elements are walked recursively, heaviest first, each count bounded so that the
// mass still to be found lies within what the remaining elements can reach; every walk ends in
// one look-up of the remaining mass window in the table.
#include <cstdint>
#include <vector>

#include "composition/element_ranges.h"
#include "composition/formula.h"

namespace orvelo {

inline constexpr std::size_t kMaxInnerFormulas = std::size_t{1} << 20;

class FormulaSearch {
public:
    // `maxNeutralMass`: the heaviest neutral mass any search will ask for (z times the ion mass).
    FormulaSearch(const std::vector<ElementRange>& ranges, double maxRdbe, double maxNeutralMass);

    // Appends every allowed formula of charge `charge` whose ion mass lies in [lo, hi].
    // `examined` (if given) grows by the formulas compared with the window and the RDBE limits.
    // `ionMasses` (if given) receives the ion mass of each formula appended.
    void Find(double lo, double hi, int charge, std::vector<Formula>& out, uint64_t* examined = nullptr,
              std::vector<double>* ionMasses = nullptr) const;

    std::size_t InnerFormulaCount() const { return innerMass_.size(); }
    double MaxNeutralMass() const { return maxNeutralMass_; }

private:
    struct Outer {
        int element;
        int min, max;
        double mass;
        int rdbeStep;  // valence - 2
    };
    struct Sink {
        std::vector<Formula>& out;
        std::vector<double>* masses;
        uint64_t examined;
        double base;  // the neutral mass of the outer elements so far
    };
    void Walk(std::size_t level, double partial, int rdbe2, Formula& f, double lo, double hi, Sink& sink) const;
    void LookUp(double lo, double hi, int rdbe2, Formula& f, Sink& sink) const;

    std::vector<int> innerElements_;
    std::vector<Outer> outer_;               // heaviest first
    std::vector<double> restMin_, restMax_;  // mass reachable by outer_[k..] and the table
    int maxTwiceRdbe_ = 80;
    double maxNeutralMass_ = 0;
    // The table, by bucket.
    std::vector<double> innerMass_;
    std::vector<uint64_t> innerCounts_;  // 10 bits per inner element
    std::vector<int32_t> innerRdbe_;     // sum n * (valence - 2) over the inner elements
    std::vector<uint32_t> bucketStart_;  // first entry of each 1/128 u bucket, one past the end last
};

}  // namespace orvelo
