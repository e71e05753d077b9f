#include "ui/spectrum_commands.h"

#include <QPushButton>
#include <QThread>

#include "core/errors.h"
#include "core/number_text.h"
#include "core/spectrum_file.h"
#include "processing/preliminary.h"
#include "processing/zone_list.h"
#include "ui/availability.h"
#include "ui/chart_surface.h"
#include "ui/dialogs.h"
#include "ui/guidance_texts.h"
#include "ui/main_menu.h"
#include "ui/ms_data_commands.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_calibration_masses.h"
#include "ui/page_info.h"
#include "ui/page_settings.h"
#include "ui/page_single_peak.h"
#include "ui/page_spectrum.h"
#include "ui/page_testing.h"
#include "ui/page_theory.h"
#include "ui/secondary_windows.h"

namespace orvelo::ui {
namespace {

// The busy cursor over Chart1 for as long as a load runs, whatever way it ends.
class BusyChart {
public:
    explicit BusyChart(ChartSurface& chart) : chart_(chart) { chart_.setBusy(true); }
    ~BusyChart() {
        chart_.setBusy(false);
        chart_.setBuffered(true);
    }

private:
    ChartSurface& chart_;
};

}  // namespace

LayerView ViewOf(const ViewToggle& view) { return {view.shown->isChecked(), view.markers->isChecked()}; }

struct SpectrumCommands::PreliminaryJob {
    SpectrumState state;
    QString error;
};

SpectrumCommands::~SpectrumCommands() {
    // The worker never calls into the window, so waiting for it here cannot block it.
    if (preliminary_) {
        preliminary_->wait();
        delete preliminary_.data();
    }
}

SpectrumCommands::SpectrumCommands(CommandContext& context, MainMenu& menu, ProgressWindow& form5)
    : c_(context), menu_(menu), form5_(form5) {}

void SpectrumCommands::ReadFromFile() { c_.run([this] { askAndLoadSpectrum(); }); }
void SpectrumCommands::WriteToFile() { c_.run([this] { saveSpectrum(); }); }

bool SpectrumCommands::saveSpectrum() {
    const auto name = c_.files.saveFile({QStringLiteral("Сохранить спектр"), QStringLiteral("Спектр.txt"),
                                         QString::fromStdString(c_.flags.StartPapka), QString::fromUtf8(kTextFilter)});
    if (!name) return false;
    WriteSpectrumFile(name->toStdString(), c_.session.state().spectrum);
    c_.session.MarkSaved();
    return true;
}

bool SpectrumCommands::maySpectrumBeDiscarded() {
    if (!c_.session.state().SpectrumUnsaved) return true;
    switch (c_.messages.question(QString::fromUtf8(kUnsavedSpectrumQuestion))) {
        case MessageBoxes::Answer::No: return true;
        case MessageBoxes::Answer::Cancel: return false;
        case MessageBoxes::Answer::Yes: break;
    }
    bool saved = false;
    c_.run([&] { saved = saveSpectrum(); });
    return saved;
}
void SpectrumCommands::Button9Click() { c_.run([this] { startPreliminary(); }); }
void SpectrumCommands::ListBox1Click() { c_.run([this] { showChosenZone(); }); }
void SpectrumCommands::BitBtn1Click() { c_.run([this] { takeChosenHeight(); }); }

// The file is parsed completely before anything changes, so a failed load keeps the previous
// spectrum and every display as they were.
void SpectrumCommands::askAndLoadSpectrum() {
    if (!maySpectrumBeDiscarded()) return;
    const auto name = c_.files.openFile({QStringLiteral("Открыть спектр"), QString(),
                                         QString::fromStdString(c_.flags.StartPapka),
                                         QString::fromUtf8(kSpectrumOpenFilter)});
    if (name) loadSpectrum(*name);
}

void SpectrumCommands::openSpectrum(const QString& path, int scan) {
    c_.run([this, &path, scan] {
        if (maySpectrumBeDiscarded()) loadSpectrum(path, scan);
    });
}

// A text spectrum, or a scan of an mzML or mzXML file (the operator chooses it when the file
// holds several).
void SpectrumCommands::loadSpectrum(const QString& path, int scan) {
    ChartSurface& chart = c_.pages.spectrum->chart();
    {
        BusyChart busy(chart);
        std::optional<LoadedInput> input = ReadInputFile(path, c_.files, scan);
        if (!input) return;  // the scan chooser was cancelled
        scan = input->scan;
        ClearAll(ClearMode::NewSpectrum);
        chart.setBuffered(false);
        if (const auto& title = input->spectrum.title) {
            chart.clearTitle();
            chart.addTitleLine(QString::fromStdString(*title));
        }
        c_.session.Load(std::move(input->spectrum), std::move(input->source));
        drawSpectrum();
    }
    c_.guidance(kAfterLoadGuidance);
    AfterSpectrumLoaded(c_.pages);
    emit spectrumOpened(path, scan);
}

void SpectrumCommands::drawSpectrum() {
    c_.pages.spectrum->showSpectrum(c_.session.state().spectrum.Spectrum, menu_.Series1View.markers->isChecked());
}

void SpectrumCommands::ClearAll(ClearMode mode) {
    Pages& p = c_.pages;
    p.spectrum->clear(mode);
    p.info->clear();
    p.settings->clear(mode);
    p.calibrationMasses->clear();
    p.calibrationCurve->clear();
    p.theoryCH->clear();
    p.theoryCF->clear();
    p.singlePeak->clear();
    p.testing->clear();
    const SpectrumState& s = c_.session.state().spectrum;
    p.settings->showSettings(s.KolUsred, s.KrivoMn);
    c_.flags.HoverIndex = -1;
    AfterClearAll(p);
}

void SpectrumCommands::startPreliminary() {
    if (preliminaryRunning()) return;
    AtPreliminaryStart(c_.pages);
    try {
        // An absurd KolUsred is refused before anything changes.
        c_.session.BeginPreliminary(c_.pages.settings->kolUsredText().toStdString(),
                                    c_.pages.settings->krivoMnText().toStdString());
        ClearAll(ClearMode::Preliminary);
        const SpectrumState& s = c_.session.state().spectrum;
        if (SmoothingWork(s.KolUsred, s.Spectrum.count()) > kNoticeableSmoothingWork) {
            startPreliminaryWorker();
            return;
        }
        c_.session.RunPreliminaryHere();
    } catch (...) {
        AfterPreliminaryFailed(c_.pages);
        throw;
    }
    showPreliminary();
}

void SpectrumCommands::startPreliminaryWorker() {
    job_ = std::make_shared<PreliminaryJob>();
    job_->state = c_.session.state().spectrum;
    form5_.startBusy();
    lock_.lock(c_.pages, menu_);
    auto job = job_;
    QThread* worker = QThread::create([job] {
        try {
            RunPreliminary(job->state);
        } catch (const std::exception& e) {
            job->error = QString::fromStdString(ErrorMessage(e));
        }
    });
    preliminary_ = worker;
    connect(worker, &QThread::finished, this, &SpectrumCommands::preliminaryFinished);
    worker->start();
}

void SpectrumCommands::preliminaryFinished() {
    QThread* worker = preliminary_;
    if (!worker) return;
    preliminary_ = nullptr;
    worker->wait();
    worker->deleteLater();
    const std::shared_ptr<PreliminaryJob> job = std::move(job_);
    form5_.finish();
    lock_.unlock();
    // The stages before a failed step stay built, as in a run on this thread.
    c_.session.AdoptPreliminary(std::move(job->state));
    if (!job->error.isEmpty()) {
        AfterPreliminaryFailed(c_.pages);
        c_.messages.error(job->error);
    } else {
        c_.run([this] { showPreliminary(); });
    }
    emit preliminaryEnded();
}

void SpectrumCommands::showPreliminary() {
    const SpectrumState& s = c_.session.state().spectrum;
    drawStages();
    c_.pages.settings->showZones(ZoneListLines(s));
    if (c_.flags.Podskazka) c_.guidance(kAfterPreliminaryGuidance);
    else c_.info(QString::fromUtf8(kPreliminaryDoneMessage));
    AfterPreliminary(c_.pages);
}

void SpectrumCommands::drawStages() {
    const SpectrumState& s = c_.session.state().spectrum;
    PageSpectrum& sp = *c_.pages.spectrum;
    MainMenu& m = menu_;
    sp.showLayer(SpectrumLayer::Smooth, s.Smooth, ViewOf(m.Series2View));
    sp.showLayer(SpectrumLayer::Extrema, s.Extrema, ViewOf(m.Series3View));
    sp.showLayer(SpectrumLayer::Trimmed, s.Trimmed, ViewOf(m.Series4View));
    sp.showLayer(SpectrumLayer::PeakValley, s.PeakValley, ViewOf(m.Series5View));
    sp.showLayer(SpectrumLayer::FinalExtrema, s.FinalExtrema, ViewOf(m.Series16View));
}

void SpectrumCommands::showChosenZone() {
    PageSettings& page = *c_.pages.settings;
    page.clearZone();
    const int line = page.chosenZone();
    if (line < 0) return;
    page.showZone(c_.session.ChooseZone(line));
}

void SpectrumCommands::takeChosenHeight() {
    PageSettings& page = *c_.pages.settings;
    if (page.chosenZone() < 0) return;
    const QString head = page.chosenZoneLine().section(QLatin1Char(','), 0, 0);
    const double height = ParseNumberOrThrow(head.toStdString());
    page.setThresholdText(QString::fromStdString(FormatFixed(height, 0)));
}

}  // namespace orvelo::ui
