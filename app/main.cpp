#include <QApplication>
#include <QIcon>

#include "ui/main_window.h"
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
    window.showMaximized();
    return app.exec();
}
