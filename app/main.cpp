#include <QApplication>

#include "ui/main_window.h"
#include "ui/translations.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Орвело"));
    orvelo::ui::InstallToolkitTranslations(app);
    orvelo::ui::MainWindow window;
    window.showMaximized();
    return app.exec();
}
