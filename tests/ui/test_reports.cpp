// Reports and pictures from a processed spectrum: the information report in both looks from the
// grid as shown (column chooser answered, a widened column, an edited cell), the four chart
// bitmaps, printing to an injected PDF printer and the refusals without one, and the results
// table popup entries "Копировать в TXT-файл" and "Копировать в Excel".
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/errors.h"
#include "ui/chart_surface.h"
#include "ui/main_menu.h"
#include "ui/page_info.h"
#include "ui/report_commands.h"
#include "ui/secondary_windows.h"
#include "ui/support/ch_spectrum.h"
#include "ui/support/modal_answer.h"
#include "ui/support/text_lines.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

struct ReportWindow : ProcessedWindow {
    PageInfo& info() { return *window->pages().info; }
    // The chooser comes up with every box checked; the listed boxes (1-based) are unchecked
    // before OK.
    void chooseColumns(std::vector<int> unchecked) {
        AnswerNextModal<ColumnChooser>([unchecked](ColumnChooser* form3) {
            for (QCheckBox* box : form3->boxes) QVERIFY(box->isChecked());
            for (int n : unchecked) form3->boxes[static_cast<std::size_t>(n - 1)]->setChecked(false);
            form3->Button1->click();
        });
    }
};

std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

QByteArray FileStart(const QString& path, int bytes) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

}  // namespace

class ReportsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void htmlReportTakesTheGridAsShown();
    void columnChoiceIsKeptWhenTheSaveIsCancelled();
    void chartBitmapsAtTheirOnScreenSize();
    void printingGoesToTheInjectedPrinter();
    void printingWithoutAPrinterIsAnError();
    void copyToTxtWritesTheSelectedCells();
    void copyToExcelPutsTheSameTextOnTheClipboard();
};

void ReportsTest::htmlReportTakesTheGridAsShown() {
    ReportWindow f;
    PageInfo& info = f.info();
    QCOMPARE(info.rowCount(), 6);
    f.find<QTableWidget>("StringGrid1")->setColumnWidth(1, 100);  // widened by the operator
    info.setCell(1, 2, QStringLiteral("43.06 <правка>"));
    const QString plain = f.dir.filePath("plain.htm");
    f.chooseColumns({3});
    f.files->answers = {plain};
    f.window->menu().HTML1->trigger();
    QVERIFY(f.messages->errors.isEmpty());
    const FileRequest& request = f.files->requests.back().request;
    QCOMPARE(request.title, QStringLiteral("Сохранить информацию"));
    QCOMPARE(request.proposedName, QStringLiteral("Информация.htm"));
    QCOMPARE(request.filter, QStringLiteral("HTML (*.htm)|*.HTM|Все (*.*)|*.*"));
    QCOMPARE(request.startFolder, QCoreApplication::applicationDirPath());
    std::array<bool, 12> expected;
    expected.fill(true);
    expected[2] = false;
    QCOMPARE(f.window->flags().VyborStolbtsov, expected);

    const QStringList lines = ReadCp1251Lines(plain);
    // 12 head lines, table start, a space line, six row blocks of 11 cells + 3, end lines.
    QCOMPARE(lines.size(), 12 + 2 + 6 * 14 + 3 + 5);
    QCOMPARE(lines[2], QStringLiteral("    <TITLE> Пять ионов CH</TITLE>"));
    QCOMPARE(lines[12],
             QStringLiteral("<TABLE BORDER=1 BORDERCOLOR=#000000 BORDERCOLORDARK=#000000 BORDERCOLORLIGHT=#000000>"));
    QCOMPARE(lines[15], QStringLiteral("    <TH WIDTH=%1>M</TH> ").arg(info.columnWidth(0) + 5));
    QCOMPARE(lines[16], QStringLiteral("    <TH WIDTH=105>Масса</TH> "));
    QVERIFY(!lines.join('\n').contains(QStringLiteral(">Ошибка<")));
    QVERIFY(lines.contains(QStringLiteral("    <TD WIDTH=105>43.06 &lt;правка&gt;</TD> ")));

    const QString framed = f.dir.filePath("framed.htm");
    f.chooseColumns({3});
    f.files->answers = {framed};
    f.window->menu().HTML2->trigger();
    const QStringList framedLines = ReadCp1251Lines(framed);
    QCOMPARE(framedLines.size(), lines.size() + 8);
    QCOMPARE(framedLines[12], QStringLiteral("<table cellSpacing=0 cellPadding=0 border=0>"));
    QVERIFY(framedLines.contains(QStringLiteral("    <TH bgcolor=ffffff WIDTH=105>Масса</TH> ")));
}

void ReportsTest::columnChoiceIsKeptWhenTheSaveIsCancelled() {
    ReportWindow f;
    f.chooseColumns({1, 12});
    f.window->menu().HTML1->trigger();  // the save dialog is cancelled
    QCOMPARE(f.files->requests.back().request.title, QStringLiteral("Сохранить информацию"));
    QVERIFY(!f.window->flags().VyborStolbtsov[0] && !f.window->flags().VyborStolbtsov[11]);
    QVERIFY(f.window->flags().VyborStolbtsov[1]);

    // Closed without OK (Escape, the close button): the report is cancelled, no save dialog,
    // no file, and the stored choice stays.
    const auto requests = f.files->requests.size();
    AnswerNextModal<ColumnChooser>([](ColumnChooser* form3) {
        form3->boxes[5]->setChecked(false);
        form3->reject();
    });
    const QString path = f.dir.filePath("kept.htm");
    f.files->answers = {path};
    f.window->menu().HTML1->trigger();
    QCOMPARE(f.files->requests.size(), requests);
    QVERIFY(!QFile::exists(path));
    QVERIFY(f.window->flags().VyborStolbtsov[5]);
}

void ReportsTest::chartBitmapsAtTheirOnScreenSize() {
    ReportWindow f;
    struct Entry {
        QAction* action;
        const char* chart;
        QString title, name;
    };
    MainMenu& m = f.window->menu();
    const Entry entries[] = {
        {m.BMP1, "Chart1", QStringLiteral("Сохранить график спектра"), QStringLiteral("График.bmp")},
        {m.BMP2, "Chart3", QStringLiteral("Сохранить теорию CH (пилу)"), QStringLiteral("Пила CH.bmp")},
        {m.BMP3, "Chart2", QStringLiteral("Сохранить калибровочную кривую"), QStringLiteral("Кривая.bmp")},
        {m.BMP4, "Chart4", QStringLiteral("Сохранить теорию CF (пилу)"), QStringLiteral("Пила CF.bmp")},
    };
    for (const Entry& e : entries) {
        const QString path = f.dir.filePath(QString::fromLatin1(e.chart));  // no extension
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old file") == 8);
        old.close();
        f.files->answers = {path};
        e.action->trigger();
        const FileRequest& request = f.files->requests.back().request;
        QCOMPARE(request.title, e.title);
        QCOMPARE(request.proposedName, e.name);
        QCOMPARE(request.filter, QStringLiteral("BMP (*.bmp)|*.BMP|Все (*.*)|*.*"));
        QCOMPARE(request.startFolder, QCoreApplication::applicationDirPath());
        QCOMPARE(FileStart(path, 2), QByteArray("BM"));
        const QImage image(path, "BMP");
        ChartSurface* chart = f.find<ChartSurface>(e.chart);
        QCOMPARE(image.size(), chart->size());
        QVERIFY2(chart->width() > 900 && chart->height() > 700, e.chart);  // laid out, even if never shown
        QVERIFY(!QFile::exists(path + ".bmp"));
    }
    QVERIFY(f.messages->errors.isEmpty());
    // The CH chart, saved before its page was ever shown, had the size it shows with.
    f.window->pageControl()->setCurrentIndex(5);
    QTest::qWait(20);
    QCOMPARE(f.find<ChartSurface>("Chart3")->size(), QImage(f.dir.filePath("Chart3"), "BMP").size());

    f.window->resize(1400, 1004);  // a bigger window gives a bigger picture
    QCoreApplication::processEvents();
    const QString wide = f.dir.filePath("wide.bmp");
    f.files->answers = {wide};
    m.BMP1->trigger();
    QCOMPARE(QImage(wide, "BMP").width(), f.find<ChartSurface>("Chart1")->width());
    QVERIFY(QImage(wide, "BMP").width() > 1300);

    f.files->answers = {f.dir.filePath("нет/Кривая.bmp")};
    m.BMP3->trigger();
    QCOMPARE(f.messages->errors.size(), 1);
    QVERIFY(f.messages->errors[0].contains(f.dir.filePath("нет/Кривая.bmp")));
    // The message names the cause after the file, and nothing is left behind.
    QVERIFY2(f.messages->errors[0].section(QStringLiteral("Кривая.bmp\": "), 1).size() > 3,
             qPrintable(f.messages->errors[0]));
    QVERIFY(!QDir(f.dir.filePath("нет")).exists());
}

void ReportsTest::printingGoesToTheInjectedPrinter() {
    ReportWindow f;
    const QString pdf = f.dir.filePath("print.pdf");
    int printers = 0;
    f.window->reportCommands().setPrinterFactory([&] {
        ++printers;
        return PdfPrinter(pdf);
    });
    ChartSurface* chart = f.find<ChartSurface>("Chart1");
    chart->setPrintMargins(5, 5, 5, 5);
    f.window->menu().N35->trigger();
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    QCOMPARE(printers, 1);
    QVERIFY(f.files->requests.size() == 1);  // no dialog beyond the one that opened the spectrum
    QCOMPARE(chart->printMargins(), (std::array<int, 4>{0, 0, 0, 0}));
    QCOMPARE(FileStart(pdf, 4), QByteArray("%PDF"));
    QVERIFY(QFile(pdf).size() > 2000);
}

void ReportsTest::printingWithoutAPrinterIsAnError() {
    ReportWindow f;
    if (QPrinterInfo::defaultPrinter().isNull()) {
        f.window->menu().N35->trigger();  // the program's own printer choice
        QCOMPARE(f.messages->errors, QStringList{QString::fromUtf8(kNoDefaultPrinterMessage) + "."});
    } else {
        qInfo("this computer has a default printer; the refusal without one is not exercised");
    }
    // A printer that cannot start its job.
    const QString unreachable = f.dir.filePath("нет/print.pdf");
    f.window->reportCommands().setPrinterFactory([&] { return PdfPrinter(unreachable); });
    f.messages->clear();
    f.window->menu().N35->trigger();
    QCOMPARE(f.messages->errors.size(), 1);
    QVERIFY2(f.messages->errors[0].contains(QStringLiteral("не может начать печать")),
             qPrintable(f.messages->errors[0]));
    QVERIFY(f.messages->errors[0].contains(unreachable));
}

void ReportsTest::copyToTxtWritesTheSelectedCells() {
    ReportWindow f;
    PageInfo& info = f.info();
    QTableWidget* grid = f.find<QTableWidget>("StringGrid1");
    grid->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 3), true);  // table rows 2-3, columns 1-3
    const QString path = f.dir.filePath("table.txt");
    f.files->answers = {path};
    f.find<QAction>("TXT2")->trigger();
    const FileRequest& request = f.files->requests.back().request;
    QCOMPARE(request.title, QStringLiteral("Сохранить таблицу"));
    QCOMPARE(request.proposedName, QStringLiteral("Информация.txt"));
    QCOMPARE(f.messages->infos, QStringList{"OK"});
    QStringList expected;
    for (int r : {2, 3}) expected << QStringList{info.cell(1, r), info.cell(2, r), info.cell(3, r)}.join('\t');
    QCOMPARE(ReadCp1251Lines(path), expected);

    // Cancelled: nothing written, nothing said.
    f.messages->clear();
    QVERIFY(QFile::remove(path));
    f.find<QAction>("TXT2")->trigger();
    QVERIFY(f.messages->infos.isEmpty() && !QFile::exists(path));

    // One cell selected: the whole table, heads first.
    grid->clearSelection();
    grid->setCurrentCell(3, 4);
    f.files->answers = {path};
    f.find<QAction>("TXT2")->trigger();
    const QStringList whole = ReadCp1251Lines(path);
    QCOMPARE(whole.size(), info.rowCount());
    QCOMPARE(whole[0], QStringLiteral("M\tМасса\tОшибка\tMe\tDMe\tR\tdR\tA\tB\tStd Err\tIter\tKol"));
    QCOMPARE(whole[5].split('\t').size(), 12);
    QCOMPARE(whole[5].split('\t')[1], info.cell(1, 5));
}

void ReportsTest::copyToExcelPutsTheSameTextOnTheClipboard() {
    ReportWindow f;
    PageInfo& info = f.info();
    f.find<QTableWidget>("StringGrid1")->setRangeSelected(QTableWidgetSelectionRange(0, 0, 4, 1), true);
    f.find<QAction>("N4")->trigger();
    QString expected;
    for (int r = 1; r <= 5; ++r) expected += info.cell(0, r) + '\t' + info.cell(1, r) + '\n';
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    QVERIFY(f.messages->infos.isEmpty() && f.messages->errors.isEmpty());
    QVERIFY(f.files->requests.size() == 1);
}

QTEST_MAIN(ReportsTest)
#include "test_reports.moc"
