#include "ui/spectrum_commands.h"

#include <QPushButton>
#include <QThread>

#include "core/errors.h"
#include "core/number_text.h"
#include "core/spectrum_file.h"
#include "processing/preliminary.h"
#include "processing/zone_list.h"
#include "ui/chart_surface.h"
#include "ui/dialogs.h"
#include "ui/guidance_texts.h"
#include "ui/main_menu.h"
#include "ui/ms_data_commands.h"
#include "ui/page_settings.h"
#include "ui/page_spectrum.h"
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

LayerToggles LayerTogglesOf(const MainMenu& m) {
    using L = SpectrumLayer;
    return {{{L::Spectrum, m.Series1View},
             {L::FittedPeaks, m.Series6View},
             {L::Smooth, m.Series2View},
             {L::Extrema, m.Series3View},
             {L::Trimmed, m.Series4View},
             {L::PeakValley, m.Series5View},
             {L::FinalExtrema, m.Series16View}}};
}

LayerView ViewOf(const MainMenu& menu, SpectrumLayer layer) {
    for (const auto& [l, view] : LayerTogglesOf(menu))
        if (l == layer) return {view.shown->isChecked(), view.markers->isChecked()};
    return {};
}

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

SpectrumCommands::SpectrumCommands(CommandContext& context, PageSpectrum& spectrum, PageSettings& settings,
                                   LayerViews views, ProgressWindow& form5)
    : c_(context), spectrum_(spectrum), settings_(settings), views_(std::move(views)), form5_(form5) {}

void SpectrumCommands::ReadFromFile() {
    c_.run([this] { askAndLoadSpectrum(); });
}
void SpectrumCommands::WriteToFile() {
    c_.run([this] { saveSpectrum(); });
}

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
void SpectrumCommands::Button9Click() {
    c_.run([this] { startPreliminary(); });
}
void SpectrumCommands::ListBox1Click() {
    c_.run([this] { showChosenZone(); });
}
void SpectrumCommands::BitBtn1Click() {
    c_.run([this] { takeChosenHeight(); });
}
void SpectrumCommands::AutoHeightButtonClick() {
    c_.run([this] { proposeNoiseHeight(); });
}

// The file is parsed completely before anything changes, so a failed load keeps the previous
// spectrum and every display as they were.
void SpectrumCommands::askAndLoadSpectrum() {
    if (!maySpectrumBeDiscarded()) return;
    const auto name =
        c_.files.openFile({QStringLiteral("Открыть спектр"), QString(), QString::fromStdString(c_.flags.StartPapka),
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
    ChartSurface& chart = spectrum_.chart();
    QStringList warnings;
    {
        BusyChart busy(chart);
        std::optional<LoadedInput> input = ReadInputFile(path, c_.files, scan);
        if (!input) return;  // the scan chooser was cancelled
        scan = input->scan;
        for (const std::string& warning : input->warnings) warnings << QString::fromStdString(warning);
        c_.clearDisplays(ClearMode::NewSpectrum);
        chart.setBuffered(false);
        if (const auto& title = input->spectrum.title) {
            chart.clearTitle();
            chart.addTitleLine(QString::fromStdString(*title));
        }
        c_.session.Load(std::move(input->spectrum), std::move(input->source));
        c_.flags.workflow.markLoaded();
        drawSpectrum();
    }
    emit readerWarnings(warnings);
    c_.guidance(kAfterLoadGuidance);
    emit spectrumOpened(path, scan);
}

void SpectrumCommands::drawSpectrum() {
    spectrum_.showSpectrum(c_.session.state().spectrum.Spectrum, views_(SpectrumLayer::Spectrum).markers);
}

void SpectrumCommands::showRecalculated() {
    c_.clearDisplays(ClearMode::NewSpectrum);
    drawSpectrum();
}

// An absurd KolUsred is refused before anything changes; a failed run leaves "Предварительная"
// available, so the operator may retry without loading again.
void SpectrumCommands::startPreliminary() {
    if (preliminaryRunning()) return;
    c_.session.BeginPreliminary(settings_.kolUsredText().toStdString(), settings_.krivoMnText().toStdString());
    c_.flags.workflow.markPreliminaryBegun();
    c_.clearDisplays(ClearMode::Preliminary);
    const SpectrumState& s = c_.session.state().spectrum;
    if (SmoothingWork(s.KolUsred, s.Spectrum.count()) > kNoticeableSmoothingWork) {
        startPreliminaryWorker();
        return;
    }
    c_.session.RunPreliminaryHere();
    showPreliminary();
}

void SpectrumCommands::startPreliminaryWorker() {
    job_ = std::make_shared<PreliminaryJob>();
    job_->state = c_.session.state().spectrum;
    form5_.startBusy();
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
    // The stages before a failed step stay built, as in a run on this thread.
    c_.session.AdoptPreliminary(std::move(job->state));
    if (!job->error.isEmpty()) {
        c_.showAvailability();
        c_.messages.error(job->error);
    } else {
        c_.run([this] { showPreliminary(); });
    }
    emit preliminaryEnded();
}

void SpectrumCommands::showPreliminary() {
    const SpectrumState& s = c_.session.state().spectrum;
    drawStages();
    settings_.showZones(ZoneListLines(s));
    c_.flags.workflow.markPreliminaryDone();
    if (c_.flags.Podskazka) c_.guidance(kAfterPreliminaryGuidance);
    else c_.info(QString::fromUtf8(kPreliminaryDoneMessage));
}

void SpectrumCommands::drawStages() {
    const SpectrumState& s = c_.session.state().spectrum;
    for (const auto& [layer, points] : {std::pair{SpectrumLayer::Smooth, &s.Smooth},
                                        {SpectrumLayer::Extrema, &s.Extrema},
                                        {SpectrumLayer::Trimmed, &s.Trimmed},
                                        {SpectrumLayer::PeakValley, &s.PeakValley},
                                        {SpectrumLayer::FinalExtrema, &s.FinalExtrema}})
        spectrum_.showLayer(layer, *points, views_(layer));
}

void SpectrumCommands::showChosenZone() {
    settings_.clearZone();
    const int line = settings_.chosenZone();
    if (line < 0) return;
    settings_.showZone(c_.session.ChooseZone(line));
}

void SpectrumCommands::takeChosenHeight() {
    if (settings_.chosenZone() < 0) return;
    const QString head = settings_.chosenZoneLine().section(QLatin1Char(','), 0, 0);
    const double height = ParseNumberOrThrow(head.toStdString());
    settings_.setThresholdText(QString::fromStdString(FormatFixed(height, 0)));
}

void SpectrumCommands::proposeNoiseHeight() {
    const NoiseEstimate e = c_.session.ProposeNoiseHeight();
    const std::string note = NoiseEstimateNote(e, c_.session.state().spectrum.zones.count());
    if (!e.ok) throw OrveloError(note);
    settings_.setThresholdText(QString::number(e.proposed));
    c_.guidance(note.c_str());
}

}  // namespace orvelo::ui
