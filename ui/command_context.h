#pragma once
// What every command of the window works with: the processing session (changed only through
// its operations), the window's flags, the pages and the modal helpers. The main window owns
// all of it and hands one CommandContext to each group of commands; the menu and the progress
// window go only to the groups that use them (the runs, the remembered view toggles).
#include <QString>
#include <functional>

#include "ui/pages.h"
#include "session/session.h"
#include "ui/window_state.h"

class QWidget;

namespace orvelo::ui {

class FileDialogs;
class MessageBoxes;

struct CommandContext {
    QWidget* window;
    Session& session;
    WindowState& flags;
    Pages& pages;
    FileDialogs& files;
    MessageBoxes& messages;

    // The one wrapper of every handler: an OrveloError or std::exception ends the command and
    // its text is shown in an error box; the window stays usable.
    void run(const std::function<void()>& command);
    // A guidance message, shown only while "Подсказка" is on.
    void guidance(const char* text);
    void info(const QString& text);
    // The folder of the program's own executable.
    static QString programFolder();
};

}  // namespace orvelo::ui
