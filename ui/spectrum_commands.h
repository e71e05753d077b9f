#pragma once
// The spectrum commands on pages "Спектр" and "Настройка": load ("Открыть...", the preset
// folders), save ("Сохранить..."), the preliminary run ("Предварительная") and the zone list
// with its zone chart and ">>".
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QThread>
#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "core/spectrum_state.h"
#include "ui/command_context.h"
#include "ui/main_menu.h"
#include "ui/page_spectrum.h"

namespace orvelo::ui {

class PageSettings;
class ProgressWindow;

// Every Chart1 layer with its two "Вид" entries: the shown flag and the markers.
using LayerToggles = std::array<std::pair<SpectrumLayer, ViewToggle>, static_cast<size_t>(SpectrumLayer::Count)>;
LayerToggles LayerTogglesOf(const MainMenu& menu);

// How a Chart1 layer is to be shown when a step fills it: the check marks of its two "Вид"
// entries.
using LayerViews = std::function<LayerView(SpectrumLayer)>;
LayerView ViewOf(const MainMenu& menu, SpectrumLayer layer);

class SpectrumCommands : public QObject {
    Q_OBJECT
public:
    SpectrumCommands(CommandContext& context, PageSpectrum& spectrum, PageSettings& settings, LayerViews views,
                     ProgressWindow& form5);
    ~SpectrumCommands() override;

    // Each runs inside the command wrapper.
    void ReadFromFile();
    // Opens `path` as "Открыть..." would after its dialog (recent files, a dropped file, the
    // command line).
    // `scan` (from 1) picks a scan of an mzML/mzXML file without asking; 0 asks when the file
    // holds several.
    void openSpectrum(const QString& path, int scan = 0);
    void WriteToFile();
    void Button9Click();
    void ListBox1Click();
    void BitBtn1Click();
    // "Авто": the noise height proposed from the zones goes into the field (the operator may
    // still change it), and the guidance says where it came from.
    void AutoHeightButtonClick();

    // True when the spectrum in memory may be given up: it is saved, or the operator saved it
    // now or chose not to; false when the operator cancelled.
    bool maySpectrumBeDiscarded();

    // After "Пересчитать данные": every display emptied, Series1 drawn from the corrected stage 0.
    void showRecalculated();

    // A preliminary run long enough to be noticed runs on a worker, on a copy of the spectrum
    // state, while the progress window shows that the program is busy and the commands that
    // would change its inputs are off; its results replace the state when it ends.
    bool preliminaryRunning() const { return preliminary_ != nullptr; }

signals:
    void preliminaryEnded();
    // A spectrum file (and its scan, 0 for a text file) has been read and shown.
    void spectrumOpened(const QString& path, int scan);
    // What the reader of an instrument file had to say about how it read the file just opened
    // (empty for a file read as it is written); for the operator to see without a message box.
    void readerWarnings(const QStringList& warnings);

private:
    void askAndLoadSpectrum();
    void loadSpectrum(const QString& path, int scan = 0);
    bool saveSpectrum();
    void startPreliminary();
    void showChosenZone();
    void takeChosenHeight();
    void proposeNoiseHeight();
    void startPreliminaryWorker();
    void preliminaryFinished();
    void showPreliminary();
    void drawSpectrum();
    void drawStages();

    CommandContext& c_;
    PageSpectrum& spectrum_;
    PageSettings& settings_;
    LayerViews views_;
    ProgressWindow& form5_;
    struct PreliminaryJob;
    std::shared_ptr<PreliminaryJob> job_;
    QPointer<QThread> preliminary_;
};

}  // namespace orvelo::ui
