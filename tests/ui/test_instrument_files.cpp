// Instrument files in the window: the scan chooser, the refusal of centroided scans, the
// wrong-index file, and a chosen scan through the final run and calibration to a saved mzML
// that opens again with the corrected masses.
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/ms_data_file.h"
#include "ui/chart_surface.h"
#include "ui/main_menu.h"
#include "ui/scan_chooser.h"
#include "ui/support/window_fixture.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

const QString kMzml = QStringLiteral(ORVELO_TEST_DATA "/mzml/");

ChartSurface* Chart1(WindowFixture& f) { return f.find<ChartSurface>("Chart1"); }
int Points(WindowFixture& f) { return Chart1(f)->series(QStringLiteral("Series1"))->count(); }

}  // namespace

class InstrumentFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void multiScanFileAsksForTheScan();
    void chooserCancelAndCentroidKeepThePreviousSpectrum();
    void singleScanWrongIndexAndNumpressFilesOpen();
    void readerWarningsShowInTheStatusLine();
    void chooserSortsByValueAndGivesTheChosenRow();
    void chosenScanIsCalibratedAndSavedAsMzML();
};

void InstrumentFilesTest::multiScanFileAsksForTheScan() {
    WindowFixture f;
    f.files->scanAnswers = {2};
    f.open(kMzml + "small.mzML");
    QVERIFY(f.messages->errors.isEmpty());
    QCOMPARE(f.files->scanRequests.size(), std::size_t{1});
    const ScanRequest& asked = f.files->scanRequests.front();
    QCOMPARE(asked.fileName, QStringLiteral("small.mzML"));
    QCOMPARE(asked.scans.size(), std::size_t{48});
    QCOMPARE(asked.preselected, 1);
    QCOMPARE(Points(f), 19800);
    QCOMPARE(Chart1(f)->titleLines(),
             QStringList{QStringLiteral("small.mzML, controllerType=0 controllerNumber=1 scan=2, 0.0079 мин")});
    QVERIFY(f.button("Button9")->isEnabled());
    QCOMPARE(f.window->state().source.nativeId, std::string("controllerType=0 controllerNumber=1 scan=2"));
}

void InstrumentFilesTest::chooserCancelAndCentroidKeepThePreviousSpectrum() {
    WindowFixture f;
    f.open(kMzml + "microscans.mzXML");  // nothing queued: the preselected scan 1
    QCOMPARE(Points(f), 2926);
    f.files->scanAnswers = {0};
    f.open(kMzml + "small.mzML");
    QCOMPARE(Points(f), 2926);
    f.files->scanAnswers = {3};
    f.open(kMzml + "small.mzML");
    QCOMPARE(f.messages->errors.size(), 1);
    QVERIFY(f.messages->errors.front().contains(QStringLiteral("записан в центроидах")));
    QVERIFY(f.messages->errors.front().contains(QStringLiteral("Выберите профильный спектр")));
    QCOMPARE(Points(f), 2926);
    QCOMPARE(f.window->state().spectrum.Spectrum.count(), 2926);
}

void InstrumentFilesTest::singleScanWrongIndexAndNumpressFilesOpen() {
    WindowFixture f;
    PointList points;
    for (int i = 0; i < 50; ++i) points.push(100 + 0.01 * i, i % 7);
    const QString one = f.dir.filePath("one.mzML");
    WriteMzMLFile(one.toStdString(), points, {}, std::nullopt);
    f.open(one);
    QVERIFY(f.files->scanRequests.empty());
    QCOMPARE(Points(f), 50);

    f.open(kMzml + "three_test_scans.mzML");
    QVERIFY(f.messages->errors.isEmpty());
    QCOMPARE(f.files->scanRequests.back().scans.size(), std::size_t{3});
    QCOMPARE(Points(f), 27826);
    f.open(kMzml + "microscans.numpress.mzML");
    QVERIFY(f.messages->errors.isEmpty());
    QCOMPARE(Points(f), 2926);
}

// A file whose index points to wrong places is read through; the operator is told so in the
// status line (no message box), until the next file is opened.
void InstrumentFilesTest::readerWarningsShowInTheStatusLine() {
    WindowFixture f;
    PointList points;
    for (int i = 0; i < 50; ++i) points.push(100 + 0.01 * i, i % 7);
    const QString good = f.dir.filePath("good.mzML");
    WriteMzMLFile(good.toStdString(), points, {}, std::nullopt);

    auto* line = f.find<QLabel>("ReaderWarnings");
    f.open(kMzml + "three_test_scans.mzML");  // its index was written before the file was rewritten
    QVERIFY(f.messages->errors.isEmpty());
    QCOMPARE(f.messages->infos.size(), 1);  // the guidance after a load, as for any file
    QCOMPARE(Points(f), 27826);
    QVERIFY(!line->isHidden());
    QVERIFY2(line->text().startsWith(QStringLiteral("Предупреждение: ")), qPrintable(line->text()));
    QVERIFY(line->text().contains(QStringLiteral("файл прочитан целиком без индекса")));
    f.open(good);
    QVERIFY(line->isHidden() && line->text().isEmpty());
}

void InstrumentFilesTest::chooserSortsByValueAndGivesTheChosenRow() {
    const MsDataFile file(kMzml.toStdString() + "small.mzML");
    ScanChooser chooser({QStringLiteral("small.mzML"), file.scans(), file.DefaultScan()}, nullptr);
    chooser.show();
    QTableWidget* table = chooser.table();
    QCOMPARE(table->rowCount(), 48);
    QCOMPARE(chooser.chosenScan(), 1);
    SaveScreenshot(chooser, QStringLiteral("scan_chooser.png"));

    table->sortItems(8, Qt::DescendingOrder);  // total ion current: by value, not by text
    double previous = 1e300;
    for (int r = 0; r < table->rowCount(); ++r) {
        const double tic = table->item(r, 8)->text().toDouble();
        QVERIFY(tic <= previous);
        previous = tic;
    }
    QCOMPARE(chooser.chosenScan(), 1);  // the selection follows its row
    table->selectRow(0);
    QCOMPARE(chooser.chosenScan(), table->item(0, 0)->text().toInt());
}

void InstrumentFilesTest::chosenScanIsCalibratedAndSavedAsMzML() {
    WindowFixture f;
    f.open(kMzml + "small.mzML");
    f.preliminary(5);
    f.finalRun(f.list("ListBox1")->count() - 12);
    QVERIFY(f.list("ListBox5")->count() >= 5);
    if (ScreenshotsWanted()) {
        f.window->pageControl()->setCurrentIndex(1);
        SaveScreenshot(*f.window, QStringLiteral("mzml_results.png"));
        f.window->pageControl()->setCurrentIndex(0);
        f.window->menu().N1->popup(f.window->mapToGlobal(QPoint(0, 20)));
        SaveScreenshot(*f.window->menu().N1, QStringLiteral("mzml_file_menu.png"));
        f.window->menu().N1->hide();
    }

    // The outer two peaks moved by 2 and 3 thousandths: a line through them.
    const PeakResults& peaks = f.window->state().run.peaks;
    const int last = f.list("ListBox5")->count() - 1;
    const std::pair<int, double> pairs[] = {{0, peaks.front().Centre + 0.002}, {last, peaks.back().Centre + 0.003}};
    for (const auto& [peak, truth] : pairs) f.take(peak);
    for (int line = 0; line < 2; ++line) f.attachTyped(line, QString::number(pairs[line].second, 'f', 6));
    f.button("Button15")->click();
    f.button("Button6")->click();
    f.button("Button5")->click();
    QVERIFY(f.messages->errors.isEmpty());
    const PointList corrected = f.window->state().spectrum.Spectrum;
    QVERIFY(f.window->state().appliedCalibration.has_value());

    const QString saved = f.dir.filePath("corrected.mzML");
    f.files->answers.push_back(saved);
    f.window->menu().SaveMzML->trigger();
    QCOMPARE(f.files->requests.back().request.title, QStringLiteral("Сохранить спектр как mzML"));
    QCOMPARE(f.files->requests.back().request.proposedName, QStringLiteral("small.mzML"));
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("name=\"calibration curve\" value=\"line\""));
    QVERIFY(text.contains("name=\"source file\" value=\"small.mzML\""));

    f.open(saved);  // one spectrum: no chooser
    QCOMPARE(f.files->scanRequests.size(), std::size_t{1});
    QCOMPARE(f.window->state().spectrum.Spectrum.x, corrected.x);
    QCOMPARE(f.window->state().spectrum.Spectrum.y, corrected.y);
    QVERIFY(!f.window->state().appliedCalibration.has_value());
}

QTEST_MAIN(InstrumentFilesTest)
#include "test_instrument_files.moc"
