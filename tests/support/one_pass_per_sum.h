#pragma once
// The sums of a fit step gathered the plain way: one pass over the window per sum, each point
// term recomputed from scratch (14 passes for M and g, 5 for the residual sums). The yardstick
// that the fused one-pass gathering must match bit for bit, and the baseline of the benchmark.
#include <array>

#include "fitting/step_sums.h"

namespace orvelo::reference {

class OnePassPerSum final : public StepSums {
public:
    void NormalSums(const FitSamples& s, const Params& P, NormalMatrix& M) override {
        for (int j = 0; j < 3; ++j) {
            for (int k = j + 1; k < 4; ++k) {
                M[k][j] = SumOfProducts(k, j, s, P);
                M[j][k] = M[k][j];
            }
        }
        for (int j = 0; j < 4; ++j) M[j][j] = SumOfProducts(j, j, s, P);
        for (int j = 0; j < 4; ++j) M[4][j] = SumOfProducts(4, j, s, P);
    }

    void ResidualSums(const FitSamples& s, const Params& P, std::array<double, 5>& r) override {
        for (int k = 0; k < 5; ++k) r[k] = SumOfProducts(k, 4, s, P);
    }
};

}  // namespace orvelo::reference
