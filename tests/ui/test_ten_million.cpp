// A spectrum of ten million samples through the window: load, draw, preliminary processing,
// a final run, with the time of each step printed. It takes a minute and several GiB, so it
// runs only when ORVELO_LONG_TESTS is set (run it under `/usr/bin/time -v` to see its peak memory).
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "ui/chart_surface.h"
#include "ui/final_run.h"
#include "ui/page_spectrum.h"
#include "ui/support/window_fixture.h"

using namespace orvelo::ui;
using namespace orvelo::ui::testing;

class TenMillionTest : public QObject {
    Q_OBJECT
private slots:
    void loadsProcessesAndDrawsTenMillionSamples();
};

void TenMillionTest::loadsProcessesAndDrawsTenMillionSamples() {
    if (qEnvironmentVariableIsEmpty("ORVELO_LONG_TESTS")) QSKIP("set ORVELO_LONG_TESTS=1 to run");
    WindowFixture f;
    const int samples = 10'000'000;
    const QString path = f.dir.filePath("ten-million.txt");
    {
        // Masses 100 .. 1100 in steps of 0.0001, a peak every unit of mass, noise on a baseline.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray chunk;
        uint32_t seed = 7;
        for (int i = 0; i < samples; ++i) {
            const double m = 100 + i * 0.0001;
            const double d = (m - std::floor(m) - 0.5) * 3000;
            seed = seed * 1664525u + 1013904223u;
            const int y = static_cast<int>(50 + 5000 * std::exp(-d * d) + (seed >> 28));
            chunk += QByteArray::number(m, 'f', 4) + '\t' + QByteArray::number(y) + "\r\n";
            if (chunk.size() > (1 << 20)) file.write(chunk), chunk.clear();
        }
        file.write(chunk);
    }
    QElapsedTimer t;
    t.start();
    f.open(path);
    QCoreApplication::processEvents();
    qInfo("load and draw: %lld ms", static_cast<long long>(t.restart()));
    QCOMPARE(f.window->pages().spectrum->chart().series(QStringLiteral("Series1"))->count(), samples);
    QVERIFY(f.messages->errors.isEmpty());

    f.preliminary(10);
    QCoreApplication::processEvents();
    qInfo("preliminary (KolUsred 10): %lld ms", static_cast<long long>(t.restart()));
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));

    f.find<QLineEdit>("Edit4")->setText(QStringLiteral("2000"));
    QSignalSpy ended(&f.window->finalRunCommands(), &FinalRunCommands::runEnded);
    f.button("Button13")->click();
    if (f.window->finalRunCommands().running()) QVERIFY(ended.wait(600000));
    qInfo("final run: %lld ms (%s peaks)", static_cast<long long>(t.restart()),
          qPrintable(f.find<QLabel>("Label11")->text()));
    QCOMPARE(f.find<QLabel>("Label11")->text().toInt(), 1000);

    ChartSurface& chart = f.window->pages().spectrum->chart();
    chart.redrawNow();
    qInfo("redraw: %lld ms", static_cast<long long>(t.restart()));
    chart.zoomToPixels(QPoint(300, 200), QPoint(500, 600));
    chart.redrawNow();
    chart.panByPixels(40, 0);
    chart.redrawNow();
    chart.undoZoom();
    chart.redrawNow();
    qInfo("zoom, pan, undo with redraws: %lld ms", static_cast<long long>(t.restart()));
}

QTEST_MAIN(TenMillionTest)
#include "test_ten_million.moc"
