#include "ui/recent_files.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>

#include "ui/availability.h"
#include "ui/main_menu.h"
#include "ui/settings_store.h"
#include "ui/spectrum_commands.h"

namespace orvelo::ui {
namespace {

const QString kRecentKey = QStringLiteral("recentFiles");

// The first local file of a drag, or an empty text.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

class DropTarget : public QObject {
public:
    DropTarget(QMainWindow& window, SpectrumCommands& spectrum, MainMenu& menu)
        : QObject(&window), spectrum_(spectrum), menu_(menu) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (menu_.N2->isEnabled() && !DroppedFile(drag->mimeData()).isEmpty()) drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString file = DroppedFile(drop->mimeData());
            if (!menu_.N2->isEnabled() || file.isEmpty()) return true;
            drop->acceptProposedAction();
            spectrum_.openSpectrum(file);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    SpectrumCommands& spectrum_;
    MainMenu& menu_;
};

}  // namespace

QString RecentEntry(const QString& path, int scan) {
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return scan > 0 ? QStringLiteral("%1\t%2").arg(scan).arg(file) : file;
}

RecentSpectrum ParseRecentEntry(const QString& entry) {
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    bool ok = false;
    const int scan = tab > 0 ? entry.left(tab).toInt(&ok) : 0;
    if (ok && scan > 0) return {entry.mid(tab + 1), scan};
    return {entry, 0};
}

QStringList WithRecentFile(QStringList recent, const QString& path, int count, int scan) {
    const QString file = RecentEntry(path, scan);
    recent.removeAll(file);
    recent.prepend(file);
    while (recent.size() > count) recent.removeLast();
    return recent;
}

RecentFiles::RecentFiles(MainMenu& menu, SpectrumCommands& spectrum, SettingsStore& settings)
    : mainMenu_(menu), spectrum_(spectrum), settings_(settings) {
    files_ = settings_.value(kRecentKey).toStringList();
    while (files_.size() > kRecentFilesCount) files_.removeLast();
    menu_ = new QMenu(QStringLiteral("Последние файлы"), menu.N1);
    menu_->setObjectName(QStringLiteral("RecentFiles"));
    // Right under "Папки", beside the other ways of opening a spectrum.
    const QList<QAction*> entries = menu.N1->actions();
    const qsizetype folders = entries.indexOf(menu.N9->menuAction());
    menu.N1->insertMenu(folders + 1 < entries.size() ? entries[folders + 1] : menu.N42, menu_);
    rebuild();
}

void RecentFiles::followAvailability() { SetRecentFilesAvailable(*menu_, mainMenu_, !files_.isEmpty()); }

void RecentFiles::remember(const QString& path, int scan) {
    files_ = WithRecentFile(files_, path, kRecentFilesCount, scan);
    settings_.setValue(kRecentKey, files_);
    rebuild();
}

// The entries are rebuilt while one of them may still be delivering its own click (opening a
// recent file remembers it again), so the old ones go away once control is back in the loop.
void RecentFiles::rebuild() {
    for (QAction* old : menu_->actions()) {
        menu_->removeAction(old);
        old->deleteLater();
    }
    for (int i = 0; i < files_.size(); ++i) {
        const RecentSpectrum recent = ParseRecentEntry(files_[i]);
        QString caption = QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(recent.path).fileName());
        if (recent.scan > 0) caption += QStringLiteral(", спектр %1").arg(recent.scan);
        QAction* entry = menu_->addAction(caption);
        entry->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        entry->setToolTip(recent.path);
        entry->setStatusTip(recent.path);
        connect(entry, &QAction::triggered, this, [this, recent] { spectrum_.openSpectrum(recent.path, recent.scan); });
    }
    menu_->setToolTipsVisible(true);
    followAvailability();
}

void AcceptSpectrumDrops(QMainWindow& window, SpectrumCommands& spectrum, MainMenu& menu) {
    window.setAcceptDrops(true);
    window.installEventFilter(new DropTarget(window, spectrum, menu));
}

}  // namespace orvelo::ui
