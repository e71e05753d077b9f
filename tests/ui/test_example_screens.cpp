// The bundled example spectrum processed in the window from load to single peak, with every
// page drawn. With ORVELO_SCREENSHOT_DIR set, the pages are saved there as PNG files.
#include <QDir>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include "ui/chart_surface.h"
#include "ui/main_menu.h"
#include "ui/page_info.h"
#include "ui/support/window_fixture.h"

using namespace orvelo::ui;
using namespace orvelo::ui::testing;

class ExampleScreensTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void exampleSpectrumGoesThroughEveryPage();
};

void ExampleScreensTest::exampleSpectrumGoesThroughEveryPage() {
    WindowFixture f;
    f.open(QStringLiteral(ORVELO_TEST_DATA "/../../examples/example_spectrum.txt"));
    QVERIFY(f.messages->errors.isEmpty());
    f.preliminary(150);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    QListWidget* zones = f.list("ListBox1");
    QVERIFY(zones->count() > 10);
    const int firstPeak = FirstZoneAbove(zones, 200);  // the first zone clearly above the noise
    QVERIFY(firstPeak >= 0);
    zones->setCurrentRow(firstPeak);
    const QString out = qEnvironmentVariable("ORVELO_SCREENSHOT_DIR");
    f.window->pageControl()->setCurrentIndex(2);
    QTest::qWait(30);
    if (!out.isEmpty()) QVERIFY(f.window->grab().save(QDir(out).filePath(QStringLiteral("zones.png"))));
    f.finalRun(firstPeak);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    PageInfo& info = *f.window->pages().info;
    QCOMPARE(info.rowCount(), 16);  // the fifteen peaks of the example
    bool found43 = false;
    for (int r = 1; r < info.rowCount(); ++r) found43 |= qAbs(info.cell(1, r).toDouble() - 43.05478) < 0.002;
    QVERIFY(found43);

    f.list("ListBox1")->setCurrentRow(firstPeak);
    f.list("ListBox8")->setCurrentRow(8);
    f.button("Button16")->click();
    f.window->menu().PeakMassLabels->trigger();  // the fitted masses over the peaks
    QTabWidget* tabs = f.window->pageControl();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QTest::qWait(30);
        if (i == 0) {  // the readout of the ninth peak in the status bar
            ChartSurface* chart = f.find<ChartSurface>("Chart1");
            const auto& peak = f.window->state().run.peaks.at(8);
            QTest::mouseMove(chart->mouseArea(),
                             QPoint(int(chart->pixelOfKey(peak.Centre)), int(chart->pixelOfValue(peak.Height / 2))));
            // A real X server moves the cursor after the call returns: wait for the readout.
            QTRY_VERIFY(f.window->statusBar()->currentMessage().contains(QStringLiteral("Пик: m/z = ")));
        }
        const QPixmap shot = f.window->grab();
        QVERIFY(!shot.isNull());
        if (!out.isEmpty()) QVERIFY(shot.save(QDir(out).filePath(QStringLiteral("page%1.png").arg(i + 1))));
    }
}

QTEST_MAIN(ExampleScreensTest)
#include "test_example_screens.moc"
