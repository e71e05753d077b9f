#include "fitting/final_run.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "core/number_text.h"
#include "core/worker_pool.h"

namespace orvelo {

std::optional<int64_t> CheckNoiseHeight(std::string_view text) {
    if (text.empty()) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    int64_t value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

double GaussPowerFor(GaussShape shape) { return shape == GaussShape::FlatTop ? 8.0 : 2.0; }

ZonePlan PlanZones(const PointList& finalExtrema) {
    ZonePlan plan;
    const int count = finalExtrema.count();
    if (count < 3) return plan;
    plan.d = finalExtrema.y[0] > finalExtrema.y[1] ? 1 : 0;
    const int spare = count - 3 - plan.d;
    plan.count = spare >= 0 ? spare / 2 + 1 : 0;
    return plan;
}

std::vector<std::string> ZoneLines(int k, const PeakInput& input) {
    const std::string n = std::to_string(k);
    return {n + ", Fon = " + FormatGeneral(input.Fon),     n + ", Left = " + FormatGeneral(input.Left),
            n + ", V = " + FormatGeneral(input.V),         n + ", Center = " + FormatGeneral(input.Center),
            n + ", Right = " + FormatGeneral(input.Right), " "};
}

namespace {

struct ZoneSlot {
    PeakResult result;
    FitStop stop = FitStop::Converged;
    bool settled = false;
    std::vector<std::string> lines;
    std::vector<std::string> problems;
    std::exception_ptr error;
    bool done = false;
};

// The fit state and sums of one thread.
class ZoneFitter {
public:
    ZoneFitter(const FitSource& source, const PointList& finalExtrema, ZonePlan plan, const FinalRunOptions& options)
        : source_(source),
          extrema_(finalExtrema),
          plan_(plan),
          sums_(options.makeSums ? options.makeSums() : std::make_unique<FusedStepSums>()),
          jumpCycles_(options.jumpCycles) {}

    void Fit(int zone, ZoneSlot& slot) {
        const int j = plan_.LeftEntry(zone);
        const PeakInput input = source_.Input(extrema_.x[j], extrema_.x[j + 2]);
        state_.PeakNumber = zone + 1;
        const FitOutcome outcome = FitPeakWith(state_, source_, input, {nullptr, &slot.problems}, *sums_, jumpCycles_);
        slot.result = outcome.result;
        slot.result.ZoneIndex = j;
        slot.stop = outcome.stop;
        slot.settled = outcome.settled;
        slot.lines = ZoneLines(zone + 1, input);
    }

private:
    const FitSource& source_;
    const PointList& extrema_;
    ZonePlan plan_;
    FitState state_;
    std::unique_ptr<StepSums> sums_;
    bool jumpCycles_;
};

bool Cancelled(const FinalRunOptions& options) { return options.cancel && options.cancel->load(); }

void Deliver(int zone, ZoneSlot& slot, const FinalRunOptions& options, FinalRunResult& out) {
    if (slot.error) std::rethrow_exception(slot.error);
    if (options.onZone) options.onZone(ZoneReport{zone, slot.stop, slot.result, slot.lines, slot.problems});
    out.peaks.push_back(slot.result);
    out.stops.push_back(slot.stop);
    out.warnings.push_back(RowWarningOf(slot.stop, slot.settled, slot.result));
    out.zoneLines.insert(out.zoneLines.end(), slot.lines.begin(), slot.lines.end());
    out.problemLines.insert(out.problemLines.end(), slot.problems.begin(), slot.problems.end());
    if (IsProblemStop(slot.stop)) ++out.ProblemCount;
}

void RunOnCallingThread(ZoneFitter& fitter, int zones, const FinalRunOptions& options, FinalRunResult& out) {
    for (int zone = 0; zone < zones; ++zone) {
        if (Cancelled(options)) {
            out.cancelled = true;
            return;
        }
        ZoneSlot slot;
        fitter.Fit(zone, slot);
        Deliver(zone, slot, options, out);
    }
}

// Worker threads take zones in increasing order; the calling thread hands them out in zone
// order as they complete. The destructor stops and joins the workers on every way out.
class ParallelZones {
public:
    // The threads started take every zone; none started leaves the run to the calling thread.
    ParallelZones(std::vector<ZoneFitter>& fitters, int zones)
        : slots_(zones), workers_(static_cast<int>(fitters.size()), [this, &fitters](int t) { Work(fitters[t]); }) {}
    ~ParallelZones() {
        stop_ = true;
        workers_.Join();
    }
    int started() const { return workers_.started(); }

    // Waits for the zone; false when cancelled first.
    bool WaitFor(int zone, const FinalRunOptions& options) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!slots_[zone].done) {
            if (Cancelled(options)) return false;
            if (options.cancel) done_.wait_for(lock, std::chrono::milliseconds(20));
            else done_.wait(lock);
        }
        return true;
    }
    ZoneSlot& Slot(int zone) { return slots_[zone]; }

private:
    void Work(ZoneFitter& fitter) {
        const int zones = static_cast<int>(slots_.size());
        while (!stop_) {
            const int zone = next_.fetch_add(1);
            if (zone >= zones) return;
            ZoneSlot& slot = slots_[zone];
            try {
                fitter.Fit(zone, slot);
            } catch (...) {
                slot.error = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                slot.done = true;
            }
            done_.notify_all();
        }
    }

    std::vector<ZoneSlot> slots_;
    std::atomic<int> next_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    WorkerPool workers_;  // last: started once everything the workers use is in place
};

int ThreadCount(const FinalRunOptions& options, int zones) {
    int n = options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
    return std::max(1, std::min(n, zones));
}

}  // namespace

FinalRunResult RunFinal(const PointList& spectrum, const PointList& smooth, const PointList& finalExtrema,
                        const FinalRunOptions& options) {
    FinalRunResult out;
    const ZonePlan plan = PlanZones(finalExtrema);
    const FitSource source(spectrum, smooth, options.gaussPower);
    const int threads = ThreadCount(options, plan.count);
    std::vector<ZoneFitter> fitters;
    fitters.reserve(threads);
    for (int t = 0; t < threads; ++t) fitters.emplace_back(source, finalExtrema, plan, options);

    if (threads == 1) {
        RunOnCallingThread(fitters[0], plan.count, options, out);
        return out;
    }
    ParallelZones parallel(fitters, plan.count);
    if (parallel.started() == 0) {
        RunOnCallingThread(fitters[0], plan.count, options, out);  // the system gives no thread
        return out;
    }
    for (int zone = 0; zone < plan.count; ++zone) {
        if (Cancelled(options) || !parallel.WaitFor(zone, options)) {
            out.cancelled = true;
            break;
        }
        Deliver(zone, parallel.Slot(zone), options, out);
        parallel.Slot(zone) = ZoneSlot{};
    }
    return out;
}

}  // namespace orvelo
