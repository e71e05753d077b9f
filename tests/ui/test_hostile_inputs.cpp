// Inputs meant to break the program: absurd settings, spectra that are not what they seem,
// thresholds that keep nothing or everything, calibration lists at their limits. Each gives a
// clear message or a correct result, never a crash, a NaN in a table cell or a freeze.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QTest>
#include <QSignalSpy>
#include <QTimer>

#include "core/spectrum_file.h"
#include "ui/chart_surface.h"
#include "ui/final_run.h"
#include "ui/main_menu.h"
#include "ui/page_settings.h"
#include "ui/page_spectrum.h"
#include "ui/secondary_windows.h"
#include "ui/support/window_fixture.h"

using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

const std::vector<double> kThreePeaks = {500, 2000, 1000};

QString WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
    return path;
}

bool TableHasNoNumberFaults(QTableWidget* grid) {
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            if (auto* item = grid->item(r, c))
                if (item->text().contains(QLatin1String("NAN")) || item->text().contains(QLatin1String("INF")))
                    return false;
    return true;
}

}  // namespace

class HostileInputsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void absurdSettingsAreRefusedBeforeAnythingChanges();
    void spectraThatAreNotWhatTheySeem();
    void thresholdThatKeepsNoZone();
    void thresholdThatKeepsEveryZoneOfANoisySpectrum();
    void calibrationListOfAHundredPeaksAndOddTrueMasses();
};

void HostileInputsTest::absurdSettingsAreRefusedBeforeAnythingChanges() {
    WindowFixture f;
    f.open(WriteSpectrum(f.dir.filePath("s.txt"), kThreePeaks));
    f.preliminary(5);
    const int smoothPoints = f.window->pages().spectrum->chart().series(QStringLiteral("Series2"))->count();
    QVERIFY(smoothPoints > 0);
    f.open(f.dir.filePath("s.txt"));  // "Предварительная" needs a new load

    auto* edit2 = f.find<QLineEdit>("Edit2");
    edit2->setText(QStringLiteral("2000000000"));
    f.button("Button9")->click();
    QCOMPARE(f.messages->errors.size(), 1);
    QVERIFY(f.messages->errors.last().startsWith(QStringLiteral("KolUsred = 2000000000 слишком велико")));
    QCOMPARE(f.window->state().spectrum.KolUsred, 5);
    QVERIFY(f.button("Button9")->isEnabled());

    edit2->setText(QStringLiteral("1e3"));
    f.button("Button9")->click();
    QCOMPARE(f.messages->errors.last(), QStringLiteral("'1e3' is not a valid integer value."));

    edit2->setText(QStringLiteral("5"));
    f.find<QLineEdit>("Edit3")->setText(QStringLiteral("1e999"));
    f.button("Button9")->click();
    QCOMPARE(f.messages->errors.last(), QStringLiteral("'1e999' is not a valid floating point value."));

    f.find<QLineEdit>("Edit3")->setText(QStringLiteral("10"));
    edit2->setText(QStringLiteral("-5"));  // one smoothing pass for stage 2: a normal run
    f.button("Button9")->click();
    QCOMPARE(f.window->state().spectrum.KolUsred, -5);
    QVERIFY(f.button("Button13")->isEnabled());
    QVERIFY(f.list("ListBox1")->count() > 0);
}

void HostileInputsTest::spectraThatAreNotWhatTheySeem() {
    WindowFixture f;
    QByteArray huge;
    for (int i = 0; i < 50; ++i) huge += "1E308 1E308\r\n";
    f.open(WriteBytes(f.dir.filePath("huge.txt"), huge));
    QVERIFY(f.messages->errors.isEmpty());  // a valid file: the numbers fit a double
    f.preliminary(5);
    QCOMPARE(f.messages->errors.last(),
             QStringLiteral("Предварительная обработка (шаг 1): масса 1E308 слишком велика для обработки."));

    QByteArray zeros, repeats;
    for (int i = 0; i < 300; ++i) {
        zeros += QByteArray::number(100 + i * 0.01, 'f', 2) + " 0\r\n";
        // every mass twice, as some converters write them
        const QByteArray m = QByteArray::number(100 + (i / 2) * 0.01, 'f', 2);
        repeats += m + " " + QByteArray::number(20 + (i % 40 < 20 ? i % 40 : 40 - i % 40) * 50) + "\r\n";
    }
    f.messages->clear();
    f.open(WriteBytes(f.dir.filePath("zeros.txt"), zeros));
    f.preliminary(5);
    QCOMPARE(f.messages->errors.last(),
             QStringLiteral("Предварительная обработка (шаг 3): интенсивность нигде не меняется."));

    f.messages->clear();
    f.open(WriteBytes(f.dir.filePath("repeats.txt"), repeats));
    f.preliminary(2);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    f.finalRun(0);
    auto* grid = f.find<QTableWidget>("StringGrid1");
    QVERIFY(grid->rowCount() > 2);
    QVERIFY(TableHasNoNumberFaults(grid));

    // A title of control characters and bytes no text should hold: loaded, shown, saved back.
    QByteArray title = "\"\x01\x02\tX\x98\xff<script>\"\r\n\"\"\r\n\"\"\r\n";
    f.messages->clear();
    f.open(WriteBytes(f.dir.filePath("title.txt"), title + repeats));
    QVERIFY(f.messages->errors.isEmpty());
    const std::string stored = f.window->state().spectrum.SpectrumTitle;
    QCOMPARE(QString::fromStdString(stored), QString::fromUtf8(" \x01\x02\tX\xc2\x98я<script>"));
    f.files->answers.push_back(f.dir.filePath("saved.txt"));
    f.window->menu().N42->trigger();
    QFile saved(f.dir.filePath("saved.txt"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().startsWith("\" \x01\x02\tX\x98\xff<script>\"\r\n"));
}

void HostileInputsTest::thresholdThatKeepsNoZone() {
    WindowFixture f;
    f.open(WriteSpectrum(f.dir.filePath("s.txt"), kThreePeaks));
    f.preliminary(5);
    f.find<QLineEdit>("Edit4")->setText(QStringLiteral("99999999"));
    f.button("Button13")->click();
    QVERIFY(!f.window->finalRunCommands().running());
    QCOMPARE(f.messages->errors.size(), 1);
    QVERIFY(f.messages->errors.last().contains(QStringLiteral("ни одна зона пика не достигает порога помех 99999999")));
    QVERIFY(f.button("Button13")->isEnabled());  // the operator may try a lower height

    // The refused height stays the threshold; another spectrum's preliminary run still lists
    // its zones (no zone reaches it, so every zone is kept) and the final run works again.
    f.messages->clear();
    f.open(WriteSpectrum(f.dir.filePath("other.txt"), kThreePeaks));
    f.preliminary(5);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    QVERIFY(f.list("ListBox1")->count() > 0);
    f.finalRun(0);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    QVERIFY(!f.window->state().run.peaks.empty());
}

// Every zone of a noisy spectrum kept: thousands of fits, many of them at the step cap or
// singular. The progress bar keeps moving and the window keeps serving its events meanwhile.
void HostileInputsTest::thresholdThatKeepsEveryZoneOfANoisySpectrum() {
    WindowFixture f;
    QByteArray noise = "\"Шум\"\r\n\"\"\r\n\"\"\r\n";
    uint32_t seed = 12345;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise += QByteArray::number(100 + i * 0.001, 'f', 3) + " " + QByteArray::number(100 + (seed >> 26)) + "\r\n";
    }
    f.open(WriteBytes(f.dir.filePath("noise.txt"), noise));
    f.preliminary(-1);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    f.find<QLineEdit>("Edit4")->setText(QStringLiteral("0"));

    auto* bar = f.window->progressWindow().findChild<QProgressBar*>(QStringLiteral("Gauge1"));
    QVERIFY(bar);
    int ticks = 0, progressSeen = 0, lastValue = -1;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;  // the window's event loop runs during the run
        if (bar->value() != lastValue) ++progressSeen, lastValue = bar->value();
    });
    timer.start(5);
    QSignalSpy ended(&f.window->finalRunCommands(), &FinalRunCommands::runEnded);
    f.button("Button13")->click();
    QVERIFY(f.window->finalRunCommands().running());
    QVERIFY(ended.wait(300000));
    timer.stop();

    const int peaks = f.find<QLabel>("Label11")->text().toInt();
    QVERIFY2(peaks > 5000, qPrintable(QString::number(peaks)));
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(bar->maximum(), peaks);
    QVERIFY2(ticks > 10 && progressSeen > 5, qPrintable(QStringLiteral("%1 %2").arg(ticks).arg(progressSeen)));
    QVERIFY(f.find<QLabel>("Label4")->text().toInt() > 0);  // problem peaks among them
    auto* grid = f.find<QTableWidget>("StringGrid1");
    QVERIFY(TableHasNoNumberFaults(grid));

    // Rows of fits that reached the step cap (column "Iter") are marked with a colour and a
    // tooltip saying why (the cap, or an R that is not positive); rows of converged fits with a
    // positive R are not.
    int capped = 0;
    for (int r = 0; r < grid->rowCount(); ++r) {
        const QTableWidgetItem* iter = grid->item(r, 10);
        const QString tip = grid->item(r, 0)->toolTip();
        if (iter && iter->text() == QStringLiteral("10000")) {
            ++capped;
            QVERIFY2(
                tip.contains(QStringLiteral("10000 итерациях")) || tip.contains(QStringLiteral("R не положительно")),
                qPrintable(tip));
            QVERIFY(grid->item(r, 5)->background().color().isValid());
            QCOMPARE(grid->item(r, 5)->toolTip(), tip);
        } else if (grid->item(r, 1)->text() != QStringLiteral("Ошибка") && grid->item(r, 5)->text().toDouble() > 0) {
            QVERIFY2(tip.isEmpty(), qPrintable(tip));
        }
    }
    QVERIFY2(capped > 0, "the noisy spectrum has fits at the step cap");
}

void HostileInputsTest::calibrationListOfAHundredPeaksAndOddTrueMasses() {
    WindowFixture f;
    std::vector<double> heights(100);
    for (std::size_t k = 0; k < heights.size(); ++k) heights[k] = 500 + 37 * static_cast<double>(k % 11);
    f.open(WriteSpectrum(f.dir.filePath("s.txt"), heights, 10200));
    f.preliminary(5);
    f.find<QLineEdit>("Edit4")->setText(QStringLiteral("100"));
    f.finalRun(-1);
    auto* all = f.list("ListBox5");
    QCOMPARE(all->count(), 100);

    auto* listBox6 = f.list("ListBox6");
    auto* edit1 = f.find<QLineEdit>("Edit1");
    for (int p = 99; p >= 0; --p) {  // taken from the top, listed from the bottom
        all->setCurrentRow(p);
        f.button("Button1")->click();
    }
    QCOMPARE(listBox6->count(), 100);
    for (int i = 0; i < 100; ++i) {
        listBox6->setCurrentRow(i);
        edit1->setText(QString::number(21 + i) + QStringLiteral(".0"));
        f.button("Button2")->click();
    }
    // Odd true masses: zero and a huge one are numbers (wild points, but no fault); "1.2.3" is not.
    listBox6->setCurrentRow(0);
    edit1->setText(QStringLiteral("0"));
    f.button("Button2")->click();
    listBox6->setCurrentRow(1);
    edit1->setText(QStringLiteral("1.2.3"));
    f.button("Button2")->click();
    f.messages->clear();
    f.button("Button15")->click();
    QCOMPARE(f.messages->errors.size() + f.messages->infos.size(), 1);
    const QString refusal = f.messages->errors.isEmpty() ? f.messages->infos.last() : f.messages->errors.last();
    QVERIFY2(refusal.startsWith(QStringLiteral("Строка 2: '1.2.3'")), qPrintable(refusal));
    QVERIFY(f.button("Button1")->isEnabled());  // nothing frozen

    listBox6->setCurrentRow(1);
    edit1->setText(QStringLiteral("99999999"));
    f.button("Button2")->click();
    f.messages->clear();
    f.button("Button15")->click();
    QVERIFY(f.button("Button6")->isEnabled() && f.button("Button4")->isEnabled());
    f.button("Button4")->click();
    QVERIFY(f.button("Button5")->isEnabled());
    f.button("Button5")->click();
    for (double x : f.window->state().spectrum.Spectrum.x) QVERIFY(std::isfinite(x));
}

QTEST_MAIN(HostileInputsTest)
#include "test_hostile_inputs.moc"
