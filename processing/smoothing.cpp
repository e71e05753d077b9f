// Many passes of the midpoint smoothing, fast and bit-identical to one pass at a time.
//
// One pass maps Y to Y' with
//   yL = (Y[i-1] + Y[i]) / 2,  yR = (Y[i] + Y[i+1]) / 2,  xL, xR likewise from X,
//   Y'[i] = yL + ((X[i] - xL) * (yR - yL)) / (xR - xL)   when yR > yL,
//   Y'[i] = yR + ((xR - X[i]) * (yL - yR)) / (xR - xL)   otherwise,
// and keeps both ends. X never changes, so the three mass differences of a point are worked
// out once per window and reused by every pass. Each output point depends only on its two
// neighbours, so K passes of the points [s, e) need only the input [s - K, e + K): the passes
// run block by block on a window that shrinks by one point per pass on each side (the ends of
// the list stay put), while the window is in cache, and the blocks of a round are shared out
// between the cores. Every value is computed by the same IEEE operations in the same order as
// in the one-pass definition; no fused multiply-add, so the vector width does not matter.
#include "processing/smoothing.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstddef>
#include <thread>
#include <vector>

#include "core/number_text.h"
#include "core/worker_pool.h"
#include "processing/step_error.h"

// A 256-bit version beside the plain one, chosen when the program starts. The thread sanitizer
// cannot run the start-up chooser, so its builds keep the plain version only.
#if defined(__SANITIZE_THREAD__)
#define ORVELO_WITH_AVX2_CLONE
#else
#define ORVELO_WITH_AVX2_CLONE __attribute__((target_clones("avx2", "default")))
#endif

namespace orvelo {
namespace {

using smoothing::kBlock;
using smoothing::kParallelWork;
using smoothing::kPassesPerRound;

// mask ? p : q, bit by bit. Written with masks, not a branch, so that the compiler turns the
// pass into vector code (it will not if-convert a floating-point comparison by itself).
inline double Select(uint64_t mask, double p, double q) {
    return std::bit_cast<double>((std::bit_cast<uint64_t>(p) & mask) | (std::bit_cast<uint64_t>(q) & ~mask));
}

// Scratch for one window of at most kBlock + 2 * kPassesPerRound points.
struct Window {
    std::vector<double> y0, y1, a, b, d;
    explicit Window(std::size_t size) : y0(size), y1(size), a(size), b(size), d(size) {}
};

// Runs `passes` passes over the window w of `len` points whose masses are x[0 .. len); the
// intensities are in w.y0, and its two end values also in w.y1. A side that is an end of the whole list stays fixed;
// any other side loses one valid point per pass. Returns the buffer holding the last pass.
ORVELO_WITH_AVX2_CLONE
const double* SmoothWindow(const double* __restrict x, Window& w, std::size_t len, bool fixedLeft, bool fixedRight,
                           std::size_t passes) {
    double* __restrict a = w.a.data();  // X[i] - xL
    double* __restrict b = w.b.data();  // xR - X[i]
    double* __restrict d = w.d.data();  // xR - xL
    for (std::size_t i = 1; i + 1 < len; ++i) {
        const double xL = (x[i - 1] + x[i]) / 2;
        const double xR = (x[i] + x[i + 1]) / 2;
        a[i] = x[i] - xL;
        b[i] = xR - x[i];
        d[i] = xR - xL;
    }
    double* cur = w.y0.data();
    double* next = w.y1.data();
    for (std::size_t p = 1; p <= passes; ++p) {
        const double* __restrict in = cur;
        double* __restrict out = next;
        const std::size_t lo = fixedLeft ? 1 : p;
        const std::size_t hi = fixedRight ? len - 1 : len - p;
        for (std::size_t i = lo; i < hi; ++i) {
            const double yL = (in[i - 1] + in[i]) / 2;
            const double yR = (in[i] + in[i + 1]) / 2;
            const double up = a[i] * (yR - yL);
            const double down = b[i] * (yL - yR);
            // Always interpolate from the lower midpoint, as the one-pass definition does.
            const uint64_t rising = yR > yL ? ~uint64_t{0} : 0;
            out[i] = Select(rising, yL, yR) + Select(rising, up, down) / d[i];
        }
        std::swap(cur, next);
    }
    return cur;
}

// One round: `passes` passes of src into dst, block after block, taking the next block not yet
// taken (the cores share the blocks as they come free, so a core that is busy with other work
// holds nobody up).
void SmoothBlocks(const std::vector<double>& x, const std::vector<double>& src, std::vector<double>& dst,
                  std::size_t passes, std::atomic<std::size_t>& nextBlock, Window& w) {
    const std::size_t n = x.size();
    for (std::size_t block = nextBlock++; block * kBlock < n; block = nextBlock++) {
        const std::size_t s = block * kBlock;
        const std::size_t e = std::min(n, s + kBlock);
        const std::size_t ws = s > passes ? s - passes : 0;
        const std::size_t we = std::min(n, e + passes);
        const std::size_t len = we - ws;
        std::copy(src.begin() + ws, src.begin() + we, w.y0.begin());
        // Each pass reads only what the pass before wrote, and the two ends of the window.
        w.y1[0] = w.y0[0];
        w.y1[len - 1] = w.y0[len - 1];
        const double* result = SmoothWindow(x.data() + ws, w, len, ws == 0, we == n, passes);
        std::copy(result + (s - ws), result + (e - ws), dst.begin() + s);
    }
}

// The denominator xR - xL of the smoothing at point i.
inline double MidpointGap(const double* x, std::size_t i) { return (x[i] + x[i + 1]) / 2 - (x[i - 1] + x[i]) / 2; }

// Whether a point of start .. end - 1 has a zero denominator. Integer tests on the bits (+0 and
// -0 alike, NaN never) with no early exit, so that the loop runs as vector code.
ORVELO_WITH_AVX2_CLONE
bool AnyZeroGap(const double* x, std::size_t start, std::size_t end) {
    uint64_t zero = 0;
    for (std::size_t i = start; i < end; ++i) {
        const uint64_t magnitude = std::bit_cast<uint64_t>(MidpointGap(x, i)) << 1;
        zero |= ((magnitude | (0 - magnitude)) >> 63) ^ 1;  // 1 exactly when magnitude is 0
    }
    return zero != 0;
}

// The first inner point whose neighbouring midpoints share a mass, or 0 when there is none.
std::size_t FindZeroDenominator(const std::vector<double>& x) {
    constexpr std::size_t kChunk = 1024;
    const std::size_t n = x.size();
    for (std::size_t start = 1; start + 1 < n; start += kChunk) {
        const std::size_t end = std::min(n - 1, start + kChunk);
        if (!AnyZeroGap(x.data(), start, end)) continue;
        for (std::size_t i = start; i < end; ++i)
            if (MidpointGap(x.data(), i) == 0) return i;
    }
    return 0;
}

void CheckDenominators(const std::vector<double>& x, std::string_view step) {
    const std::size_t i = FindZeroDenominator(x);
    if (i == 0) return;
    if (x[i - 1] == x[i + 1]) ThrowStepError(step, ThreeEqualMassesCause(x[i]));
    // Masses so far apart that the two midpoints round to one value.
    ThrowStepError(step, "середины соседних отрезков совпадают у " + FormatGeneral(x[i]));
}

// `total` passes (at least one) of y, round after round; both cores share the blocks of each
// round when the list is long enough to be worth it. The first round reads y itself.
std::vector<double> SmoothInRounds(const std::vector<double>& x, const std::vector<double>& y, std::size_t total) {
    const std::size_t n = x.size();
    const bool parallel =
        n > kBlock && std::thread::hardware_concurrency() >= 2 && n * std::min(total, kPassesPerRound) >= kParallelWork;
    const std::size_t windowSize = std::min(n, kBlock + 2 * kPassesPerRound);
    Window mine(windowSize);
    std::vector<Window> theirs;
    if (parallel) theirs.emplace_back(windowSize);
    std::vector<double> cur, next(n);
    const std::vector<double>* src = &y;
    for (std::size_t done = 0; done < total; src = &cur) {
        const std::size_t k = std::min(kPassesPerRound, total - done);
        next.resize(n);
        std::atomic<std::size_t> nextBlock{0};
        // Without a second thread to be had, this one does every block.
        WorkerPool helper(parallel ? 1 : 0, [&](int) { SmoothBlocks(x, *src, next, k, nextBlock, theirs.front()); });
        SmoothBlocks(x, *src, next, k, nextBlock, mine);
        helper.Join();
        cur.swap(next);
        done += k;
    }
    return cur;
}

}  // namespace

void MidpointSmoothPasses(const PointList& in, PointList& out, int passes, std::string_view step) {
    RequireTwoPoints(in.count(), step);
    CheckDenominators(in.x, step);
    if (in.x.size() > 2 && passes > 0) {
        std::vector<double> y = SmoothInRounds(in.x, in.y, static_cast<std::size_t>(passes));
        if (&out != &in) out.x = in.x;
        out.y = std::move(y);
    } else if (&out != &in) {
        out = in;
    }
}

}  // namespace orvelo
