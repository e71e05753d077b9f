#include "ui/settings_store.h"

#include <QSettings>

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

}  // namespace orvelo::ui
