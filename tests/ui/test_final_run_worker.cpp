// The worker of the final run: its per-zone step runs on the user-interface thread in zone
// order while the worker waits; the run locks the commands that would change its inputs; and
// closing or destroying the window during a run neither hangs nor crashes.
#include <QAbstractItemModel>
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include "ui/final_run.h"
#include "ui/main_menu.h"
#include "ui/secondary_windows.h"
#include "ui/support/window_fixture.h"

using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

std::vector<double> ManyPeaks(int n) {
    std::vector<double> heights;
    for (int k = 0; k < n; ++k) heights.push_back(500 + 97 * ((k * 7) % 13));
    return heights;
}

// Loads a spectrum of `peaks` peaks, runs the preliminary run and puts 0 into Edit4.
void Prepare(WindowFixture& f, int peaks) {
    f.open(WriteSpectrum(f.dir.filePath("many.txt"), ManyPeaks(peaks), 100 * (peaks + 2)));
    f.preliminary(10);
    f.find<QLineEdit>("Edit4")->setText(QStringLiteral("0"));
}

}  // namespace

class FinalRunWorkerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void zoneStepsRunOnTheWindowThreadInZoneOrder();
    void runLocksTheCommandsThatChangeItsInputs();
    void closingDuringRunCancelsAndThenCloses();
    void stopButtonOfTheProgressWindowCancelsTheRun();
    void destroyingTheWindowDuringRunStopsTheWorker();
};

void FinalRunWorkerTest::zoneStepsRunOnTheWindowThreadInZoneOrder() {
    WindowFixture f;
    Prepare(f, 30);
    QList<int> zones;
    QList<int> gauge;
    bool allOnWindowThread = true;
    QListWidget* listBox4 = f.list("ListBox4");
    QProgressBar* bar = f.window->progressWindow().Gauge1;
    connect(listBox4->model(), &QAbstractItemModel::rowsInserted, this, [&](const QModelIndex&, int first, int) {
        allOnWindowThread &= QThread::currentThread() == qApp->thread();
        zones << listBox4->item(first)->text().section(',', 0, 0).toInt();
        gauge << bar->value();
    });
    QSignalSpy ended(&f.window->finalRunCommands(), &FinalRunCommands::runEnded);
    f.button("Button13")->click();
    QVERIFY(f.window->finalRunCommands().running());
    QVERIFY(f.window->progressWindow().isVisible());
    QCOMPARE(bar->maximum(), 30);  // one zone per peak
    QVERIFY(ended.wait(60000));
    QVERIFY(allOnWindowThread);
    QCOMPARE(zones.size(), bar->maximum());
    for (int i = 0; i < zones.size(); ++i) {
        QCOMPARE(zones[i], i + 1);
        QCOMPARE(gauge[i], i + 1);  // the bar has counted this zone when its lines appear
    }
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(!f.window->progressWindow().isVisible());
}

void FinalRunWorkerTest::runLocksTheCommandsThatChangeItsInputs() {
    WindowFixture f;
    Prepare(f, 10);
    MainMenu& m = f.window->menu();
    QSignalSpy ended(&f.window->finalRunCommands(), &FinalRunCommands::runEnded);
    f.button("Button13")->click();
    QVERIFY(f.window->finalRunCommands().running());
    QVERIFY(!m.N2->isEnabled() && !m.N9->menuAction()->isEnabled());
    for (const char* name :
         {"Button9", "Button13", "BitBtn1", "Button16", "Button17", "Button1", "ButtonAuto", "Button15", "Button5"})
        QVERIFY2(!f.button(name)->isEnabled(), name);
    QVERIFY(!f.list("ListBox1")->isEnabled() && !f.list("ListBox8")->isEnabled());
    QVERIFY(m.N42->isEnabled());  // saving the spectrum only reads it
    QVERIFY(ended.wait(60000));
    QVERIFY(m.N2->isEnabled() && m.N9->menuAction()->isEnabled());
    QVERIFY(f.list("ListBox1")->isEnabled() && f.button("BitBtn1")->isEnabled());
    QVERIFY(!f.button("Button9")->isEnabled() && !f.button("Button13")->isEnabled());
    QVERIFY(f.button("Button16")->isEnabled() && f.button("Button1")->isEnabled());
    QVERIFY(f.button("ButtonAuto")->isEnabled());
}

void FinalRunWorkerTest::closingDuringRunCancelsAndThenCloses() {
    WindowFixture f;
    Prepare(f, 60);
    f.messages->clear();
    f.button("Button13")->click();
    QVERIFY(f.window->finalRunCommands().running());
    QVERIFY(!f.window->close());  // refused for now: the run is cancelled first
    QVERIFY(f.window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->finalRunCommands().running(), 60000);
    QTRY_VERIFY(!f.window->isVisible());
    QVERIFY(f.window->state().run.peaks.empty());  // the cancelled run left no results
    QVERIFY(f.messages->infos.isEmpty() && f.messages->errors.isEmpty());
}

// "Стоп" on the progress window (a window of the main window, kept above it) stops the run as
// closing does: the zones fitted so far are discarded and "Последняя" may run again.
void FinalRunWorkerTest::stopButtonOfTheProgressWindowCancelsTheRun() {
    WindowFixture f;
    Prepare(f, 60);
    f.messages->clear();
    ProgressWindow& form5 = f.window->progressWindow();
    QVERIFY(form5.parentWidget() == f.window.get());
    QVERIFY(form5.windowType() == Qt::Dialog);
    QSignalSpy ended(&f.window->finalRunCommands(), &FinalRunCommands::runEnded);
    f.button("Button13")->click();
    QVERIFY(form5.isVisible());
    auto* stop = form5.findChild<QPushButton*>(QStringLiteral("StopButton"));
    QVERIFY(stop && stop->text() == QStringLiteral("Стоп"));
    if (const QString out = qEnvironmentVariable("ORVELO_SCREENSHOT_DIR"); !out.isEmpty())
        QVERIFY(form5.grab().save(QDir(out).filePath(QStringLiteral("progress.png"))));
    stop->click();
    QVERIFY(ended.wait(60000));
    QVERIFY(!f.window->finalRunCommands().running());
    QVERIFY(!form5.isVisible());
    QVERIFY(f.window->state().run.peaks.empty());
    QCOMPARE(f.list("ListBox4")->count(), 0);
    QCOMPARE(f.list("ListBox3")->count(), 0);
    QVERIFY(f.button("Button13")->isEnabled() && f.window->menu().N2->isEnabled());
    QVERIFY(!f.button("Button16")->isEnabled());
    QVERIFY(f.messages->infos.isEmpty() && f.messages->errors.isEmpty());
}

void FinalRunWorkerTest::destroyingTheWindowDuringRunStopsTheWorker() {
    auto f = std::make_unique<WindowFixture>();
    Prepare(*f, 60);
    f->button("Button13")->click();
    QVERIFY(f->window->finalRunCommands().running());
    QTest::qWait(5);
    f.reset();  // must neither hang on the blocked worker nor leave it running
    QVERIFY(true);
}

QTEST_MAIN(FinalRunWorkerTest)
#include "test_final_run_worker.moc"
