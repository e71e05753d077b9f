#include "ui/support/window_fixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <clocale>
#include <cmath>

#include "core/cp1251.h"
#include "ui/spectrum_commands.h"
#include "ui/final_run.h"
#include "ui/main_menu.h"
#include "ui/settings_store.h"

namespace orvelo::ui::testing {

WindowFixture::WindowFixture() { start(settingsDir); }

WindowFixture::WindowFixture(const QTemporaryDir& settings) { start(settings); }

void WindowFixture::start(const QTemporaryDir& settings) {
    auto f = std::make_unique<ScriptedFileDialogs>();
    auto m = std::make_unique<RecordingMessageBoxes>();
    files = f.get();
    messages = m.get();
    auto store = std::make_unique<SettingsStore>(settings.filePath(QStringLiteral("orvelo.conf")));
    window = std::make_unique<MainWindow>(std::move(f), std::move(m), std::move(store));
    window->resize(1288, 1004);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qWarning("window not exposed");
}

WindowFixture::~WindowFixture() = default;

void WindowFixture::open(const QString& path) {
    files->answers.push_back(path);
    window->menu().N2->trigger();
}

void WindowFixture::preliminary(int kolUsred) {
    find<QLineEdit>("Edit2")->setText(QString::number(kolUsred));
    button("Button9")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window->spectrumCommands().preliminaryRunning(), 300000);
}

void WindowFixture::finalRun(int line) {
    list("ListBox1")->setCurrentRow(line);
    button("BitBtn1")->click();
    QSignalSpy ended(&window->finalRunCommands(), &FinalRunCommands::runEnded);
    button("Button13")->click();
    if (window->finalRunCommands().running()) QVERIFY(ended.wait(60000));
}

void WindowFixture::take(int peak) {
    list("ListBox5")->setCurrentRow(peak);
    button("Button1")->click();
}

void WindowFixture::attachTyped(int line, const QString& text) {
    list("ListBox6")->setCurrentRow(line);
    find<QLineEdit>("Edit1")->setText(text);
    button("Button2")->click();
}

QString WriteSpectrum(const QString& path, const std::vector<double>& heights, int count, const QString& title) {
    const QString header = QStringLiteral("\"%1\"\r\n\"\"\r\n\"\"\r\n").arg(title);
    QByteArray text = QByteArray::fromStdString(Utf8ToCp1251(header.toStdString()));
    for (int i = 0; i < count; ++i) {
        const double m = 20.0 + i * 0.01;
        double y = 20;
        for (std::size_t k = 0; k < heights.size(); ++k) {
            const double centre = 21.0 + static_cast<double>(k);
            const double fwhm = centre / 300.0;
            y += heights[k] * std::exp(-4 * std::log(2.0) * std::pow((m - centre) / fwhm, 2));
        }
        text += QByteArray::number(m, 'f', 5) + "     " + QByteArray::number(std::lround(y)) + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

int FirstZoneAbove(const QListWidget* zones, int height) {
    for (int i = 0; i < zones->count(); ++i)
        if (zones->item(i)->text().section(',', 0, 0).toInt() > height) return i;
    return -1;
}

void PinCommaLocale() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    std::setlocale(LC_NUMERIC, "ru_RU.UTF-8");
}

namespace {
const char* const kScreenshotDir = "ORVELO_SCREENSHOT_DIR";
}  // namespace

bool ScreenshotsWanted() { return !qEnvironmentVariableIsEmpty(kScreenshotDir); }

void SaveScreenshot(QWidget& widget, const QString& name) {
    if (!ScreenshotsWanted()) return;
    QVERIFY(widget.grab().save(QDir(qEnvironmentVariable(kScreenshotDir)).filePath(name)));
}

}  // namespace orvelo::ui::testing
