// The pages "Теория CH" and "Теория CF" after a final run: the hover marks (their text, the
// shared HoverIndex, "Хинты на CH и CF" off) and the CH files (the two saw files, the list for
// a spreadsheet, the list as HTML).

#include <QAction>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <cmath>

#include "calibration/theory_series.h"
#include "core/number_text.h"
#include "ui/chart_surface.h"
#include "ui/main_menu.h"
#include "ui/support/ch_spectrum.h"
#include "ui/support/text_lines.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

const QColor kMarkFill(255, 255, 225);

struct TheoryWindow : ProcessedWindow {
    ChartSurface* chart(const char* name) { return find<ChartSurface>(name); }
    ChartSeries* series(const char* chartName, const char* name) {
        return chart(chartName)->series(QString::fromLatin1(name));
    }
    // Shows the page of the chart and moves the mouse onto point `i` of `s`.
    void hover(int page, const char* chartName, ChartSeries* s, int i) {
        window->pageControl()->setCurrentIndex(page);
        ChartSurface* c = chart(chartName);
        c->redrawNow();
        QTest::mouseMove(c->mouseArea(), QPoint(s->pixelX(i), s->pixelY(i)));
        // Under a real X server the cursor moves asynchronously.
        QTRY_COMPARE(window->flags().HoverIndex, i);
        c->redrawNow();
    }
    // Pixels of the mark's fill colour in the band above point i.
    int markPixels(const char* chartName, ChartSeries* s, int i) {
        const QImage image = chart(chartName)->mouseArea()->grab().toImage();
        int found = 0;
        for (int y = std::max(s->pixelY(i) - 80, 0); y < s->pixelY(i); ++y)
            for (int x = std::max(s->pixelX(i) - 60, 0); x < std::min(s->pixelX(i) + 60, image.width()); ++x)
                found += image.pixelColor(x, y) == kMarkFill;
        return found;
    }
};

QString ExpectedMark(const PeakResult& p) {
    return QString::fromStdString("M = " + FormatFixed(p.Centre, 3) + "\rR = " + FormatFixed(p.R, 0) +
                                  "\rV = " + FormatFixed(p.Height, 0));
}

}  // namespace

class TheoryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void hoverMarkShowsThePeakUnderTheCursor();
    void hoverIndexIsSharedByBothCharts();
    void hintsOffDrawNoMark();
    void topPointKeepsRoomForItsMark();
    void sawFilesAskTwiceAndWriteBothSeries();
    void chListFilesForSpreadsheetAndHtml();
    void unwritableFileIsReportedByName();
};

void TheoryTest::hoverMarkShowsThePeakUnderTheCursor() {
    TheoryWindow f;
    ChartSeries* s10 = f.series("Chart3", "Series10");
    QCOMPARE(s10->count(), 5);
    QCOMPARE(f.series("Chart3", "Series9")->count(), static_cast<int>(f.window->state().tables.CHList.size()));
    const PeakResults& peaks = f.window->state().run.peaks;
    QCOMPARE(s10->y(2), CHDefectMmu(peaks[2].Centre));
    QCOMPARE(f.markPixels("Chart3", s10, 2), 0);

    f.hover(5, "Chart3", s10, 2);
    QCOMPARE(f.window->flags().HoverIndex, 2);
    QCOMPARE(s10->markText(2), ExpectedMark(peaks[2]));
    QCOMPARE(s10->markText(1), QString());
    QVERIFY(f.markPixels("Chart3", s10, 2) > 200);  // the mark is drawn above its point
    QCOMPARE(f.chart("Chart3")->mouseArea()->cursor().shape(), Qt::PointingHandCursor);

    // Leaving the point takes the mark away.
    QTest::mouseMove(f.chart("Chart3")->mouseArea(), QPoint(s10->pixelX(2) + 40, s10->pixelY(2) + 40));
    QTRY_COMPARE(f.window->flags().HoverIndex, -1);
    f.chart("Chart3")->redrawNow();
    QCOMPARE(f.markPixels("Chart3", s10, 2), 0);
}

void TheoryTest::hoverIndexIsSharedByBothCharts() {
    TheoryWindow f;
    ChartSeries* s13 = f.series("Chart4", "Series13");
    QCOMPARE(s13->count(), 5);
    const PeakResults& peaks = f.window->state().run.peaks;
    QCOMPARE(s13->y(4), CFDefectMmu(peaks[4].Centre));
    f.hover(6, "Chart4", s13, 4);
    QCOMPARE(f.window->flags().HoverIndex, 4);
    QCOMPARE(s13->markText(4), ExpectedMark(peaks[4]));
    QVERIFY(f.markPixels("Chart4", s13, 4) > 200);
    // The CH chart's point 4 would show its mark too at its next redraw.
    QCOMPARE(f.series("Chart3", "Series10")->markText(4), ExpectedMark(peaks[4]));
}

void TheoryTest::hintsOffDrawNoMark() {
    TheoryWindow f;
    ChartSeries* s10 = f.series("Chart3", "Series10");
    QAction* hints = f.window->menu().N31;
    QVERIFY(hints->isChecked());
    hints->trigger();
    QVERIFY(!hints->isChecked() && !f.window->flags().HintyCHCF);
    f.hover(5, "Chart3", s10, 3);
    QCOMPARE(f.window->flags().HoverIndex, 3);
    QCOMPARE(s10->markText(3), QString());
    QCOMPARE(f.markPixels("Chart3", s10, 3), 0);

    hints->trigger();  // on again: the point under the cursor gets its mark
    f.chart("Chart3")->redrawNow();
    QVERIFY(f.markPixels("Chart3", s10, 3) > 200);
}

void TheoryTest::topPointKeepsRoomForItsMark() {
    TheoryWindow f;
    f.window->resize(900, 600);  // a small window: the least room
    for (auto [page, name, seriesName] : {std::tuple{5, "Chart3", "Series9"}, std::tuple{6, "Chart4", "Series13"}}) {
        f.window->pageControl()->setCurrentIndex(page);
        QTest::qWait(20);
        ChartSurface* chart = f.chart(name);
        chart->redrawNow();
        ChartSeries* s = f.series(name, seriesName);
        int top = 0;
        for (int i = 1; i < s->count(); ++i)
            if (s->y(i) > s->y(top)) top = i;
        const double axisTop = std::round(chart->pixelOfValue(chart->visibleValueUpper()));
        QVERIFY2(s->pixelY(top) - axisTop >= 60, name);  // three lines of mark and its stem
        QVERIFY(chart->height() < 560);
    }
    f.open(f.dir.filePath("ch.txt"));  // a new spectrum: no room kept for the old points
    QCOMPARE(f.series("Chart3", "MarkRoom")->count(), 0);
}

void TheoryTest::sawFilesAskTwiceAndWriteBothSeries() {
    TheoryWindow f;
    const QString practice = f.dir.filePath("CH_p.txt");
    f.files->answers = {QString(), practice};  // the first dialog cancelled
    f.window->menu().TXT1->trigger();
    QCOMPARE(f.files->requests.size(), std::size_t{3});  // the open dialog, then the two saves
    const FileRequest& first = f.files->requests[1].request;
    const FileRequest& second = f.files->requests[2].request;
    QCOMPARE(first.title, QStringLiteral("Сохранить пилу CH (теория)"));
    QCOMPARE(first.proposedName, QStringLiteral("CH_t.txt"));
    QCOMPARE(first.filter, QStringLiteral("Текст (*.txt)|*.TXT|Все (*.*)|*.*"));
    QCOMPARE(first.startFolder, QString::fromStdString(f.window->flags().StartPapka));
    QCOMPARE(second.title, QStringLiteral("Сохранить пилу CH (практика)"));
    QCOMPARE(second.proposedName, QStringLiteral("CH_p.txt"));
    QVERIFY(second.startFolder.isEmpty());  // left where the first dialog was
    QVERIFY(!QFile::exists(f.dir.filePath("CH_t.txt")));

    QStringList lines = ReadCp1251Lines(practice);
    ChartSeries* s10 = f.series("Chart3", "Series10");
    QCOMPARE(lines.size(), 3 + s10->count());
    QCOMPARE(lines.mid(0, 3), (QStringList{"\"Пила CH (практика)\"", "\"\"", "\"\""}));
    QCOMPARE(lines[3], QString::fromStdString(FormatFixed(s10->x(0), 0) + "\t" + FormatFixed(s10->y(0), 0)));

    const QString theory = f.dir.filePath("CH_t.txt");
    f.files->answers = {theory, QString()};
    f.window->menu().TXT1->trigger();
    lines = ReadCp1251Lines(theory);
    ChartSeries* s9 = f.series("Chart3", "Series9");
    QCOMPARE(lines.size(), 3 + s9->count());
    QCOMPARE(lines[0], QStringLiteral("\"Пила CH (теория)\""));
    QCOMPARE(lines.last(), QString::fromStdString(FormatFixed(s9->x(s9->count() - 1), 0) + "\t" +
                                                  FormatFixed(s9->y(s9->count() - 1), 0)));
    QVERIFY(f.messages->infos.isEmpty() && f.messages->errors.isEmpty());
}

void TheoryTest::chListFilesForSpreadsheetAndHtml() {
    TheoryWindow f;
    const auto& chList = f.window->state().tables.CHList;
    const QString txt = f.dir.filePath("СписокCH.txt");
    f.files->answers = {txt};
    f.window->menu().XLS1->trigger();
    const FileRequest& request = f.files->requests.back().request;
    QCOMPARE(request.title, QStringLiteral("Сохранить список CH для Excel"));
    QCOMPARE(request.proposedName, QStringLiteral("СписокCH.txt"));
    QCOMPARE(request.filter, QStringLiteral("TXT (*.txt)|*.TXT|Все (*.*)|*.*"));
    QCOMPARE(request.startFolder, QCoreApplication::applicationDirPath());
    const QStringList lines = ReadCp1251Lines(txt);
    QCOMPARE(lines.size(), static_cast<int>(chList.size()));
    int molecular = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const IonRow& row = chList[static_cast<std::size_t>(i)];
        QVERIFY(lines[i].startsWith(QString::fromStdString(FormatGeneral(row.Mass)) + "\tC "));
        molecular += lines[i].endsWith(QStringLiteral("\tмолек"));
    }
    QVERIFY(molecular > 0);

    const QString html = f.dir.filePath("СписокCH.htm");
    f.files->answers = {html};
    f.window->menu().HTML3->trigger();
    QCOMPARE(f.files->requests.back().request.title, QStringLiteral("Сохранить список CH в HTML"));
    const QStringList page = ReadCp1251Lines(html);
    QCOMPARE(page.first(), QStringLiteral("<HTML>"));
    QCOMPARE(page.last(), QStringLiteral("</HTML>"));
    QVERIFY(page.contains(QStringLiteral("    <TITLE>Список CH</TITLE>")));
    QCOMPARE(page.filter(QStringLiteral("<TR>")).size(), static_cast<int>(chList.size()) + 1);
    QVERIFY(f.messages->errors.isEmpty());
}

void TheoryTest::unwritableFileIsReportedByName() {
    TheoryWindow f;
    const QString bad = f.dir.filePath("нет такой папки/CH.txt");
    f.files->answers = {bad};
    f.window->menu().XLS1->trigger();
    QCOMPARE(f.messages->errors.size(), 1);
    QVERIFY2(f.messages->errors[0].contains(bad), qPrintable(f.messages->errors[0]));
    // The window stays usable.
    const QString good = f.dir.filePath("CH.txt");
    f.files->answers = {good};
    f.window->menu().XLS1->trigger();
    QVERIFY(QFile::exists(good));
}

QTEST_MAIN(TheoryTest)
#include "test_theory.moc"
