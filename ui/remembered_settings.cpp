#include "ui/remembered_settings.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFileInfo>

#include "core/number_text.h"
#include "ui/command_context.h"
#include "ui/main_menu.h"
#include "ui/page_settings.h"
#include "ui/settings_store.h"

namespace orvelo::ui {
namespace {

const QString kKolUsredKey = QStringLiteral("settings/KolUsred");
const QString kKrivoMnKey = QStringLiteral("settings/KrivoMn");
const QString kFlatTopKey = QStringLiteral("settings/flatTop");

// The "Вид" entries that toggle, each with its key.
std::vector<std::pair<QAction*, QString>> ViewToggles(MainMenu& m) {
    std::vector<std::pair<QAction*, QString>> toggles{{m.N11, QStringLiteral("view/N11")}};
    const std::pair<const ViewToggle*, const char*> views[] = {
        {&m.Series1View, "Series1"},  {&m.Series6View, "Series6"}, {&m.Series2View, "Series2"},
        {&m.Series3View, "Series3"},  {&m.Series4View, "Series4"}, {&m.Series5View, "Series5"},
        {&m.Series16View, "Series16"}};
    for (const auto& [view, name] : views) {
        toggles.emplace_back(view->shown, QStringLiteral("view/%1/shown").arg(QLatin1String(name)));
        toggles.emplace_back(view->markers, QStringLiteral("view/%1/markers").arg(QLatin1String(name)));
    }
    return toggles;
}

QString FolderKey(const FileRequest& request) {
    const QByteArray id = (request.title + QLatin1Char('\n') + request.startFolder).toUtf8();
    return QStringLiteral("folders/") +
           QString::fromLatin1(QCryptographicHash::hash(id, QCryptographicHash::Sha1).toHex());
}

}  // namespace

RememberedSettings::RememberedSettings(CommandContext& context, PageSettings& page, MainMenu& menu,
                                       SettingsStore& settings)
    : c_(context), page_(page), menu_(menu), settings_(settings) {
    restore();
    for (const auto& [action, key] : ViewToggles(menu_))
        connect(action, &QAction::triggered, this,
                [this, a = action, k = key] { settings_.setValue(k, a->isChecked()); });
}

void RememberedSettings::restore() {
    PageSettings& page = page_;
    const QVariant kolUsred = settings_.value(kKolUsredKey);
    const QVariant krivoMn = settings_.value(kKrivoMnKey);
    c_.session.RestoreRunSettings(kolUsred.isValid() ? std::optional<int>(kolUsred.toInt()) : std::nullopt,
                                  krivoMn.isValid() ? std::optional<double>(krivoMn.toDouble()) : std::nullopt);
    const SpectrumState& s = c_.session.state().spectrum;
    page.showSettings(s.KolUsred, s.KrivoMn);
    if (settings_.value(kFlatTopKey, false).toBool()) page.setGaussShape(GaussShape::FlatTop);
    // A toggle is restored by its own command, so the chart follows its check mark.
    for (const auto& [action, key] : ViewToggles(menu_)) {
        const QVariant on = settings_.value(key);
        if (on.isValid() && on.toBool() != action->isChecked()) action->trigger();
    }
}

void RememberedSettings::rememberGaussShape(GaussShape shape) {
    settings_.setValue(kFlatTopKey, shape == GaussShape::FlatTop);
}

void RememberedSettings::rememberRunSettings() {
    settings_.setValue(kKolUsredKey, c_.session.state().spectrum.KolUsred);
    settings_.setValue(kKrivoMnKey, c_.session.state().spectrum.KrivoMn);
}

RememberingFileDialogs::RememberingFileDialogs(std::unique_ptr<FileDialogs> dialogs, SettingsStore& settings)
    : dialogs_(std::move(dialogs)), settings_(settings) {}

std::optional<QString> RememberingFileDialogs::openFile(const FileRequest& request) {
    const std::optional<QString> answer = dialogs_->openFile(remembered(request));
    remember(request, answer);
    return answer;
}

std::optional<QString> RememberingFileDialogs::saveFile(const FileRequest& request) {
    const std::optional<QString> answer = dialogs_->saveFile(remembered(request));
    remember(request, answer);
    return answer;
}

// A dialog left where the one before it was (no start folder) is not redirected.
FileRequest RememberingFileDialogs::remembered(const FileRequest& request) const {
    FileRequest r = request;
    if (r.startFolder.isEmpty()) return r;
    const QString folder = settings_.value(FolderKey(request)).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) r.startFolder = folder;
    return r;
}

void RememberingFileDialogs::remember(const FileRequest& request, const std::optional<QString>& answer) {
    if (!answer || request.startFolder.isEmpty()) return;
    settings_.setValue(FolderKey(request), QFileInfo(*answer).absolutePath());
}

}  // namespace orvelo::ui
