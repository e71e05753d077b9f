#pragma once
// What every command of the window works with: the processing session (changed only through
// its operations), the window's flags and the modal helpers, and two narrow services of the
// window: the display reset and the availability table. No pages and no menu: each group is
// given its own pages, and tells the others what they show through its signals, which the main
// window connects.
#include <QString>
#include <functional>

#include "session/session.h"
#include "ui/pages.h"
#include "ui/window_state.h"

class QWidget;

namespace orvelo::ui {

class FileDialogs;
class MessageBoxes;

struct CommandContext {
    QWidget* window;
    Session& session;
    WindowState& flags;
    FileDialogs& files;
    MessageBoxes& messages;
    // ClearAll: empties every page's display (never the session's state) and shows the stored
    // settings again.
    std::function<void(ClearMode)> clearDisplays;
    // Shows the availability table of the session's state and the window's flags.
    std::function<void()> showAvailability;

    // The one wrapper of every handler: an OrveloError or std::exception ends the command and
    // its text is shown in an error box; the window stays usable. Either way the availability
    // table is shown afterwards.
    void run(const std::function<void()>& command);
    // A guidance message, shown only while "Подсказка" is on.
    void guidance(const char* text);
    void info(const QString& text);
    // The folder of the program's own executable.
    static QString programFolder();
};

}  // namespace orvelo::ui
