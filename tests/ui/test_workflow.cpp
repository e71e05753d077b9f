// The operator's road through the window, driven by object name: load, preliminary run, zone
// inspection, threshold, final run, results, single peak, save; and the refusals on the way.
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "core/spectrum_file.h"
#include "processing/preliminary.h"
#include "processing/zone_list.h"
#include "ui/chart_surface.h"
#include "ui/final_run.h"
#include "ui/main_menu.h"
#include "ui/page_info.h"
#include "ui/secondary_windows.h"
#include "ui/spectrum_commands.h"
#include "ui/widget_kit.h"
#include "ui/support/window_fixture.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {
const std::vector<double> kThreePeaks = {2000, 5000, 800};

ChartSeries* Series(WindowFixture& f, const char* chart, const char* name) {
    return f.find<ChartSurface>(chart)->series(QString::fromLatin1(name));
}
}  // namespace

class WorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void wholeRunFromLoadToSavedPeak();
    void failedLoadKeepsPreviousSpectrumAndDisplays();
    void newSpectrumWaitsForItsOwnZones();
    void finalRunRefusesHeightsThatAreNotDigits();
    void preliminaryRunFailureLetsTheOperatorRetry();
    void guidanceOffShowsOnlyTheShortMessage();
    void millionPointSpectrumLoadsWithoutAPause();
    void longPreliminaryRunKeepsTheWindowServingAndGivesTheSameResults();
};

void WorkflowTest::wholeRunFromLoadToSavedPeak() {
    WindowFixture f;
    const QString path = WriteSpectrum(f.dir.filePath("three.txt"), kThreePeaks);
    f.open(path);
    QCOMPARE(f.files->requests.back().request.title, QStringLiteral("Открыть спектр"));
    QCOMPARE(f.files->requests.back().request.filter,
             QStringLiteral("Текст (*.txt)|*.TXT|mzML, mzXML (*.mzML *.mzXML *.gz)|*.mzML;*.mzXML;*.mzML.gz;"
                            "*.mzXML.gz|Все (*.*)|*.*"));
    QVERIFY(f.messages->errors.isEmpty());
    QCOMPARE(f.messages->infos,
             QStringList{QStringLiteral(
                 "Перейдите на вкладку \"Настройка\"\r\rЗадайте значение для KolUsred (кол-во усреднений):\r"
                 "для одиночных пиков => 150\rдля двойных пиков => 10\r\rи нажмите на кнопку \"Предварительная\"\r")});
    QCOMPARE(Series(f, "Chart1", "Series1")->count(), 600);
    QCOMPARE(f.find<ChartSurface>("Chart1")->titleLines(), QStringList{QStringLiteral(" Тест")});
    QVERIFY(f.button("Button9")->isEnabled());

    f.preliminary(10);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    QVERIFY(!f.button("Button9")->isEnabled());
    QVERIFY(f.button("Button13")->isEnabled());
    QVERIFY(f.button("BitBtn1")->isEnabled());
    QCOMPARE(f.messages->infos.last(),
             QStringLiteral("Теперь из списка надо выбирать пик и смотреть помеховый он или нет\r\r"
                            "Как только встретится первый по Вашему мнению не помеховый пик\r"
                            "надо ввести его высоту (первое число в строке) в окно \"Первый не помеховый пик\"\r"
                            "путём нажатия кнопки \">>\"\r\rДалее следует нажать кнопку \"Последняя\"\r"));
    QListWidget* zones = f.list("ListBox1");
    QCOMPARE(zones->count(), 2);  // three zones; the highest gets no line
    QVERIFY(zones->item(0)->text().contains(QStringLiteral(",   23.0")));
    QVERIFY(Series(f, "Chart1", "Series2")->count() == 600 && !Series(f, "Chart1", "Series2")->shown());

    zones->setCurrentRow(0);
    QVERIFY(Series(f, "Chart5", "Series14")->count() > 100);
    QVERIFY(Series(f, "Chart5", "Series15")->count() >= 3);
    f.button("BitBtn1")->click();
    const QString height = zones->item(0)->text().section(',', 0, 0);
    QCOMPARE(f.find<QLineEdit>("Edit4")->text(), height);

    f.finalRun(0);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    QCOMPARE(f.messages->infos.last(), QStringLiteral("Последняя обработка завершена.\r\rКол-во проблемных пиков\r"
                                                      "Вы можете узнать на вкладке \"Тестирование\".\r"));
    QCOMPARE(f.find<QLabel>("Label11")->text(), QStringLiteral("3"));
    QCOMPARE(f.find<QLabel>("Label4")->text(), QStringLiteral("0"));
    QCOMPARE(f.list("ListBox4")->count(), 18);  // six lines per zone
    QCOMPARE(f.window->progressWindow().Gauge1->value(), 3);
    QVERIFY(f.window->progressWindow().isHidden());
    QVERIFY(!f.button("Button13")->isEnabled());
    for (const char* b : {"Button1", "Button2", "Button3", "Button8", "Button14", "Button15", "Button16", "Button17"})
        QVERIFY2(f.button(b)->isEnabled(), b);

    PageInfo& info = *f.window->pages().info;
    QCOMPARE(info.rowCount(), 4);
    QCOMPARE(info.cell(0, 0), QStringLiteral("M"));
    QCOMPARE(info.cell(0, 1), QStringLiteral("21"));
    QVERIFY(qAbs(info.cell(1, 2).toDouble() - 22.0) < 0.01);  // the point, not the locale's comma
    QCOMPARE(info.cell(1, 2).section('.', 1).size(), 6);
    QCOMPARE(info.cell(4, 1), QString());
    const QFontMetrics metrics(f.find<QTableWidget>("StringGrid1")->font());
    QCOMPARE(info.columnWidth(1), metrics.horizontalAdvance(info.cell(1, 1)) + metrics.horizontalAdvance("www"));
    QVERIFY(Series(f, "Chart1", "Series6")->count() > 0);
    QCOMPARE(f.list("ListBox5")->count(), 3);
    QCOMPARE(f.list("ListBox8")->count(), 3);
    QVERIFY(Series(f, "Chart3", "Series10")->count() == 3 && Series(f, "Chart4", "Series13")->count() == 3);

    f.list("ListBox8")->setCurrentRow(1);
    QVERIFY(f.button("Button16")->isEnabled() && !f.button("Button17")->isEnabled());
    f.button("Button16")->click();
    QListWidget* log = f.list("ListBox9");
    QVERIFY(log->count() >= 6 && log->count() % 6 == 0);
    QCOMPARE(log->item(0)->text(), QStringLiteral("Итерация № 1"));
    QVERIFY(!f.button("Button16")->isEnabled() && f.button("Button17")->isEnabled());
    QListWidget* masses = f.list("ListBox8");
    QTest::mouseClick(masses->viewport(), Qt::LeftButton, {}, masses->visualItemRect(masses->item(1)).center());
    QVERIFY(f.button("Button16")->isEnabled() && !f.button("Button17")->isEnabled());  // the same line again
    f.button("Button16")->click();

    const QString peakFile = f.dir.filePath("peak.txt");
    f.files->answers.push_back(peakFile);
    f.button("Button17")->click();
    QCOMPARE(f.files->requests.back().request.title, QStringLiteral("Сохранить отдельный пик"));
    QCOMPARE(f.files->requests.back().request.proposedName, QStringLiteral("22peak.txt"));
    const LoadedSpectrum peak = ReadSpectrumFile(peakFile.toStdString());
    QCOMPARE(*peak.title, std::string(" 22 пик"));

    const QString saved = f.dir.filePath("saved.txt");
    f.files->answers.push_back(saved);
    f.window->menu().N42->trigger();
    QCOMPARE(f.files->requests.back().request.proposedName, QStringLiteral("Спектр.txt"));
    QCOMPARE(ReadSpectrumFile(saved.toStdString()).points.count(), 600);
}

void WorkflowTest::failedLoadKeepsPreviousSpectrumAndDisplays() {
    WindowFixture f;
    f.open(WriteSpectrum(f.dir.filePath("good.txt"), kThreePeaks));
    f.preliminary(10);
    const int zoneLines = f.list("ListBox1")->count();
    QFile bad(f.dir.filePath("bad.txt"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("100.5 2000\r\n101.5 2.5.5\r\n");
    bad.close();
    f.messages->clear();
    f.open(bad.fileName());
    QCOMPARE(f.messages->errors,
             QStringList{QStringLiteral("'2.5.5' is not a valid floating point value. Строка 2: \"101.5 2.5.5\"")});
    QCOMPARE(f.window->state().spectrum.Spectrum.count(), 600);
    QCOMPARE(Series(f, "Chart1", "Series1")->count(), 600);
    QCOMPARE(f.list("ListBox1")->count(), zoneLines);
    QVERIFY(f.button("Button13")->isEnabled());
    QVERIFY(f.window->isEnabled());
    QCOMPARE(f.find<ChartSurface>("Chart1")->titleLines(), QStringList{QStringLiteral(" Тест")});

    f.messages->clear();
    f.open(f.dir.filePath("missing.txt"));
    QCOMPARE(f.messages->errors.size(), 1);
    QCOMPARE(f.window->state().spectrum.Spectrum.count(), 600);

    f.files->requests.clear();
    f.window->menu().N2->trigger();  // cancelled: nothing changes, no message
    QCOMPARE(f.files->requests.size(), std::size_t{1});
    QCOMPARE(f.messages->errors.size(), 1);
}

// The zones of the spectrum before describe masses the new one may not even hold: after a load
// only the new spectrum's own preliminary run makes "Последняя" and ">>" available again.
void WorkflowTest::newSpectrumWaitsForItsOwnZones() {
    WindowFixture f;
    f.open(WriteSpectrum(f.dir.filePath("wide.txt"), {900, 3000, 1500, 700}, 1200));
    f.preliminary(10);
    QVERIFY(f.button("Button13")->isEnabled() && f.button("BitBtn1")->isEnabled());
    f.open(WriteSpectrum(f.dir.filePath("narrow.txt"), {2000}, 150));  // masses 20 to 21.49
    QVERIFY(f.button("Button9")->isEnabled());
    QVERIFY(!f.button("Button13")->isEnabled() && !f.button("BitBtn1")->isEnabled());
    f.preliminary(10);
    QVERIFY(f.messages->errors.isEmpty());
    QVERIFY(f.button("Button13")->isEnabled() && f.button("BitBtn1")->isEnabled());
}

void WorkflowTest::finalRunRefusesHeightsThatAreNotDigits() {
    WindowFixture f;
    f.open(WriteSpectrum(f.dir.filePath("s.txt"), kThreePeaks));
    f.preliminary(10);
    auto* edit4 = f.find<QLineEdit>("Edit4");
    for (const char* text : {"", "-5", "1 2", "12a", " 12", "99999999999999999999999"}) {
        f.messages->clear();
        edit4->setText(QString::fromLatin1(text));
        f.button("Button13")->click();
        QCOMPARE(f.messages->infos, QStringList{QStringLiteral("Недопустимое значение высоты.")});
        QVERIFY2(f.button("Button13")->isEnabled(), text);
        QVERIFY(!f.window->finalRunCommands().running());
    }
    f.messages->clear();
    edit4->setText(QStringLiteral("999999"));  // above every zone: nothing to fit, said so
    f.button("Button13")->click();
    QCOMPARE(f.messages->errors.size(), 1);
    QVERIFY(f.messages->errors[0].contains(QStringLiteral("999999")));
    QVERIFY(f.button("Button13")->isEnabled());
    QVERIFY(!f.window->finalRunCommands().running());
    f.messages->clear();
    f.find<QRadioButton>("RadioButton4")->setChecked(true);
    edit4->setText(QStringLiteral("0012"));
    f.finalRun(-1);
    QCOMPARE(f.window->state().spectrum.NoiseThreshold, 12);
    QCOMPARE(f.window->state().run.GaussPower, 8.0);
    QVERIFY(f.messages->errors.isEmpty());
}

void WorkflowTest::preliminaryRunFailureLetsTheOperatorRetry() {
    WindowFixture f;
    f.open(WriteSpectrum(f.dir.filePath("s.txt"), kThreePeaks));
    f.find<QLineEdit>("Edit2")->setText(QStringLiteral("1.5"));
    f.button("Button9")->click();
    QCOMPARE(f.messages->errors, QStringList{QStringLiteral("'1.5' is not a valid integer value.")});
    QVERIFY(f.button("Button9")->isEnabled());
    QVERIFY(!f.button("Button13")->isEnabled());
    f.find<QLineEdit>("Edit2")->setText(QStringLiteral("10"));
    f.find<QLineEdit>("Edit3")->setText(QStringLiteral("x"));
    f.button("Button9")->click();
    QCOMPARE(f.messages->errors.last(), QStringLiteral("'x' is not a valid floating point value."));
    QCOMPARE(f.window->state().spectrum.KolUsred, 10);  // stored before Edit3 was refused
    f.find<QLineEdit>("Edit3")->setText(QStringLiteral("2.5"));
    f.button("Button9")->click();
    QVERIFY(f.button("Button13")->isEnabled());
    // A new load shows the stored settings again, replacing what was typed.
    f.find<QLineEdit>("Edit2")->setText(QStringLiteral("77"));
    f.open(f.dir.filePath("s.txt"));
    QCOMPARE(f.find<QLineEdit>("Edit2")->text(), QStringLiteral("10"));
    QCOMPARE(f.find<QLineEdit>("Edit3")->text(), QStringLiteral("2.5"));
}

void WorkflowTest::guidanceOffShowsOnlyTheShortMessage() {
    WindowFixture f;
    f.window->menu().N44->trigger();
    QVERIFY(!f.window->menu().N44->isChecked());
    QVERIFY(!f.window->flags().Podskazka);
    f.open(WriteSpectrum(f.dir.filePath("s.txt"), kThreePeaks));
    QVERIFY(f.messages->infos.isEmpty());
    f.preliminary(10);
    QCOMPARE(f.messages->infos, QStringList{QStringLiteral("Пересчёт произведён")});
    f.finalRun(0);
    QCOMPARE(f.messages->infos.size(), 1);
    QVERIFY(f.find<QLabel>("Label2")->text() != QStringLiteral("-"));
}

void WorkflowTest::millionPointSpectrumLoadsWithoutAPause() {
    WindowFixture f;
    QByteArray text = "\"Big\"\r\n\"\"\r\n\"\"\r\n";
    text.reserve(24 * 1000000);
    for (int i = 0; i < 1000000; ++i) {
        text += QByteArray::number(10 + i * 0.0001, 'f', 4);
        text += ' ';
        text += QByteArray::number(100 + (i % 5000 < 20 ? 5000 : i % 7));
        text += "\r\n";
    }
    QFile file(f.dir.filePath("big.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    ChartSurface* chart = f.find<ChartSurface>("Chart1");
    QElapsedTimer timer;
    timer.start();
    f.open(file.fileName());
    chart->redrawNow();
    const qint64 load = timer.restart();
    chart->zoomToPixels(QPoint(200, 100), QPoint(400, 600));
    chart->redrawNow();
    chart->panByPixels(50, 0);
    chart->redrawNow();
    chart->undoZoom();
    chart->redrawNow();
    const qint64 views = timer.elapsed();
    qInfo("1M-point file: load and draw %lld ms, zoom, pan and undo %lld ms", load, views);
    QCOMPARE(Series(f, "Chart1", "Series1")->count(), 1000000);
    QVERIFY(f.messages->errors.isEmpty());
}

// Smoothing work past kNoticeableSmoothingWork runs on a worker: the window keeps serving its
// events with the progress window up and the run's inputs locked, and the stages, zones and
// zone list are bit for bit those of a run on this thread.
void WorkflowTest::longPreliminaryRunKeepsTheWindowServingAndGivesTheSameResults() {
    WindowFixture f;
    std::vector<double> heights;
    for (int k = 0; k < 20; ++k) heights.push_back(1000 + 300 * (k % 7));
    f.open(WriteSpectrum(f.dir.filePath("long.txt"), heights, 60000));
    const int kolUsred = 600;
    SpectrumState expected = f.window->state().spectrum;
    expected.KolUsred = kolUsred;
    QVERIFY(SmoothingWork(kolUsred, expected.Spectrum.count()) > kNoticeableSmoothingWork);
    RunPreliminary(expected);

    f.find<QLineEdit>("Edit2")->setText(QString::number(kolUsred));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    f.button("Button9")->click();
    QVERIFY(f.window->spectrumCommands().preliminaryRunning());
    QVERIFY(f.window->progressWindow().isVisible());
    QVERIFY(!f.window->menu().N2->isEnabled() && !f.button("Button13")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->spectrumCommands().preliminaryRunning(), 300000);
    timer.stop();
    QVERIFY(ticks > 0);
    QVERIFY(!f.window->progressWindow().isVisible());
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));

    const SpectrumState& s = f.window->state().spectrum;
    QVERIFY(s.Smooth.x == expected.Smooth.x && s.Averaged.y == expected.Averaged.y);
    QVERIFY(s.FinalExtrema.x == expected.FinalExtrema.x && s.FinalExtrema.y == expected.FinalExtrema.y);
    QVERIFY(s.zones.height == expected.zones.height && s.zones.center == expected.zones.center);
    QStringList lines;
    for (const std::string& l : ZoneListLines(expected)) lines << QString::fromStdString(l);
    QCOMPARE(ListLines(f.list("ListBox1")), lines);
    QVERIFY(f.button("Button13")->isEnabled() && f.window->menu().N2->isEnabled());
}

QTEST_MAIN(WorkflowTest)
#include "test_workflow.moc"
