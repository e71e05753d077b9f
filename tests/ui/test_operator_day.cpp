// The operator's whole day in the window, on a spectrum whose masses are all off by a known
// line: load, preliminary and final processing, calibration peaks paired with standard CH
// masses, the curve, a fitted line, the recalculation, save, open the saved file, process it
// again, and the fitted masses come back within the fit's error of the true ones.
// With ORVELO_SCREENSHOT_DIR set, every page is saved there as a PNG file on the way.

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "core/number_text.h"
#include "ui/chart_surface.h"
#include "ui/main_menu.h"
#include "ui/page_info.h"
#include "ui/support/ch_spectrum.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

// Column 2 "Масса" and column 3 "Ошибка" of the results table, one pair per peak.
std::vector<std::pair<double, double>> FittedMasses(WindowFixture& f) {
    PageInfo& info = *f.window->pages().info;
    std::vector<std::pair<double, double>> masses;
    for (int r = 1; r < info.rowCount(); ++r)
        masses.emplace_back(*ParseNumber(info.cell(1, r).toStdString()), *ParseNumber(info.cell(2, r).toStdString()));
    return masses;
}

void Screenshot(WindowFixture& f, int page, const QString& name) {
    const QString folder = qEnvironmentVariable("ORVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    f.window->pageControl()->setCurrentIndex(page);
    QTest::qWait(50);
    QVERIFY(f.window->grab().save(QDir(folder).filePath(name)));
}

}  // namespace

class OperatorDayTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void calibratedSpectrumGivesTheTrueMasses();
};

void OperatorDayTest::calibratedSpectrumGivesTheTrueMasses() {
    WindowFixture f;
    f.window->flags().Podskazka = false;
    const std::vector<double>& truth = CHTrueMasses();
    LoadAndProcess(f, WriteCHSpectrum(f.dir.filePath("day.txt")));
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    f.messages->clear();  // the short message of the preliminary run
    auto before = FittedMasses(f);
    QCOMPARE(before.size(), truth.size());
    for (std::size_t i = 0; i < truth.size(); ++i) QVERIFY(before[i].first - truth[i] > 0.007);

    // Calibration peaks in any order, each paired with its standard CnH2n+1 mass.
    for (int peak : {4, 1, 3, 0, 2}) {
        f.list("ListBox5")->setCurrentRow(peak);
        f.button("Button1")->click();
    }
    f.find<QCheckBox>("CheckBox2")->click();
    QListWidget* standard = f.list("ListBox2");
    for (int line = 0; line < 5; ++line) {
        const QString mass = QString::fromStdString(FormatGeneral(truth[static_cast<std::size_t>(line)]));
        const auto found = standard->findItems(mass + QStringLiteral(",  C "), Qt::MatchStartsWith);
        QVERIFY2(!found.isEmpty(), qPrintable(mass));
        standard->setCurrentItem(found.front());
        f.list("ListBox6")->setCurrentRow(line);
        f.button("Button8")->click();
    }
    Screenshot(f, 3, QStringLiteral("calibration_masses.png"));
    f.button("Button15")->click();
    f.button("Button6")->click();
    QVERIFY2(f.messages->infos.isEmpty(), qPrintable(f.messages->infos.join('|')));
    Screenshot(f, 4, QStringLiteral("calibration_curve.png"));
    f.button("Button5")->click();
    QCOMPARE(f.messages->infos, QStringList{QStringLiteral("Пересчёт произведён")});

    const QString saved = f.dir.filePath("day_calibrated.txt");
    f.files->answers.push_back(saved);
    f.window->menu().N42->trigger();
    LoadAndProcess(f, saved);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));

    const auto after = FittedMasses(f);
    QCOMPARE(after.size(), truth.size());
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const double diff = std::abs(after[i].first - truth[i]);
        const double tolerance = 3 * after[i].second + 0.00002;  // the file keeps five decimals
        qInfo("peak %zu: true %.5f, before %.6f, after %.6f, error %.6f", i, truth[i], before[i].first, after[i].first,
              after[i].second);
        QVERIFY2(diff <= tolerance, qPrintable(QStringLiteral("peak %1: fitted %2, true %3, error %4")
                                                   .arg(i)
                                                   .arg(after[i].first, 0, 'f', 6)
                                                   .arg(truth[i], 0, 'f', 5)
                                                   .arg(after[i].second, 0, 'f', 6)));
    }

    // The pages at the end of the day, the CH chart with the mark of its third peak.
    ChartSurface* chart3 = f.find<ChartSurface>("Chart3");
    f.window->pageControl()->setCurrentIndex(5);
    chart3->redrawNow();
    ChartSeries* s10 = chart3->series(QStringLiteral("Series10"));
    QTest::mouseMove(chart3->mouseArea(), QPoint(s10->pixelX(2), s10->pixelY(2)));
    QTRY_COMPARE(f.window->flags().HoverIndex, 2);
    const char* names[] = {"spectrum",  "information", "settings",    nullptr,  nullptr,
                           "theory_ch", "theory_cf",   "single_peak", "testing"};
    for (int page = 0; page < 9; ++page)
        if (names[page]) Screenshot(f, page, QString::fromLatin1(names[page]) + QStringLiteral(".png"));
}

QTEST_MAIN(OperatorDayTest)
#include "test_operator_day.moc"
