#pragma once
// The final run ("Последняя"): the height check, the start of the worker thread MyThread, the
// per-zone progress step ReportZone on the user-interface thread, and Obrab5, the end handler
// that shows the results.
//
// Threads: MyThread fits the zones (RunFinal) and, after each zone, waits in a blocking queued
// call until ReportZone has run on the user-interface thread, so the steps arrive in zone order
// and the window keeps repainting. Obrab5 is connected to QThread::finished (queued). While the
// run is in progress the availability table keeps the commands that would change its inputs or
// results off.
// Closing the window cancels the run between zones; nobody ever waits for the worker on the
// user-interface thread without serving its queued calls.
#include <QObject>
#include <QPointer>
#include <QThread>
#include <atomic>
#include <functional>

#include "calibration/after_final_run.h"
#include "fitting/final_run.h"
#include "ui/command_context.h"
#include "ui/spectrum_commands.h"

namespace orvelo::ui {

class PageInfo;
class PageSettings;
class PageSpectrum;
class PageTesting;
class ProgressWindow;

// The pages of the run: its inputs on "Настройка", its layers on "Спектр", the results table
// on "Информация" and the counters and zone lines on "Тестирование".
struct FinalRunPages {
    PageSettings& settings;
    PageSpectrum& spectrum;
    PageInfo& info;
    PageTesting& testing;
};

class MyThread : public QThread {
    Q_OBJECT
public:
    // `report` runs on the thread of `ui` after every zone, while the worker waits.
    MyThread(const SpectrumState& state, double gaussPower, QObject* ui, std::function<void(const ZoneReport&)> report);
    // Destroyed only after the body has returned; the acquire orders its writes before ours.
    ~MyThread() override { handoff_.load(std::memory_order_acquire); }
    void cancel() { cancel_ = true; }
    bool cancelled() const { return cancel_; }
    // Valid once the thread has finished.
    FinalRunResult& result() {
        handoff_.load(std::memory_order_acquire);
        return result_;
    }
    const QString& error() const {
        handoff_.load(std::memory_order_acquire);
        return error_;
    }

protected:
    void run() override;

private:
    const PointList& spectrum_;
    const PointList& smooth_;
    const PointList& finalExtrema_;
    double gaussPower_;
    QObject* ui_;
    std::function<void(const ZoneReport&)> report_;
    std::atomic<bool> cancel_{false};
    // Every hand-over between the worker and the window thread (a zone's report, the end of
    // the run) is a release here and an acquire on the other side. Qt's blocking call and the
    // finished signal order them already; this states the ordering in C++ terms, so that the
    // thread checker can verify everything we share.
    mutable std::atomic<unsigned> handoff_{0};
    FinalRunResult result_;
    QString error_;
};

class FinalRunCommands : public QObject {
    Q_OBJECT
public:
    FinalRunCommands(CommandContext& context, FinalRunPages pages, LayerViews views, ProgressWindow& form5);
    ~FinalRunCommands() override;

    void Button13Click();
    bool running() const { return worker_ != nullptr; }
    // Asks the worker to stop after the zone in hand; Obrab5 then only unlocks the window.
    void requestCancel();
    // Cancels and waits, serving the worker's queued calls meanwhile (window destruction).
    void stopAndWait();

signals:
    // The results of the run are adopted and shown here; the masses of its peaks are assigned,
    // for the pages of the calibration, the single peak and the theory charts.
    void massesAssigned(const MassAssignment& assigned);
    void runEnded();  // after Obrab5 (or after a cancelled run)

private:
    void checkAndStartRun();
    void startRun();
    void ReportZone(const ZoneReport& zone);
    void Obrab5();
    void showResults(const MassAssignment& assigned);

    CommandContext& c_;
    FinalRunPages pages_;
    LayerViews views_;
    ProgressWindow& form5_;
    QPointer<MyThread> worker_;
    int64_t runStartTime_ = 0;  // milliseconds of the monotonic clock
};

}  // namespace orvelo::ui
