#pragma once
// The sums of one fit step: the normal matrix M, the right-hand side g and the residual sums,
// each a sum over the fit window of products of the point terms (see fitting/peak_fit.h for
// the model). How they are gathered is interchangeable; the values never are.
#include <array>
#include <vector>

namespace orvelo {

// 1.6651 is 2 * sqrt(ln 2) rounded to five significant digits, and every resolving power
// depends on that value: it must not be replaced by the exact one.
inline constexpr double K = 1.6651;

using Params = std::array<double, 4>;  // A, B, C, D (or their increments)
using Matrix4 = std::array<std::array<double, 4>, 4>;
using NormalMatrix = std::array<std::array<double, 4>, 5>;  // M[0..3] the matrix, M[4] = g

// u = D / x - 1, t = K * C * u and E = exp(-t^n) of one sample.
struct SampleTerms {
    double u, t, E;
};

// base^exponent by square and multiply. With result = 1 and e = exponent, while e > 0:
// if e is odd, result = result * base; then base = base * base and e = e / 2. So t^2 is
// 1 * (t*t), t^7 is ((1*t) * t^2) * t^4 and t^8 is 1 * ((t^2)^2)^2. Exponent 0 gives 1, a
// negative exponent 1 / base^-exponent.
inline double IntPower(double base, int exponent) {
    if (exponent < 0) return 1.0 / IntPower(base, -exponent);
    double result = 1.0;
    while (exponent > 0) {
        if (exponent & 1) result = result * base;
        base = base * base;
        exponent >>= 1;
    }
    return result;
}

// The samples a fit reads: x[first..last], y[first..last] (empty when last < first), and the
// model's power n.
struct FitSamples {
    const double* x = nullptr;
    const double* y = nullptr;
    int first = 0;
    int last = -1;
    double n = 2.0;
};

// Term k of sample i at parameters P, with u, t and E = exp(-t^n) computed afresh:
//   0: 1                              (dF/dA)
//   1: E                              (dF/dB)
//   2: -B * E * n * t^(n-1) * K * u      (dF/dC)
//   3: -B * E * n * t^(n-1) * K * C / x  (dF/dD)
//   4: A + B * E - y                  (the residual, model minus data)
double PointTerm(int k, const FitSamples& s, int i, const Params& P);
// Sum over the window of PointTerm(j, i) * PointTerm(k, i), one pass of its own; 0 when empty.
double SumOfProducts(int j, int k, const FitSamples& s, const Params& P);

class StepSums {
public:
    virtual ~StepSums() = default;
    // Called once before the first step of every fit.
    virtual void BeginFit(const FitSamples& /*samples*/) {}
    // At P: M[k][j] = M[j][k] = SumOfProducts(k, j) for j < k, M[j][j] = SumOfProducts(j, j),
    // M[4][j] = g[j] = SumOfProducts(4, j).
    virtual void NormalSums(const FitSamples& s, const Params& P, NormalMatrix& M) = 0;
    // At P: r[k] = SumOfProducts(k, 4) for k = 0..4.
    virtual void ResidualSums(const FitSamples& s, const Params& P, std::array<double, 5>& r) = 0;
};

// Gathers every sum of a step at once: u, t, E and the point terms are computed once per
// sample (the exponentials in a pass of their own, then the sums) and each sum is still added
// in sample order, so the values are bit-identical to one pass per sum. The residual sums at the new parameters are the
// right- hand side of the next step at the same parameters, so one pass serves both.
class FusedStepSums final : public StepSums {
public:
    void BeginFit(const FitSamples& samples) override;
    void NormalSums(const FitSamples& s, const Params& P, NormalMatrix& M) override;
    void ResidualSums(const FitSamples& s, const Params& P, std::array<double, 5>& r) override;

private:
    // The 15 distinct sums at P: m00 m10 m20 m30 m11 m21 m31 m22 m32 m33 g0 g1 g2 g3 rr.
    using WindowSums = std::array<double, 15>;
    const WindowSums& SumsAt(const FitSamples& s, const Params& P);

    WindowSums sums_{};
    std::vector<SampleTerms> scratch_;  // one per sample of the window
    Params at_{};
    bool valid_ = false;
};

}  // namespace orvelo
