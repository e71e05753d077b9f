// What the window remembers between sessions, each session a new window over the same settings
// file: the first start shows the start values; after a session the "Настройка" settings, the
// "Вид" toggles, the geometry, the dialog's folder and "Последние файлы" come back; a recent
// file and a dropped file open as "Открыть..." would.
#include <QFile>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include "ui/chart_surface.h"
#include "ui/main_menu.h"
#include "ui/page_spectrum.h"
#include "ui/recent_files.h"
#include "ui/support/ch_spectrum.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

void Drop(QWidget& window, const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

}  // namespace

class RememberingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }

    void secondSessionStartsWhereTheFirstEnded() {
        WindowFixture first;
        // First start: the start values of the window.
        QCOMPARE(first.find<QLineEdit>("Edit2")->text(), QStringLiteral("150"));
        QCOMPARE(first.find<QLineEdit>("Edit3")->text(), QStringLiteral("10"));
        QVERIFY(first.find<QRadioButton>("RadioButton3")->isChecked());
        QVERIFY(!first.window->menu().N11->isChecked());
        QVERIFY(!first.window->recentFiles().menu()->menuAction()->isEnabled());
        QVERIFY(!RestoreGeometry(first.window->settings(), *first.window));

        const QString spectrum = WriteCHSpectrum(first.dir.filePath("ch.txt"));
        LoadAndProcess(first, spectrum);  // KolUsred 5
        first.find<QRadioButton>("RadioButton4")->click();
        first.window->menu().N11->trigger();
        first.window->menu().Series1View.markers->trigger();
        first.window->resize(1000, 800);
        QVERIFY(first.window->close());

        WindowFixture second(first.settingsDir);
        QCOMPARE(second.find<QLineEdit>("Edit2")->text(), QStringLiteral("5"));
        QCOMPARE(second.window->state().spectrum.KolUsred, 5);
        QVERIFY(second.find<QRadioButton>("RadioButton4")->isChecked());
        QVERIFY(second.window->menu().N11->isChecked());
        QVERIFY(second.window->pages().spectrum->chart().logarithmic());
        QCOMPARE(second.window->menu().Series1View.markers->isChecked(),
                 first.window->menu().Series1View.markers->isChecked());
        QVERIFY(RestoreGeometry(second.window->settings(), *second.window));
        QCOMPARE(second.window->size(), QSize(1000, 800));

        second.window->menu().N2->trigger();  // cancelled: the dialog starts where the file was
        QCOMPARE(second.files->requests.back().request.startFolder, first.dir.path());

        QMenu* recent = second.window->recentFiles().menu();
        QVERIFY(recent->menuAction()->isEnabled());
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions().front()->text(), QStringLiteral("&1 ch.txt"));
        if (ScreenshotsWanted()) {  // the "Файл" menu with its submenu open, for a look
            QMenu* file = second.window->menu().N1;
            file->popup(second.window->mapToGlobal(QPoint(0, 20)));
            recent->popup(file->mapToGlobal(QPoint(file->width(), file->actionGeometry(recent->menuAction()).top())));
            SaveScreenshot(*file, QStringLiteral("file_menu.png"));
            SaveScreenshot(*recent, QStringLiteral("recent_files.png"));
            recent->hide();
            file->hide();
        }
        recent->actions().front()->trigger();
        QVERIFY2(second.messages->errors.isEmpty(), qPrintable(second.messages->errors.join('|')));
        QVERIFY(second.window->state().spectrum.Spectrum.count() > 0);
        QVERIFY(second.button("Button9")->isEnabled());
    }

    void droppedFileOpensAndJoinsTheRecentFiles() {
        WindowFixture f;
        const QString a = WriteSpectrum(f.dir.filePath("a.txt"), {500, 800});
        const QString b = WriteSpectrum(f.dir.filePath("b.txt"), {700});
        Drop(*f.window, a);
        Drop(*f.window, b);
        QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
        QVERIFY(f.button("Button9")->isEnabled());
        Drop(*f.window, a);  // opened again: back to the top, listed once
        QCOMPARE(f.window->recentFiles().files(), (QStringList{a, b}));

        QStringList many;
        for (int i = 0; i < 10; ++i) many = WithRecentFile(many, QStringLiteral("/s/%1.txt").arg(i));
        QCOMPARE(many.size(), kRecentFilesCount);
        QCOMPARE(many.front(), QStringLiteral("/s/9.txt"));
    }

    // A scan of an instrument file is remembered with its number and reopened without asking.
    void recentScanReopensWithoutTheChooser() {
        WindowFixture f;
        const QString run = f.dir.filePath("run.mzXML");
        QVERIFY(QFile::copy(QStringLiteral(ORVELO_TEST_DATA "/mzml/microscans.mzXML"), run));
        f.files->scanAnswers = {3};
        Drop(*f.window, run);
        QCOMPARE(f.files->scanRequests.size(), std::size_t{1});
        const QString title = QString::fromStdString(f.window->state().spectrum.SpectrumTitle);
        const QStringList expected{RecentEntry(run, 3)};
        QCOMPARE(f.window->recentFiles().files(), expected);
        QAction* entry = f.window->recentFiles().menu()->actions().front();
        QVERIFY2(entry->text().endsWith(QStringLiteral(", спектр 3")), qPrintable(entry->text()));

        Drop(*f.window, WriteSpectrum(f.dir.filePath("a.txt"), {500}));
        f.window->recentFiles().menu()->actions().back()->trigger();
        QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
        QCOMPARE(f.files->scanRequests.size(), std::size_t{1});  // no second question
        QCOMPARE(QString::fromStdString(f.window->state().spectrum.SpectrumTitle), title);
    }
};

QTEST_MAIN(RememberingTest)
#include "test_remembering.moc"
