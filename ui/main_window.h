#pragma once
// Form1, the program's only working window: the menu, the page control with its nine pages,
// the layout rule, the preset folders and command availability. The commands themselves live
// in their groups (SpectrumCommands, FinalRunCommands, SinglePeakCommands), which get one
// CommandContext over the window's state and pages.
//
// A new group of commands (calibration, theory charts, reports, bitmaps) follows the same
// pattern: a class over CommandContext whose handlers wrap their work in context.run(), created
// in the constructor after the pages and connected in connectPages() / connectMenu(); its
// enable/disable steps go into availability.h; displays it keeps beyond the ones ClearAll
// already empties get a hook in context().clearHooks.
#include <QMainWindow>
#include <memory>

#include "ui/command_context.h"
#include "ui/dialogs.h"
#include "ui/pages.h"
#include "ui/program_state.h"
#include "ui/settings_store.h"

class QTabWidget;

namespace orvelo::ui {

class AutoCalibrationCommands;
class CalibrationCommands;
class ChartImageCommands;
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
    explicit MainWindow(std::unique_ptr<FileDialogs> files = nullptr,
                        std::unique_ptr<MessageBoxes> messages = nullptr,
                        std::unique_ptr<SettingsStore> settings = nullptr);
    ~MainWindow() override;

    ProgramState& state() { return state_; }
    Pages& pages() { return pages_; }
    MainMenu& menu() { return *menu_; }
    ProgressWindow& progressWindow() { return *form5_; }
    CommandContext& context() { return *context_; }
    QTabWidget* pageControl() const { return PageControl1; }
    SpectrumCommands& spectrumCommands() { return *spectrum_; }
    FinalRunCommands& finalRunCommands() { return *finalRun_; }
    CalibrationCommands& calibrationCommands() { return *calibration_; }
    TheoryCommands& theoryCommands() { return *theory_; }
    ReportCommands& reportCommands() { return *reports_; }
    ChartImageCommands& chartImages() { return *images_; }
    PeakLabels& peakLabels() { return *peakLabels_; }
    AutoCalibrationCommands& autoCalibrationCommands() { return *autoCalibration_; }
    SettingsStore& settings() { return *settings_; }
    IonMassesChoice& ionMassesChoice() { return *ionMasses_; }
    RecentFiles& recentFiles() { return *recent_; }

    // The layout rule over the pages' current sizes (FormResize).
    void applyLayoutRule();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void createPages();
    void connectMenu();
    void connectViewToggles();
    void connectPages();
    void N11Click();
    void N31Click();
    void N44Click();
    void N14Click();
    void openPresetFolder(const PresetFolder& folder);

    ProgramState state_;
    Pages pages_;
    std::unique_ptr<FileDialogs> files_;
    std::unique_ptr<MessageBoxes> messages_;
    std::unique_ptr<SettingsStore> settings_;
    QTabWidget* PageControl1 = nullptr;
    MainMenu* menu_ = nullptr;
    ProgressWindow* form5_ = nullptr;
    std::unique_ptr<CommandContext> context_;
    std::unique_ptr<SpectrumCommands> spectrum_;
    std::unique_ptr<FinalRunCommands> finalRun_;
    std::unique_ptr<SinglePeakCommands> singlePeak_;
    std::unique_ptr<CalibrationCommands> calibration_;
    std::unique_ptr<TheoryCommands> theory_;
    std::unique_ptr<ReportCommands> reports_;
    ChartImageCommands* images_ = nullptr;
    std::unique_ptr<PeakLabels> peakLabels_;
    std::unique_ptr<AutoCalibrationCommands> autoCalibration_;
    std::unique_ptr<IonMassesChoice> ionMasses_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<RememberedSettings> remembered_;
    bool closePending_ = false;
};

}  // namespace orvelo::ui
