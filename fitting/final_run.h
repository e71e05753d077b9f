#pragma once
// The final run: every zone of stage 7 fitted, in zone order, with the lines the program shows
// for it. Qt-free; the window runs RunFinal from its worker thread and does its blocking
// progress step from the per-zone callback.
//
// How the window drives a run:
//   1. CheckNoiseHeight(Edit4 text) -> refused: show kInvalidHeightMessage, stop.
//   2. ApplyNoiseThreshold(state, height) (noise_threshold.h): NoiseThreshold and stages 6 and 7 (ObrabNaklon).
//   3. Progress maximum = ZoneCount(state.FinalExtrema).
//   4. On the worker thread: RunFinal(state.Spectrum, state.Smooth, state.FinalExtrema, options)
//      with options.onZone doing the blocking queued call (progress + 1, the six lines to
//      ListBox4, the problem lines to ListBox3), and options.cancel set when the window closes.
//   5. Obrab5 on the user-interface thread: FittedCurves, ResultsTable, the counters.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/spectrum_state.h"
#include "fitting/peak_fit.h"
#include "fitting/results_table.h"
#include "fitting/peak_result.h"

namespace orvelo {

inline constexpr const char* kInvalidHeightMessage = "Недопустимое значение высоты.";

// The height typed into Edit4: digits only, not empty (leading zeros allowed: "0012" is 12).
// A sign, a blank, any other character, or a value beyond the 64-bit range is refused.
std::optional<int64_t> CheckNoiseHeight(std::string_view text);

enum class GaussShape { Ordinary, FlatTop };  // RadioButton3 "Обычный", RadioButton4 "С плоской вершиной"
double GaussPowerFor(GaussShape shape);  // 2.0, 8.0

// Zones of stage 7: d = 1 when the list starts with a maximum (Y[0] > Y[1]), else 0; zone i
// uses entries j = 2i + d (Left), j + 1 (the maximum), j + 2 (Right) while j <= count - 3.
//   Y = 3 8 2 9 1    -> d = 0, zones 0-2 and 2-4
//   Y = 8 3 9 2 7 1  -> d = 1, zones 1-3 and 3-5
// Fewer than 3 entries: no zone.
struct ZonePlan {
    int d = 0;
    int count = 0;  // also the progress maximum
    int LeftEntry(int zone) const { return 2 * zone + d; }
};
ZonePlan PlanZones(const PointList& finalExtrema);
inline int ZoneCount(const PointList& finalExtrema) { return PlanZones(finalExtrema).count; }

// The six "Массив пиков" lines of zone number k (1-based):
// "k, Fon = ..", "k, Left = ..", "k, V = ..", "k, Center = ..", "k, Right = ..", " ".
std::vector<std::string> ZoneLines(int k, const PeakInput& input);

// What the callback receives for each zone, in zone order. The references are valid only
// during the call.
struct ZoneReport {
    int zone = 0;  // 0-based; the zone number in the texts is zone + 1
    FitStop stop = FitStop::Converged;
    const PeakResult& result;
    const std::vector<std::string>& lines;         // the six ListBox4 lines
    const std::vector<std::string>& problemLines;  // the 14-line report, or empty
};

struct FinalRunOptions {
    double gaussPower = 2.0;
    // Fitting threads: 0 = all cores (hardware_concurrency), 1 = everything on the calling
    // thread, zone after zone, each callback before the next zone is fitted.
    int threads = 0;
    // Called on the thread that called RunFinal, strictly in zone order, once the zone is
    // fitted; delivery waits for it to return. It may block (a queued call to the window).
    std::function<void(const ZoneReport&)> onZone;
    // Checked between zones; once set, no further zone is delivered and RunFinal returns.
    const std::atomic<bool>* cancel = nullptr;
    // Another way of gathering the sums (tests and benchmarks); null = the fused pass.
    std::function<std::unique_ptr<StepSums>()> makeSums;
    // false: every step of a cycling fit computed literally (tests and benchmarks).
    bool jumpCycles = true;
};

struct FinalRunResult {
    PeakResults peaks;                      // PeakResults, in zone order
    std::vector<FitStop> stops;             // how each zone's fit ended
    std::vector<RowWarning> warnings;       // per peak: a row to look at twice, and why
    std::vector<std::string> zoneLines;     // ListBox4: six lines per zone
    std::vector<std::string> problemLines;  // ListBox3: 14 lines per problem peak
    int ProblemCount = 0;
    bool cancelled = false;  // ended by options.cancel; the lists hold the
                             // zones delivered before
};

// Fits every zone of finalExtrema on the spectrum. Fits of different zones run concurrently
// (each with its own FitState); the results are bit-identical to a one-thread run. An
// exception from a fit or from the callback ends the run (workers joined) and propagates.
FinalRunResult RunFinal(const PointList& spectrum, const PointList& smooth, const PointList& finalExtrema,
                        const FinalRunOptions& options);

}  // namespace orvelo
