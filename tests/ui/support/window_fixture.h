#pragma once
// A main window with scripted dialogs, shown offscreen, and the small spectra the tests load.
#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ui/main_window.h"
#include "ui/support/scripted_dialogs.h"

namespace orvelo::ui::testing {

struct WindowFixture {
    WindowFixture();
    // A later start: the window over the settings file that an earlier fixture's window wrote in
    // its `settingsDir`.
    explicit WindowFixture(const QTemporaryDir& settings);
    ~WindowFixture();

    template <class T>
    T* find(const char* name) const {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        if (!w) qFatal("no control named %s", name);
        return w;
    }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QListWidget* list(const char* name) const { return find<QListWidget>(name); }

    // Opens `path` through "Открыть..." with the dialog answered.
    void open(const QString& path);
    // "Предварительная" with the given KolUsred.
    void preliminary(int kolUsred);
    // ">>" on zone line `line`, then "Последняя"; waits for the end of the run.
    void finalRun(int line);
    // Peak `peak` of ListBox5 taken into the calibration list ("<<").
    void take(int peak);
    // `text` typed as the true mass of line `line` of ListBox6 and attached.
    void attachTyped(int line, const QString& text);

    ScriptedFileDialogs* files;
    RecordingMessageBoxes* messages;
    QTemporaryDir settingsDir;  // the window's settings file, empty at the start of each fixture
    std::unique_ptr<MainWindow> window;
    QTemporaryDir dir;

private:
    void start(const QTemporaryDir& settings);
};

// A spectrum of `count` samples, step 0.01 from mass 20, with Gaussian peaks (resolving
// power 300) of the given heights at 21, 22, 23 ...; whole-number intensities; CR LF.
QString WriteSpectrum(const QString& path, const std::vector<double>& heights, int count = 600,
                      const QString& title = QStringLiteral("Тест"));

// The first line of a zone list whose height, its first number, is above `height`; -1 if none.
int FirstZoneAbove(const QListWidget* zones, int height);

// Pins the locale to a decimal comma, so that any stray locale-dependent number text shows.
void PinCommaLocale();

// Whether ORVELO_SCREENSHOT_DIR names a folder for pictures of the window to look at.
bool ScreenshotsWanted();
// When it does, saves the picture of `widget` there as `name`; otherwise does nothing.
void SaveScreenshot(QWidget& widget, const QString& name);

}  // namespace orvelo::ui::testing
