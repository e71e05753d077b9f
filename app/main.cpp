#include <QApplication>
#include <QIcon>

#include "ui/main_window.h"
#include "ui/spectrum_commands.h"
#include "ui/translations.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Орвело"));
    orvelo::ui::InstallToolkitTranslations(app);
    QIcon icon(QStringLiteral(":/icons/orvelo-256.png"));
    icon.addFile(QStringLiteral(":/icons/orvelo-32.png"));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("orvelo"));
    orvelo::ui::MainWindow window;
    if (orvelo::ui::RestoreGeometry(window.settings(), window)) window.show();
    else window.showMaximized();
    // "orvelo FILE" (the desktop entry's "orvelo %f") opens FILE as "Открыть..." would.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) window.spectrumCommands().openSpectrum(arguments.at(1));
    return app.exec();
}
