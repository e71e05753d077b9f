#pragma once
// What the window remembers between sessions: last folders, geometry, the settings of the
// pages and the view toggles. One QSettings file; every value is written at once, so that a
// crash loses nothing and nothing is left to write when the window goes away.
//
// The program keeps its settings in the user's configuration folder (orvelo/orvelo.conf); tests
// give each window a file of its own in a temporary folder, so they start from empty settings
// and never touch the user's.
#include <QString>
#include <QVariant>
#include <memory>

class QSettings;
class QWidget;

namespace orvelo::ui {

class SettingsStore {
public:
    SettingsStore();                              // the user's settings
    explicit SettingsStore(const QString& file);  // an INI file of its own
    ~SettingsStore();

    // `fallback` when the key was never written (first start) or holds no value.
    QVariant value(const QString& key, const QVariant& fallback = {}) const;
    void setValue(const QString& key, const QVariant& value);

private:
    std::unique_ptr<QSettings> settings_;
};

// The window's place, size and maximized state; RestoreGeometry is false at the first start.
void RememberGeometry(SettingsStore& settings, const QWidget& window);
bool RestoreGeometry(const SettingsStore& settings, QWidget& window);

}  // namespace orvelo::ui
