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
            spectrum_.OpenSpectrum(file);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    SpectrumCommands& spectrum_;
    MainMenu& menu_;
};

}  // namespace

QStringList WithRecentFile(QStringList recent, const QString& path, int count) {
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
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
    connect(&spectrum_, &SpectrumCommands::spectrumOpened, this, [this](const QString& path) { remember(path); });
    connect(menu.N2, &QAction::changed, this, [this] { SetRecentFilesAvailable(*menu_, mainMenu_, !files_.isEmpty()); });
    rebuild();
}

void RecentFiles::remember(const QString& path) {
    files_ = WithRecentFile(files_, path);
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
        const QString file = files_[i];
        QAction* entry = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName()));
        entry->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        entry->setToolTip(file);
        entry->setStatusTip(file);
        connect(entry, &QAction::triggered, this, [this, file] { spectrum_.OpenSpectrum(file); });
    }
    menu_->setToolTipsVisible(true);
    SetRecentFilesAvailable(*menu_, mainMenu_, !files_.isEmpty());
}

void AcceptSpectrumDrops(QMainWindow& window, SpectrumCommands& spectrum, MainMenu& menu) {
    window.setAcceptDrops(true);
    window.installEventFilter(new DropTarget(window, spectrum, menu));
}

}  // namespace orvelo::ui
