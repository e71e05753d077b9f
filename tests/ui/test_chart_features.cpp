// What the charts offer beyond drawing: axis titles, the cursor readout in the status bar,
// wheel zoom, the fitted masses over the peaks, pictures in four formats at a chosen size, the
// print preview, and the single peak's own chart.
#include <QMenu>
#include <QAction>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "fitting/results_table.h"
#include "ui/chart_export.h"
#include "ui/chart_readout.h"
#include "ui/chart_surface.h"
#include "ui/main_menu.h"
#include "ui/page_info.h"
#include "ui/page_single_peak.h"
#include "ui/peak_labels.h"
#include "ui/report_commands.h"
#include "ui/support/ch_spectrum.h"
#include "ui/support/modal_answer.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

struct ChartWindow : ProcessedWindow {
    ChartSurface* chart(const char* name) { return find<ChartSurface>(name); }
    QString status() { return window->statusBar()->currentMessage(); }
};

QByteArray FileStart(const QString& path, int bytes) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

void Wheel(ChartSurface* chart, QPoint at, int delta) {
    QWheelEvent e(QPointF(at), QPointF(chart->mouseArea()->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(chart->mouseArea(), &e);
}

}  // namespace

class ChartFeaturesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void everyChartNamesItsAxes();
    void statusBarReadsTheChartUnderTheCursor();
    void wheelZoomsAroundTheCursorAndTheUndoDragRestoresTheFullView();
    void peakMassLabelsLeaveOutOverlaps();
    void picturesInEveryFormatAtEitherSize();
    void printingGoesThroughThePreview();
    void singlePeakChartShowsTheSamplesAndTheFit();
};

void ChartFeaturesTest::everyChartNamesItsAxes() {
    WindowFixture f;
    const std::tuple<const char*, QString, QString> charts[] = {
        {"Chart1", "m/z", "Интенсивность"},
        {"Chart5", "m/z", "Интенсивность"},
        {"ChartPeak", "m/z", "Интенсивность"},
        {"Chart2", "М изм", "Δm, mmu"},
        {"Chart3", "номинальная масса", "дефект массы, mmu"},
        {"Chart4", "номинальная масса", "дефект массы, mmu"},
    };
    for (const auto& [name, bottom, left] : charts) {
        const ChartSurface* chart = f.find<ChartSurface>(name);
        QCOMPARE(chart->bottomAxisTitle(), bottom);
        QCOMPARE(chart->leftAxisTitle(), left);
    }
}

void ChartFeaturesTest::statusBarReadsTheChartUnderTheCursor() {
    ChartWindow f;
    ChartSurface* chart1 = f.chart("Chart1");
    chart1->redrawNow();
    const PeakResult& peak = f.window->state().run.peaks.at(2);
    const QPoint over(int(chart1->pixelOfKey(peak.Centre)), int(chart1->pixelOfValue(peak.Height / 2)));
    QTest::mouseMove(chart1->mouseArea(), over);
    const QString text = f.status();
    QVERIFY2(text.startsWith("m/z = "), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Интенсивность = ")), qPrintable(text));
    // The peak's mass and R as the results table writes them.
    const ResultRow row = ResultsTable(f.window->state().run.peaks).at(3);
    QVERIFY2(text.contains(QStringLiteral("Пик: m/z = %1, R = %2, высота = ")
                               .arg(QString::fromStdString(row[1]), QString::fromStdString(row[5]))),
             qPrintable(text));
    // Between the zones there is no peak; outside the plotting area nothing is read.
    const double between = (f.window->state().run.peaks[2].Centre + f.window->state().run.peaks[3].Centre) / 2;
    QTest::mouseMove(chart1->mouseArea(), QPoint(int(chart1->pixelOfKey(between)), over.y()));
    QVERIFY2(f.status().startsWith("m/z = ") && !f.status().contains(QStringLiteral("Пик")), qPrintable(f.status()));
    QTest::mouseMove(chart1->mouseArea(), QPoint(2, 2));
    QVERIFY(f.status().isEmpty());

    f.window->pageControl()->setCurrentIndex(5);  // the CH saw: nominal mass and defect
    ChartSurface* chart3 = f.chart("Chart3");
    chart3->redrawNow();
    QTest::mouseMove(chart3->mouseArea(), chart3->plotArea().center());
    QVERIFY2(f.status().startsWith(QStringLiteral("номинальная масса = ")) && f.status().endsWith(" mmu"),
             qPrintable(f.status()));
}

void ChartFeaturesTest::wheelZoomsAroundTheCursorAndTheUndoDragRestoresTheFullView() {
    ChartWindow f;
    ChartSurface* chart = f.chart("Chart1");
    chart->redrawNow();
    const double lower = chart->visibleKeyLower(), upper = chart->visibleKeyUpper();
    const double valueUpper = chart->visibleValueUpper();
    const QPoint at(chart->plotArea().left() + chart->plotArea().width() / 3, chart->plotArea().center().y());
    const double keyUnder = chart->keyAtPixel(at.x());
    Wheel(chart, at, 240);  // two notches towards the chart: in
    chart->redrawNow();
    QVERIFY(chart->zoomed());
    QVERIFY(chart->visibleKeyUpper() - chart->visibleKeyLower() < 0.7 * (upper - lower));
    QVERIFY(std::abs(chart->keyAtPixel(at.x()) - keyUnder) < 1e-6 * (upper - lower));
    QCOMPARE(chart->visibleValueUpper(), valueUpper);  // the mass axis only
    Wheel(chart, at, -120);
    chart->redrawNow();
    const QRect area = chart->plotArea();
    chart->zoomToPixels(area.bottomRight() - QPoint(5, 5), area.topLeft() + QPoint(5, 5));  // the undo drag
    chart->redrawNow();
    QVERIFY(!chart->zoomed());
    QCOMPARE(chart->visibleKeyLower(), lower);
    QCOMPARE(chart->visibleKeyUpper(), upper);

    ChartSurface* chart5 = f.chart("Chart5");  // its mouse gestures are off, the wheel too
    Wheel(chart5, chart5->rect().center(), 120);
    QVERIFY(!chart5->zoomed());
}

void ChartFeaturesTest::peakMassLabelsLeaveOutOverlaps() {
    const QSize size(60, 14);
    const QRect area(0, 0, 400, 300);
    const auto placed = PlaceLabels({{"low", QPoint(100, 200), size},
                                     {"high", QPoint(130, 190), size},
                                     {"apart", QPoint(300, 250), size},
                                     {"outside", QPoint(500, 100), size}},
                                    area);
    QCOMPARE(placed.size(), std::size_t(2));
    QCOMPARE(placed[0].text, QStringLiteral("high"));  // the taller peak wins the place
    QCOMPARE(placed[1].text, QStringLiteral("apart"));
    QCOMPARE(placed[0].box.bottom(), 186);

    ChartWindow f;
    QAction* toggle = f.window->menu().PeakMassLabels;
    QVERIFY(toggle->isCheckable() && !toggle->isChecked());
    ChartSurface* chart = f.chart("Chart1");
    chart->redrawNow();
    QVERIFY(f.window->peakLabels().drawn().empty());
    toggle->trigger();
    chart->redrawNow();
    const auto& drawn = f.window->peakLabels().drawn();
    QCOMPARE(drawn.size(), f.window->state().run.peaks.size());  // five peaks far apart: all fit
    QStringList masses, expected;
    for (const PeakLabel& l : drawn) masses << l.text;
    for (int r = 1; r <= 5; ++r) expected << f.window->pages().info->cell(1, r);
    masses.sort();
    QCOMPARE(masses, expected);
    toggle->trigger();
    chart->redrawNow();
    QVERIFY(f.window->peakLabels().drawn().empty());
}

void ChartFeaturesTest::picturesInEveryFormatAtEitherSize() {
    ChartWindow f;
    MainMenu& m = f.window->menu();
    QCOMPARE(m.N30->actions().size(), 3);  // "BMP", "Печать...", then the picture entry
    const std::pair<QString, QByteArray> cases[] = {
        {"a.png", "\x89PNG"}, {"b.svg", "<?xml"}, {"c.pdf", "%PDF"}, {"d.bmp", "BM"}, {"e", "BM"}};
    for (const auto& [name, magic] : cases) {
        const QString path = f.dir.filePath(name);
        f.files->answers = {path};
        f.window->menu().ImageSpectrum->trigger();
        QCOMPARE(FileStart(path, magic.size()), magic);
        QCOMPARE(f.files->requests.back().request.filter, QString::fromUtf8(kImageFilter));
    }
    QCOMPARE(QImage(f.dir.filePath("a.png")).size(), f.chart("Chart1")->size());
    QVERIFY(FileStart(f.dir.filePath("b.svg"), 4000).contains("<svg"));

    // The chosen file type decides for a name without a known ending; a chosen size is kept.
    f.files->chosen = QStringLiteral("PNG (*.png) (*.PNG *.png)");
    f.files->pictureSize = QSize(640, 480);
    for (QAction* entry : {f.window->menu().ImageCurve, f.window->menu().ImageCH, f.window->menu().ImageCF,
                           f.window->menu().ImageZone, f.window->menu().ImagePeak}) {
        const QString path = f.dir.filePath(entry->objectName());
        f.files->answers = {path};
        entry->trigger();
        QCOMPARE(QImage(path, "PNG").size(), QSize(640, 480));
    }
    // A size dialog cancelled asks for no file.
    const auto requests = f.files->requests.size();
    f.files->cancelSize = true;
    f.window->menu().ImageSpectrum->trigger();
    QCOMPARE(f.files->requests.size(), requests);
    f.files->cancelSize = false;
    QCOMPARE(ImageFormatFor("x.PDF", "PNG (*.png)"), QByteArray("PDF"));
    QVERIFY(f.messages->errors.isEmpty());

    f.files->answers = {f.dir.filePath("нет/x.png")};  // an unwritable place is an error
    f.window->menu().ImageSpectrum->trigger();
    QCOMPARE(f.messages->errors.size(), 1);
}

void ChartFeaturesTest::printingGoesThroughThePreview() {
    ChartWindow f;
    const QString pdf = f.dir.filePath("print.pdf");
    f.window->reportCommands().setPrinterFactory([&] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return printer;
    });
    f.window->menu().N35->trigger();
    QCOMPARE(f.messages->previews, 1);
    QCOMPARE(FileStart(pdf, 4), QByteArray("%PDF"));

    // The window's own preview draws the page and closes without printing when cancelled.
    QtMessageBoxes boxes(f.window.get());
    QPrinter printer;
    int painted = 0;
    AnswerNextModal<QPrintPreviewDialog>([](QPrintPreviewDialog* d) { d->reject(); });
    boxes.printPreview(printer, [&](QPrinter&) { ++painted; });
    QVERIFY(painted >= 1);
}

void ChartFeaturesTest::singlePeakChartShowsTheSamplesAndTheFit() {
    ChartWindow f;
    f.window->pageControl()->setCurrentIndex(7);
    QCoreApplication::processEvents();
    QWidget& page = *f.window->pages().singlePeak;
    ChartSurface& chart = f.window->pages().singlePeak->chart();
    const ChartSeries& samples = *chart.series(QStringLiteral("PeakSamples"));
    const ChartSeries& curve = *chart.series(QStringLiteral("PeakCurve"));
    QVERIFY(chart.geometry().left() > f.list("ListBox9")->geometry().right());
    QVERIFY(chart.geometry().right() < page.width() - 10 && chart.width() > 400);
    QCOMPARE(samples.count(), 0);
    f.list("ListBox8")->setCurrentRow(2);
    f.button("Button16")->click();
    const PeakSelection& sel = f.window->state().singlePeak;
    QCOMPARE(samples.count(), sel.last - sel.first + 1);
    QCOMPARE(samples.x(0), f.window->state().spectrum.Spectrum.x[std::size_t(sel.first)]);
    QVERIFY(curve.count() > 100);
    const PeakResult& peak = f.window->state().run.peaks[2];
    double top = 0;
    for (int i = 0; i < curve.count(); ++i) top = std::max(top, curve.y(i));
    QVERIFY(std::abs(top - peak.Height) < 0.01 * peak.Height);
    QVERIFY(chart.mouseZoomEnabled());

    f.open(f.dir.filePath("ch.txt"));  // a new spectrum empties it
    QCOMPARE(samples.count(), 0);
    QCOMPARE(curve.count(), 0);
}

QTEST_MAIN(ChartFeaturesTest)
#include "test_chart_features.moc"
