#include "ui/final_run.h"

#include <QCoreApplication>
#include <chrono>
#include <exception>

#include "calibration/after_final_run.h"
#include "core/errors.h"
#include "fitting/fitted_curve.h"
#include "fitting/results_table.h"
#include "ui/dialogs.h"
#include "ui/guidance_texts.h"
#include "ui/page_info.h"
#include "ui/page_settings.h"
#include "ui/page_spectrum.h"
#include "ui/page_testing.h"
#include "ui/secondary_windows.h"

namespace orvelo::ui {
namespace {

int64_t TickCount() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The worker.

MyThread::MyThread(const SpectrumState& state, double gaussPower, QObject* ui,
                   std::function<void(const ZoneReport&)> report)
    : spectrum_(state.Spectrum),
      smooth_(state.Smooth),
      finalExtrema_(state.FinalExtrema),
      gaussPower_(gaussPower),
      ui_(ui),
      report_(std::move(report)) {}

void MyThread::run() {
    FinalRunOptions options;
    options.gaussPower = gaussPower_;
    options.cancel = &cancel_;
    options.onZone = [this](const ZoneReport& zone) {
        handoff_.fetch_add(1, std::memory_order_release);
        QMetaObject::invokeMethod(
            ui_,
            [this, &zone] {
                handoff_.load(std::memory_order_acquire);
                report_(zone);
                handoff_.fetch_add(1, std::memory_order_release);
            },
            Qt::BlockingQueuedConnection);
        handoff_.load(std::memory_order_acquire);
    };
    try {
        result_ = RunFinal(spectrum_, smooth_, finalExtrema_, options);
    } catch (const std::exception& e) {
        error_ = QString::fromStdString(ErrorMessage(e));
    }
    handoff_.fetch_add(1, std::memory_order_release);
}

// ---------------------------------------------------------------------------------------------
// The commands.

FinalRunCommands::FinalRunCommands(CommandContext& context, FinalRunPages pages, LayerViews views,
                                   ProgressWindow& form5)
    : c_(context), pages_(pages), views_(std::move(views)), form5_(form5) {}

FinalRunCommands::~FinalRunCommands() { stopAndWait(); }

void FinalRunCommands::Button13Click() {
    c_.run([this] { checkAndStartRun(); });
}

void FinalRunCommands::checkAndStartRun() {
    if (running()) return;
    std::optional<std::string> refusal;
    std::exception_ptr thresholdFailure;  // the old results are gone then, "Последняя" stays
    try {
        refusal = c_.session.BeginFinalRun(pages_.settings.thresholdText().toStdString(), pages_.settings.gaussShape());
    } catch (...) {
        thresholdFailure = std::current_exception();
    }
    if (refusal) {
        c_.info(QString::fromStdString(*refusal));
        return;
    }
    c_.flags.workflow.markFinalRunBegun();
    try {
        c_.clearDisplays(ClearMode::FinalRun);
        if (thresholdFailure) std::rethrow_exception(thresholdFailure);
        pages_.spectrum.showLayer(SpectrumLayer::FinalExtrema, c_.session.state().spectrum.FinalExtrema,
                                  views_(SpectrumLayer::FinalExtrema));
    } catch (...) {
        c_.session.AbandonFinalRun();
        throw;
    }
    runStartTime_ = TickCount();
    startRun();
}

// The run starter: the progress window counts the zones; the worker starts at once and
// Obrab5 is registered before it can end.
void FinalRunCommands::startRun() {
    const int zones = ZoneCount(c_.session.state().spectrum.FinalExtrema);
    form5_.startCounting(zones);
    auto* worker = new MyThread(c_.session.state().spectrum, c_.session.state().run.GaussPower, this,
                                [this](const ZoneReport& zone) { ReportZone(zone); });
    worker_ = worker;
    connect(worker, &QThread::finished, this, &FinalRunCommands::Obrab5);
    worker->start();
}

void FinalRunCommands::ReportZone(const ZoneReport& zone) {
    if (!worker_ || worker_->cancelled()) return;
    form5_.step();
    pages_.testing.addZoneLines(zone.lines, zone.problemLines);
}

void FinalRunCommands::requestCancel() {
    if (worker_) worker_->cancel();
}

void FinalRunCommands::stopAndWait() {
    if (!worker_) return;
    worker_->cancel();
    // The worker may sit in its blocking call to ReportZone: serve it while waiting. If the
    // queued Obrab5 comes through meanwhile, it has already taken the worker.
    while (worker_ && !worker_->wait(10)) QCoreApplication::processEvents();
    if (!worker_) return;
    MyThread* worker = worker_;
    worker_ = nullptr;
    delete worker;
    c_.session.AbandonFinalRun();
    c_.showAvailability();
}

void FinalRunCommands::Obrab5() {
    MyThread* worker = worker_;
    if (!worker) return;
    worker_ = nullptr;
    worker->wait();  // the body has returned; this only lets the thread finish
    worker->deleteLater();
    form5_.finish();
    if (worker->cancelled() || !worker->error().isEmpty()) {
        c_.session.AbandonFinalRun();
        c_.showAvailability();
        // The zones fitted so far are discarded with their lines.
        if (worker->cancelled()) pages_.testing.clearLines();
        else c_.messages.error(worker->error());
        emit runEnded();
        return;
    }
    const int64_t elapsed = TickCount() - runStartTime_;
    c_.run([this, worker, elapsed] {
        c_.flags.workflow.markFinalRunAdopted();
        const MassAssignment& assigned = c_.session.AdoptFinalRun(std::move(worker->result()));
        const FinalRunState& run = c_.session.state().run;
        pages_.testing.showCounters(elapsed, run.peaks.size(), run.ProblemCount);
        showResults(assigned);
    });
    c_.guidance(kAfterFinalRunGuidance);
    emit runEnded();
}

// The fitted curves and the results table of the run; the mass lists and the theory charts
// follow from the assignment on their own pages ("Стандартные массы" from the tables when
// runEnded reaches the calibration commands).
void FinalRunCommands::showResults(const MassAssignment& assigned) {
    const FinalRunState& run = c_.session.state().run;
    std::vector<int> starts;
    const PointList curves = FittedCurves(run.peaks, run.GaussPower, &starts);
    pages_.spectrum.showLayer(SpectrumLayer::FittedPeaks, curves, views_(SpectrumLayer::FittedPeaks), starts);
    pages_.info.showResults(ResultsTable(run.peaks), run.warnings);
    emit massesAssigned(assigned);
    // A range too wide builds empty tables; the operator is told why.
    if (assigned.refusal) c_.info(QString::fromStdString(*assigned.refusal));
}

}  // namespace orvelo::ui
