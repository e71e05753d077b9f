#include "fitting/peak_fit.h"

#include <cmath>
#include <cstring>
#include <string>

#include "core/number_text.h"

namespace orvelo {

double Det3(const std::array<double, 9>& m) {
    return m[0] * m[4] * m[8] + m[1] * m[5] * m[6] + m[2] * m[3] * m[7] - m[2] * m[4] * m[6] - m[1] * m[3] * m[8] -
           m[0] * m[5] * m[7];
}

double Cofactor(const Matrix4& M, int a, int b) {
    std::array<double, 9> minor{};
    int n = 0;
    for (int row = 0; row < 4; ++row) {
        if (row == a) continue;
        for (int col = 0; col < 4; ++col)
            if (col != b) minor[n++] = M[row][col];
    }
    const double sign = (a + b) % 2 == 0 ? 1.0 : -1.0;
    return sign * Det3(minor);
}

namespace {

// Cofactor(M, a, b) with the row and column known at compile time: the same products and
// sums, without building the minor at run time.
template <int a, int b>
inline double FixedCofactor(const Matrix4& M) {
    constexpr int r0 = a == 0 ? 1 : 0, r1 = a <= 1 ? 2 : 1, r2 = a <= 2 ? 3 : 2;
    constexpr int c0 = b == 0 ? 1 : 0, c1 = b <= 1 ? 2 : 1, c2 = b <= 2 ? 3 : 2;
    const double det =
        Det3({M[r0][c0], M[r0][c1], M[r0][c2], M[r1][c0], M[r1][c1], M[r1][c2], M[r2][c0], M[r2][c1], M[r2][c2]});
    const double sign = (a + b) % 2 == 0 ? 1.0 : -1.0;
    return sign * det;
}

inline double FixedDet4(const Matrix4& M) {
    double det = 0;
    det += FixedCofactor<0, 0>(M) * M[0][0];
    det += FixedCofactor<1, 0>(M) * M[1][0];
    det += FixedCofactor<2, 0>(M) * M[2][0];
    det += FixedCofactor<3, 0>(M) * M[3][0];
    return det;
}

}  // namespace

double Det4(const Matrix4& M) { return FixedDet4(M); }

Matrix4 ReplaceRow(const NormalMatrix& M, int k) {
    Matrix4 out{M[0], M[1], M[2], M[3]};
    if (k < 4) out[k] = M[4];
    return out;
}

std::string IterationHead(int step) { return "Итерация № " + std::to_string(step); }

std::vector<std::string> IterationLines(int step, const Params& P, const Params& e) {
    static const char* const kNames[4] = {"A = ", "B = ", "C = ", "D = "};
    std::vector<std::string> lines{IterationHead(step)};
    for (int k = 0; k < 4; ++k) lines.push_back(kNames[k] + FormatGeneral(P[k]) + ",  " + FormatGeneral(e[k]));
    lines.emplace_back();
    return lines;
}

std::vector<std::string> ProblemReportLines(int peakNumber, int fitIterations, const Params& start,
                                            const Params& current) {
    return {std::to_string(peakNumber) + " пик",
            std::to_string(fitIterations) + " итерация",
            "Начальные параметры",
            "A0 = " + FormatGeneral(start[0]),
            "B0 = " + FormatGeneral(start[1]),
            "C0 = " + FormatGeneral(start[2]),
            "D0 = " + FormatGeneral(start[3]),
            "Текущие параметры",
            "A = " + FormatGeneral(current[0]),
            "B = " + FormatGeneral(current[1]),
            "C = " + FormatGeneral(current[2]),
            "D = " + FormatGeneral(current[3]),
            "",
            ""};
}

namespace {

void Append(std::vector<std::string>* to, std::vector<std::string> lines) {
    if (to) to->insert(to->end(), lines.begin(), lines.end());
}

// One Gauss-Newton step at state.P. Leaves the increments in state.P, or returns false (P all
// zeros) when a diagonal cofactor or the determinant is exactly 0.
bool FitStep(FitState& state, const FitSamples& samples, StepSums& sums) {
    sums.NormalSums(samples, state.P, state.M);
    const Matrix4 m = ReplaceRow(state.M, 4);
    state.det = FixedDet4(m);
    const double diagonal[4] = {FixedCofactor<0, 0>(m), FixedCofactor<1, 1>(m), FixedCofactor<2, 2>(m),
                                FixedCofactor<3, 3>(m)};
    for (int k = 0; k < 4; ++k) {
        const double c = diagonal[k];
        if (c == 0 || state.det == 0) {
            state.P = {0, 0, 0, 0};
            state.singular = true;
            return false;
        }
        state.d[k] = state.det / c;
    }
    Params delta{};
    for (int k = 0; k < 4; ++k) delta[k] = -FixedDet4(ReplaceRow(state.M, k)) / state.det;
    state.P = delta;
    return true;
}

// The increment applied (also on the stopping step), then at the new parameters the residual
// sum S = sum_k P_k * SumOfProducts(k, 4) + SumOfProducts(4, 4), s^2 = S / (N - 4) and the
// standard errors e_k = sqrt|s^2 / d_k|.
void ApplyIncrement(FitState& state, const Params& current, const FitSamples& samples, StepSums& sums, double freedom) {
    for (int k = 0; k < 4; ++k) state.P[k] = current[k] + state.P[k];
    std::array<double, 5> r{};
    sums.ResidualSums(samples, state.P, r);
    state.S = 0;
    for (int k = 0; k < 4; ++k) state.S += state.P[k] * r[k];
    state.S += r[4];
    state.s2 = state.S / freedom;
    for (int k = 0; k < 4; ++k) state.e[k] = std::sqrt(std::fabs(state.s2 / state.d[k]));
}

bool Converged(const Params& delta) {
    for (double v : delta)
        if (!(std::fabs(v) < kFitTolerance)) return false;
    return true;
}

}  // namespace

bool SettledIncrements(const Params& increments, const Params& parameters) {
    for (int k = 0; k < 4; ++k)
        if (!(std::fabs(increments[k]) <= kSettledRelativeStep * std::fabs(parameters[k]))) return false;
    return true;
}

namespace {

// Brent's cycle detection over the parameters after each step: one saved parameter set,
// replaced whenever the count of steps since it reaches the next power of two.
class CycleWatch {
public:
    explicit CycleWatch(const Params& start) : saved_(start) {}

    // Called with the parameters after every step; the period once they equal, bit for bit,
    // the saved ones, else 0.
    int PeriodAfterStep(const Params& current) {
        ++distance_;
        if (std::memcmp(current.data(), saved_.data(), sizeof(Params)) == 0) return distance_;
        if (distance_ == limit_) {
            saved_ = current;
            limit_ *= 2;
            distance_ = 0;
        }
        return 0;
    }

private:
    Params saved_;
    int limit_ = 1;
    int distance_ = 0;
};

// After step `step` the parameters repeat those of step - period. Returns the number of
// steps to skip: whole periods, leaving at least one step to compute before kMaxFitSteps.
// The iteration log gets the skipped steps' lines: the last period's lines, renumbered.
int SkipPeriods(int step, int period, std::vector<std::string>* iterations) {
    const int skip = (kMaxFitSteps - 1 - step) / period * period;
    if (iterations && skip > 0) {
        const std::size_t cycle = iterations->size() - kIterationLineCount * period;
        iterations->reserve(iterations->size() + kIterationLineCount * skip);
        for (int s = step + 1; s <= step + skip; ++s) {
            const std::size_t from = cycle + kIterationLineCount * ((s - step - 1) % period);
            iterations->push_back(IterationHead(s));
            for (std::size_t k = 1; k < kIterationLineCount; ++k) iterations->push_back((*iterations)[from + k]);
        }
    }
    return skip;
}

bool AllFinite(const FitState& state) {
    for (int k = 0; k < 4; ++k)
        if (!std::isfinite(state.P[k]) || !std::isfinite(state.e[k])) return false;
    return std::isfinite(state.S) && std::isfinite(state.P[0] + state.P[1]);
}

PeakResult BaseResult(const PeakInput& input) {
    PeakResult r;
    r.Left = input.Left;
    r.Right = input.Right;
    r.N = input.window.N;
    return r;
}

// The problem-peak path: report the attempt, then A = 0, B = 1, C = 1000, D = D0.
FitOutcome ProblemPeak(FitState& state, const PeakInput& input, FitStop how, const Params& attempted, int steps,
                       FitLog log) {
    Append(log.problems, ProblemReportLines(state.PeakNumber, state.FitIterations, state.start, attempted));
    state.FitIterations = steps;
    state.P = {kProblemA, kProblemB, kProblemC, state.start[3]};
    FitOutcome out{how, BaseResult(input)};
    out.result.Centre = state.P[3];
    out.result.R = state.P[2];
    out.result.Background = state.P[0] > 0 ? state.P[0] : state.start[0];
    out.result.Height = state.P[0] + state.P[1];
    out.result.Iter = steps;
    return out;
}

FitOutcome Finish(const FitState& state, const PeakInput& input, FitStop how, int steps) {
    FitOutcome out{how, BaseResult(input)};
    PeakResult& r = out.result;
    r.Centre = state.P[3];
    r.R = state.P[2];
    r.Background = state.P[0] > 0 ? state.P[0] : state.start[0];
    r.Height = state.P[0] + state.P[1];
    r.Errors = state.e;
    r.StdErr = std::sqrt(std::fabs(state.s2));
    r.Iter = steps;
    r.S = state.S;
    return out;
}

}  // namespace

FitOutcome FitPeakWith(FitState& state, const FitSource& source, const PeakInput& input, FitLog log, StepSums& sums,
                       bool jumpCycles) {
    const int peakNumber = state.PeakNumber;
    state = FitState{};
    state.PeakNumber = peakNumber;
    // The start values are reported for every zone that has a sample, usable or not.
    const double C0 =
        input.window.N > 0 ? source.EstimateR(input.V, input.Left, input.Center, input.window.last) : kProblemC;
    state.start = {input.Fon, input.V - input.Fon, C0, input.Center};
    const bool usable = input.window.N >= kMinFitSamples && input.centreIndex >= 0;
    if (!usable) return ProblemPeak(state, input, FitStop::UnusableWindow, state.start, 0, log);

    const FitSamples samples = source.Samples(input.window);
    const double freedom = static_cast<double>(input.window.N - 4);
    sums.BeginFit(samples);
    Params current = state.start;
    CycleWatch watch(current);
    bool watching = jumpCycles;
    for (int step = 1;; ++step) {
        state.P = current;
        const bool solved = FitStep(state, samples, sums);
        if (!solved) return ProblemPeak(state, input, FitStop::Singular, current, step, log);

        FitStop how = FitStop::StepCap;
        bool stop = step == kMaxFitSteps;
        if (Converged(state.P)) {
            stop = true;
            how = FitStop::Converged;
        }
        const Params increments = state.P;
        ApplyIncrement(state, current, samples, sums, freedom);
        if (!AllFinite(state)) return ProblemPeak(state, input, FitStop::NotFinite, current, step, log);

        state.FitIterations = step;
        if (log.iterations) Append(log.iterations, IterationLines(step, state.P, state.e));
        if (stop) {
            FitOutcome out = Finish(state, input, how, step);
            out.settled = how == FitStop::StepCap && SettledIncrements(increments, state.P);
            return out;
        }
        current = state.P;
        if (watching) {
            if (const int period = watch.PeriodAfterStep(current)) {
                step += SkipPeriods(step, period, log.iterations);
                state.FitIterations = step;
                watching = false;
            }
        }
    }
}

FitOutcome FitPeak(FitState& state, const FitSource& source, const PeakInput& input, FitLog log) {
    FusedStepSums sums;
    return FitPeakWith(state, source, input, log, sums);
}

}  // namespace orvelo
