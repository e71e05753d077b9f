#include "ui/final_run.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <chrono>

#include "calibration/after_final_run.h"
#include "core/errors.h"
#include "fitting/fitted_curve.h"
#include "fitting/results_table.h"
#include "ui/dialogs.h"
#include "ui/guidance_texts.h"
#include "ui/main_menu.h"
#include "ui/page_calibration_masses.h"
#include "ui/page_info.h"
#include "ui/page_settings.h"
#include "ui/page_single_peak.h"
#include "ui/page_spectrum.h"
#include "ui/page_testing.h"
#include "ui/page_theory.h"
#include "ui/secondary_windows.h"
#include "ui/spectrum_commands.h"

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

FinalRunCommands::FinalRunCommands(CommandContext& context, SpectrumCommands& spectrum)
    : c_(context), spectrum_(spectrum) {}

FinalRunCommands::~FinalRunCommands() { stopAndWait(); }

void FinalRunCommands::Button13Click() { c_.run([this] { checkAndStartRun(); }); }

void FinalRunCommands::checkAndStartRun() {
    if (running()) return;
    PageSettings& page = *c_.pages.settings;
    c_.state.run.GaussPower = GaussPowerFor(page.gaussShape());
    // Digits only; a value beyond the integer range is refused here too, before anything changes.
    const auto height = CheckNoiseHeight(page.thresholdText().toStdString());
    if (!height) {
        c_.info(QString::fromUtf8(kInvalidHeightMessage));
        return;
    }
    AtFinalRunStart(c_.pages);
    try {
        spectrum_.ClearAll(ClearMode::FinalRun);
        ApplyNoiseThreshold(c_.state.spectrum, *height);
        c_.pages.spectrum->showLayer(SpectrumLayer::FinalExtrema, c_.state.spectrum.FinalExtrema,
                                     ViewOf(c_.menu.Series16View));
    } catch (...) {
        AfterFinalRunFailed(c_.pages);
        throw;
    }
    c_.state.run.RunStartTime = TickCount();
    StartRun();
}

// The run starter: the progress window counts the zones; the worker starts at once and
// Obrab5 is registered before it can end.
void FinalRunCommands::StartRun() {
    const int zones = ZoneCount(c_.state.spectrum.FinalExtrema);
    ProgressWindow& form5 = c_.form5;
    form5.hide();
    form5.Gauge1->setRange(0, std::max(zones, 1));
    form5.Gauge1->setValue(0);
    form5.show();

    lock_.lock(c_.pages, c_.menu);
    c_.state.run.running = true;
    auto* worker = new MyThread(c_.state.spectrum, c_.state.run.GaussPower, this,
                                [this](const ZoneReport& zone) { ReportZone(zone); });
    worker_ = worker;
    connect(worker, &QThread::finished, this, &FinalRunCommands::Obrab5);
    worker->start();
}

void FinalRunCommands::ReportZone(const ZoneReport& zone) {
    if (!worker_ || worker_->cancelled()) return;
    QProgressBar* gauge = c_.form5.Gauge1;
    gauge->setValue(gauge->value() + 1);
    c_.pages.testing->addZoneLines(zone.lines, zone.problemLines);
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
    c_.state.run.running = false;
    lock_.unlock();
}

void FinalRunCommands::Obrab5() {
    MyThread* worker = worker_;
    if (!worker) return;
    worker_ = nullptr;
    worker->wait();  // the body has returned; this only lets the thread finish
    worker->deleteLater();
    c_.form5.hide();
    c_.state.run.running = false;
    lock_.unlock();
    if (worker->cancelled()) {
        // The zones fitted so far are discarded with their lines.
        c_.pages.testing->clearLines();
        AfterFinalRunFailed(c_.pages);
        emit runEnded();
        return;
    }
    if (!worker->error().isEmpty()) {
        AfterFinalRunFailed(c_.pages);
        c_.messages.error(worker->error());
        emit runEnded();
        return;
    }
    const int64_t elapsed = TickCount() - c_.state.run.RunStartTime;
    c_.state.run.peaks = std::move(worker->result().peaks);
    c_.state.run.warnings = std::move(worker->result().warnings);
    c_.state.run.ProblemCount = worker->result().ProblemCount;
    c_.pages.testing->showCounters(elapsed, c_.state.run.peaks.size(), c_.state.run.ProblemCount);
    c_.run([this] { showResults(); });
    c_.guidance(kAfterFinalRunGuidance);
    AfterFinalRun(c_.pages);
    emit runEnded();
}

void FinalRunCommands::showResults() {
    const PeakResults& peaks = c_.state.run.peaks;
    std::vector<int> starts;
    const PointList curves = FittedCurves(peaks, c_.state.run.GaussPower, &starts);
    c_.pages.spectrum->showLayer(SpectrumLayer::FittedPeaks, curves, ViewOf(c_.menu.Series6View), starts);

    c_.pages.info->showResults(ResultsTable(peaks), c_.state.run.warnings);
    showReferenceTables();
}

// The mass lists, the reference tables and the theory charts of the run ("Стандартные массы"
// follows from the tables when runEnded reaches the calibration commands).
void FinalRunCommands::showReferenceTables() {
    ProgramState& s = c_.state;
    const MassAssignment assigned = AssignMasses(s.spectrum, s.run.peaks, s.ReferenceMasses);
    c_.pages.calibrationMasses->showPeaks(assigned.massLines);
    c_.pages.singlePeak->showPeaks(assigned.massLines);
    // A range too wide builds empty tables; the operator is told why.
    if (assigned.refusal) c_.info(QString::fromStdString(*assigned.refusal));
    showTheory(assigned);
}

void FinalRunCommands::ShowTheoryAndTables() {
    if (running() || c_.state.run.peaks.empty()) return;  // the end of a run shows them anyway
    showTheory(AssignMasses(c_.state.spectrum, c_.state.run.peaks, c_.state.ReferenceMasses));
}

void FinalRunCommands::showTheory(const MassAssignment& assigned) {
    ProgramState& s = c_.state;
    s.tables = assigned.tables;
    s.calibration.practiceCH = assigned.ch.practice;
    s.calibration.practiceCF = assigned.cf.practice;
    c_.pages.theoryCH->showSaws(assigned.ch.theory, assigned.ch.practice.points);
    c_.pages.theoryCF->showSaws(assigned.cf.theory, assigned.cf.practice.points);
}

}  // namespace orvelo::ui
