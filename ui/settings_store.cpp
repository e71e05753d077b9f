#include "ui/settings_store.h"

#include <QSettings>
#include <QWidget>

namespace orvelo::ui {

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("orvelo"),
                                            QStringLiteral("orvelo"))) {}

SettingsStore::SettingsStore(const QString& file)
    : settings_(std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

QVariant SettingsStore::value(const QString& key, const QVariant& fallback) const {
    const QVariant v = settings_->value(key);
    return v.isValid() ? v : fallback;
}

void SettingsStore::setValue(const QString& key, const QVariant& value) {
    settings_->setValue(key, value);
    settings_->sync();
}

namespace {
const QString kGeometryKey = QStringLiteral("window/geometry");
}  // namespace

void RememberGeometry(SettingsStore& settings, const QWidget& window) {
    settings.setValue(kGeometryKey, window.saveGeometry());
}

bool RestoreGeometry(const SettingsStore& settings, QWidget& window) {
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

}  // namespace orvelo::ui
