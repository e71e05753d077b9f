#pragma once
// The settings of "Настройка" (KolUsred, KrivoMn, the peak shape) and the "Вид" toggles kept
// between sessions, and the dialogs reopened in the folder they were last left in. A first
// start (nothing remembered) keeps the start values of the window.
#include <QObject>
#include <memory>

#include "fitting/final_run.h"
#include "ui/dialogs.h"

namespace orvelo::ui {

class MainMenu;
class PageSettings;
class SettingsStore;
struct CommandContext;

class RememberedSettings : public QObject {
    Q_OBJECT
public:
    // Restores what was remembered; run after the window has set its start values.
    RememberedSettings(CommandContext& context, PageSettings& page, MainMenu& menu, SettingsStore& settings);

    // After the preliminary run has taken them: only values the run accepted are kept.
    void rememberRunSettings();
    void rememberGaussShape(GaussShape shape);

private:
    void restore();

    CommandContext& c_;
    PageSettings& page_;
    MainMenu& menu_;
    SettingsStore& settings_;
};

// Every dialog that asks to start in a folder starts instead in the folder where its last
// answer was chosen, while that folder exists. Dialogs are told apart by their title and the
// folder they ask for, so each preset folder keeps its own memory.
class RememberingFileDialogs : public FileDialogs {
public:
    RememberingFileDialogs(std::unique_ptr<FileDialogs> dialogs, SettingsStore& settings);
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    std::optional<int> chooseScan(const ScanRequest& request) override { return dialogs_->chooseScan(request); }
    QString chosenType() const override { return dialogs_->chosenType(); }
    std::optional<QSize> imageSize(QSize onScreen) override { return dialogs_->imageSize(onScreen); }

private:
    FileRequest remembered(const FileRequest& request) const;
    void remember(const FileRequest& request, const std::optional<QString>& answer);

    std::unique_ptr<FileDialogs> dialogs_;
    SettingsStore& settings_;
};

}  // namespace orvelo::ui
