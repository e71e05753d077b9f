#pragma once
// The spectrum commands: load ("Открыть...", the preset folders), save ("Сохранить..."), the
// display reset ClearAll, the preliminary run ("Предварительная") and the zone list with its
// zone chart and ">>".
#include <QObject>
#include <QPointer>
#include <QThread>
#include <memory>

#include "core/spectrum_state.h"
#include "ui/availability.h"
#include "ui/command_context.h"
#include "ui/page_spectrum.h"

namespace orvelo::ui {

class MainMenu;
class ProgressWindow;
struct ViewToggle;

class SpectrumCommands : public QObject {
    Q_OBJECT
public:
    SpectrumCommands(CommandContext& context, MainMenu& menu, ProgressWindow& form5);
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

    // True when the spectrum in memory may be given up: it is saved, or the operator saved it
    // now or chose not to; false when the operator cancelled.
    bool maySpectrumBeDiscarded();

    // Empties every page's display (never the session's state), shows the stored settings again.
    void ClearAll(ClearMode mode);
    // Series1 from stage 0 (after a load and after the masses are recalculated).
    void drawSpectrum();

    // A preliminary run long enough to be noticed runs on a worker, on a copy of the spectrum
    // state, while the progress window shows that the program is busy and the commands that
    // would change its inputs are locked; its results replace the state when it ends.
    bool preliminaryRunning() const { return preliminary_ != nullptr; }

signals:
    void preliminaryEnded();
    // A spectrum file (and its scan, 0 for a text file) has been read and shown.
    void spectrumOpened(const QString& path, int scan);

private:
    void askAndLoadSpectrum();
    void loadSpectrum(const QString& path, int scan = 0);
    bool saveSpectrum();
    void startPreliminary();
    void showChosenZone();
    void takeChosenHeight();
    void startPreliminaryWorker();
    void preliminaryFinished();
    void showPreliminary();
    void drawStages();

    CommandContext& c_;
    MainMenu& menu_;
    ProgressWindow& form5_;
    struct PreliminaryJob;
    std::shared_ptr<PreliminaryJob> job_;
    QPointer<QThread> preliminary_;
    RunLock lock_;
};

// A Chart1 layer's shown flag and markers from its two "Вид" entries.
LayerView ViewOf(const ViewToggle& view);

}  // namespace orvelo::ui
