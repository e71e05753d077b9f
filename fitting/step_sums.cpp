#include "fitting/step_sums.h"

#include <cmath>
#include <cstring>

namespace orvelo {

namespace {

int PowerOf(const FitSamples& s) { return static_cast<int>(std::floor(s.n)); }

// exp of anything below this is +0 (e^-746 is under half the smallest subnormal), which the
// library reaches only through its slow underflow path; far outside a flat-topped peak, t^8
// is there for most samples. Returning the same +0 directly changes no bit.
constexpr double kExpIsZeroBelow = -746.0;

inline double ExpOfNegative(double power) {
    const double arg = -power;
    return arg < kExpIsZeroBelow ? 0.0 : std::exp(arg);
}

// The sums of one step at P, in two passes over the window: the first computes u, t and
// E = exp(-t^n) of every sample into `scratch`, the second the point terms and the sums. A
// pass around the exp call alone keeps the sums' fifteen running values out of its way.
// kPower > 0 fixes the power at compile time (the common shapes); 0 takes it from the
// samples. The formulas are those of PointTerm, operation for operation, and every sum is
// added in sample order, so every value has the same bits as one pass per sum.
template <int kPower>
void GatherSums(const FitSamples& s, const Params& P, SampleTerms* scratch, std::array<double, 15>& out) {
    const int power = kPower > 0 ? kPower : PowerOf(s);
    const double A = P[0], B = P[1], C = P[2], D = P[3];
    const double n = s.n;
    const double KC = K * C;
    const int count = s.last - s.first + 1;
    const double* x = s.x + s.first;
    const double* y = s.y + s.first;
    for (int i = 0; i < count; ++i) {
        const double u = D / x[i] - 1.0;
        const double t = KC * u;
        scratch[i] = {u, t, ExpOfNegative(IntPower(t, power))};
    }
    double m00 = 0, m10 = 0, m20 = 0, m30 = 0, m11 = 0, m21 = 0, m31 = 0, m22 = 0, m32 = 0, m33 = 0;
    double g0 = 0, g1 = 0, g2 = 0, g3 = 0, rr = 0;
    for (int i = 0; i < count; ++i) {
        const double u = scratch[i].u, t = scratch[i].t, E = scratch[i].E;
        const double lead = -B * E * n * IntPower(t, power - 1) * K;
        const double T2 = lead * u;
        const double T3 = lead * C / x[i];
        const double T4 = A + B * E - y[i];
        // Products with the term 1 are the other factor itself, exactly.
        m00 += 1.0;
        m10 += E;
        m20 += T2;
        m30 += T3;
        m11 += E * E;
        m21 += T2 * E;
        m31 += T3 * E;
        m22 += T2 * T2;
        m32 += T3 * T2;
        m33 += T3 * T3;
        g0 += T4;
        g1 += T4 * E;
        g2 += T4 * T2;
        g3 += T4 * T3;
        rr += T4 * T4;
    }
    out = {m00, m10, m20, m30, m11, m21, m31, m22, m32, m33, g0, g1, g2, g3, rr};
}

}  // namespace

double PointTerm(int k, const FitSamples& s, int i, const Params& P) {
    const double A = P[0], B = P[1], C = P[2], D = P[3];
    const double x = s.x[i];
    const int power = PowerOf(s);
    const double u = D / x - 1.0;
    const double t = K * C * u;
    const double E = std::exp(-IntPower(t, power));
    switch (k) {
        case 0: return 1.0;
        case 1: return E;
        case 2: return -B * E * s.n * IntPower(t, power - 1) * K * u;
        case 3: return -B * E * s.n * IntPower(t, power - 1) * K * C / x;
        default: return A + B * E - s.y[i];
    }
}

double SumOfProducts(int j, int k, const FitSamples& s, const Params& P) {
    double sum = 0;
    for (int i = s.first; i <= s.last; ++i) sum += PointTerm(j, s, i, P) * PointTerm(k, s, i, P);
    return sum;
}

void FusedStepSums::BeginFit(const FitSamples&) { valid_ = false; }

const FusedStepSums::WindowSums& FusedStepSums::SumsAt(const FitSamples& s, const Params& P) {
    if (valid_ && std::memcmp(at_.data(), P.data(), sizeof(Params)) == 0) return sums_;
    const std::size_t count = s.last >= s.first ? static_cast<std::size_t>(s.last - s.first + 1) : 0;
    if (scratch_.size() < count) scratch_.resize(count);
    switch (PowerOf(s)) {
        case 2: GatherSums<2>(s, P, scratch_.data(), sums_); break;
        case 8: GatherSums<8>(s, P, scratch_.data(), sums_); break;
        default: GatherSums<0>(s, P, scratch_.data(), sums_); break;
    }
    at_ = P;
    valid_ = true;
    return sums_;
}

void FusedStepSums::NormalSums(const FitSamples& s, const Params& P, NormalMatrix& M) {
    const WindowSums& v = SumsAt(s, P);
    M[0] = {v[0], v[1], v[2], v[3]};
    M[1] = {v[1], v[4], v[5], v[6]};
    M[2] = {v[2], v[5], v[7], v[8]};
    M[3] = {v[3], v[6], v[8], v[9]};
    M[4] = {v[10], v[11], v[12], v[13]};
}

void FusedStepSums::ResidualSums(const FitSamples& s, const Params& P, std::array<double, 5>& r) {
    const WindowSums& v = SumsAt(s, P);
    r = {v[10], v[11], v[12], v[13], v[14]};
}

}  // namespace orvelo
