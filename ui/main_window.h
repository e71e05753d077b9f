#pragma once
// Form1, the program's only working window: the menu, the page control with its nine pages,
// the layout rule, the preset folders and command availability.
//
// Each page owns its controls and its displays: it shows core results through its own
// operations, empties them in its clear(), and tells what the operator asks through signals.
// The commands live in their groups (spectrum, final run, single peak, calibration, theory
// charts, reports, pictures), classes over one CommandContext and their own pages, whose
// handlers wrap their work in context.run(). A group tells the others what to show through its
// signals. Every connection between the menu, the pages and the command groups is made here, in
// connectMenu(), connectViewToggles(), connectGroups() and connectPages(); ClearAll (the display
// reset) and the availability table (availability.h) are the two services the window lends the
// groups through the context.
#include <QMainWindow>
#include <memory>

#include "ui/command_context.h"
#include "ui/dialogs.h"
#include "ui/page_spectrum.h"
#include "ui/pages.h"
#include "ui/settings_store.h"

class QLabel;
class QTabWidget;

namespace orvelo::ui {

class AutoCalibrationCommands;
class CalibrationCommands;
class ChartImageCommands;
class CompositionPanel;
class PeakLabels;
class FinalRunCommands;
class IonMassesChoice;
class MainMenu;
class ProgressWindow;
class RecentFiles;
class RememberedSettings;
class ReportCommands;
class SinglePeakCommands;
class SpectrumCommands;
class TheoryCommands;
struct PresetFolder;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Null helpers: the Qt dialogs and message boxes, and the user's settings.
    explicit MainWindow(std::unique_ptr<FileDialogs> files = nullptr, std::unique_ptr<MessageBoxes> messages = nullptr,
                        std::unique_ptr<SettingsStore> settings = nullptr);
    ~MainWindow() override;

    const SessionState& state() const { return session_.state(); }
    WindowState& flags() { return flags_; }
    Pages& pages() { return pages_; }
    MainMenu& menu() { return *menu_; }
    ProgressWindow& progressWindow() { return *form5_; }
    QTabWidget* pageControl() const { return PageControl1; }
    SpectrumCommands& spectrumCommands() { return *spectrum_; }
    FinalRunCommands& finalRunCommands() { return *finalRun_; }
    CalibrationCommands& calibrationCommands() { return *calibration_; }
    ReportCommands& reportCommands() { return *reports_; }
    const PeakLabels& peakLabels() const { return pages_.spectrum->peakLabels(); }
    SettingsStore& settings() { return *settings_; }
    RecentFiles& recentFiles() { return *recent_; }
    CompositionPanel& compositionPanel() { return *composition_; }

    // The layout rule over the pages' current sizes (FormResize).
    void applyLayoutRule();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void createPages();
    void createGroups();
    // Empties every page's display (never the session's state), shows the stored settings again.
    void ClearAll(ClearMode mode);
    void showAvailability();
    void showReaderWarnings(const QStringList& warnings);
    void connectGroups();
    void connectMenu();
    void connectViewToggles();
    void connectPages();
    void N11Click();
    void N31Click();
    void N44Click();
    void N14Click();
    void openPresetFolder(const PresetFolder& folder);

    Session session_;
    WindowState flags_;
    Pages pages_;
    std::unique_ptr<FileDialogs> files_;
    std::unique_ptr<MessageBoxes> messages_;
    std::unique_ptr<SettingsStore> settings_;
    QTabWidget* PageControl1 = nullptr;
    MainMenu* menu_ = nullptr;
    ProgressWindow* form5_ = nullptr;
    QLabel* readerWarnings_ = nullptr;  // "ReaderWarnings" in the status bar, hidden while empty
    std::unique_ptr<CommandContext> context_;
    std::unique_ptr<SpectrumCommands> spectrum_;
    std::unique_ptr<FinalRunCommands> finalRun_;
    std::unique_ptr<SinglePeakCommands> singlePeak_;
    std::unique_ptr<CalibrationCommands> calibration_;
    std::unique_ptr<TheoryCommands> theory_;
    std::unique_ptr<ReportCommands> reports_;
    ChartImageCommands* images_ = nullptr;
    CompositionPanel* composition_ = nullptr;  // beside the table of "Информация"
    std::unique_ptr<AutoCalibrationCommands> autoCalibration_;
    std::unique_ptr<IonMassesChoice> ionMasses_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<RememberedSettings> remembered_;
    bool closePending_ = false;
};

}  // namespace orvelo::ui
