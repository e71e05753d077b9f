#pragma once
// Opening a spectrum without the dialog: "Файл" > "Последние файлы" (the spectra opened last,
// newest first, kept between sessions) and a file dropped on the window. Both open the file as
// "Открыть..." does after its dialog, and only while "Открыть..." itself is available.
#include <QObject>
#include <QStringList>

class QMainWindow;
class QMenu;

namespace orvelo::ui {

class MainMenu;
class SettingsStore;
class SpectrumCommands;

inline constexpr int kRecentFilesCount = 8;

// An entry of the list: the file's absolute path, and for a scan of an mzML/mzXML file its
// number before it, separated by a tab ("3\t/data/run.mzML").
QString RecentEntry(const QString& path, int scan = 0);
struct RecentSpectrum {
    QString path;
    int scan = 0;
};
RecentSpectrum ParseRecentEntry(const QString& entry);

// `recent` with the entry of `path` (and `scan`) moved (or added) to the front, each entry once,
// at most `count` entries.
QStringList WithRecentFile(QStringList recent, const QString& path, int count = kRecentFilesCount, int scan = 0);

class RecentFiles : public QObject {
    Q_OBJECT
public:
    RecentFiles(MainMenu& menu, SpectrumCommands& spectrum, SettingsStore& settings);

    QStringList files() const { return files_; }
    QMenu* menu() const { return menu_; }  // "Последние файлы"

    // A spectrum file (and its scan, 0 for a text file) has been opened.
    void remember(const QString& path, int scan);
    // On while "Открыть..." is and the list holds a file.
    void followAvailability();

private:
    void rebuild();

    MainMenu& mainMenu_;
    SpectrumCommands& spectrum_;
    SettingsStore& settings_;
    QStringList files_;
    QMenu* menu_;
};

// A spectrum file dropped anywhere on `window` is opened (the first, if several are dropped).
void AcceptSpectrumDrops(QMainWindow& window, SpectrumCommands& spectrum, MainMenu& menu);

}  // namespace orvelo::ui
