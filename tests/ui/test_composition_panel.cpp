// The formula panel of "Информация" on a spectrum of planted ions (C4H9+, C6H5+, C7H7+ with
// their isotope peaks at natural abundance, resolving power 5000, ion masses): a selected row
// shows its ion first, a calibration line with the CH table's mass marks the reference ion, the
// settings outlive the window, a bad range string is only a message, a double click copies.
// With ORVELO_SCREENSHOT_DIR set, the panel is saved there: p20-panel.png on a real Q Exactive
// spectrum, p20-panel-reference.png with the reference ion marked.
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "composition/candidates.h"
#include "core/cp1251.h"
#include "support/synthetic_spectrum.h"
#include "ui/composition_panel.h"
#include "ui/page_info.h"
#include "ui/support/window_fixture.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

Formula Ion(int c, int h) {
    Formula f;
    f.counts[kC] = static_cast<int16_t>(c);
    f.counts[kH] = static_cast<int16_t>(h);
    return f;
}

QString WriteIonSpectrum(const QString& path) {
    orvelo::testing::SyntheticSpectrum s;
    constexpr double kR = 5000;
    for (const auto& [f, height] : {std::pair{Ion(4, 9), 8000.0}, {Ion(6, 5), 6000.0}, {Ion(7, 7), 10000.0}}) {
        const double m = IonMass(f);
        s.peaks.push_back({m, kR, height});
        for (const IsotopePeak& iso : ExpectedIsotopePeaks(f, m / kR))
            if (iso.ratio * height > 50) s.peaks.push_back({m + iso.offset, kR, iso.ratio * height});
    }
    s.massFirst = 55;
    s.massLast = 95;
    s.spacing = 0.001;
    s.baseline = 20;
    s.noiseAmplitude = 4;
    s.seed = 3;
    s.integral = true;
    const PointList points = s.Generate();
    QByteArray text = QByteArray::fromStdString(Utf8ToCp1251("\"Ионы C4H9, C6H5, C7H7\"\r\n\"\"\r\n\"\"\r\n"));
    for (int i = 0; i < points.count(); ++i)
        text += QByteArray::number(points.x[i], 'f', 5) + '\t' + QByteArray::number(std::lround(points.y[i])) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The table row (from 0) of the peak nearest `mass`.
int RowOf(const PageInfo& info, double mass) {
    for (int r = 1; r < info.rowCount(); ++r)
        if (qAbs(info.cell(1, r).toDouble() - mass) < 0.002) return r - 1;
    return -1;
}

void ClickRow(WindowFixture& f, int row) {
    auto* grid = f.find<QTableWidget>("StringGrid1");
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void Type(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->editingFinished();
}

}  // namespace

class CompositionPanelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void selectedRowShowsItsIonFirstAndMarksTheReferenceIon();
    void settingsAreRememberedAndBadRangesOnlyExplain();
    void realSpectrumPicture();
};

void CompositionPanelTest::selectedRowShowsItsIonFirstAndMarksTheReferenceIon() {
    WindowFixture f;
    f.open(WriteIonSpectrum(f.dir.filePath(QStringLiteral("ions.txt"))));
    f.preliminary(5);
    const int line = FirstZoneAbove(f.list("ListBox1"), 100);
    QVERIFY(line >= 0);
    f.finalRun(line);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    f.window->pageControl()->setCurrentIndex(1);
    PageInfo& info = *f.window->pages().info;
    CompositionPanel& panel = f.window->compositionPanel();
    QCOMPARE(panel.peak(), -1);
    QCOMPARE(panel.candidateCount(), 0);

    const int c7h7 = RowOf(info, IonMass(Ion(7, 7)));
    QVERIFY(c7h7 >= 0);
    ClickRow(f, c7h7);
    QCOMPARE(panel.peak(), c7h7);
    QVERIFY2(panel.candidateCount() > 0, qPrintable(panel.message()));
    QCOMPARE(panel.candidateCell(0, 0), QStringLiteral("C7H7+"));
    QVERIFY(qAbs(panel.candidateCell(0, 1).toDouble()) < 0.5);  // Δ in mmu, with a point
    QVERIFY(panel.referenceLine().isEmpty());

    // A double click copies the formula.
    auto* candidates = f.find<QTableWidget>("CompositionCandidates");
    QCOMPARE(candidates->horizontalHeaderItem(3)->text(), QStringLiteral("Δ/σ"));
    QGuiApplication::clipboard()->clear();
    const QRect first = candidates->visualRect(candidates->model()->index(0, 2));
    QTest::mouseClick(candidates->viewport(), Qt::LeftButton, {}, first.center());  // the press a double click ends
    QTest::mouseDClick(candidates->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("C7H7+"));

    // C4H9 taken into the calibration list with the CH table's mass is the reference ion.
    const int c4h9 = RowOf(info, IonMass(Ion(4, 9)));
    QVERIFY(c4h9 >= 0);
    f.take(c4h9);
    f.attachTyped(0, QStringLiteral("57.07043"));
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    ClickRow(f, c4h9);
    QCOMPARE(panel.candidateCell(0, 0), QStringLiteral("C4H9+"));
    QCOMPARE(panel.referenceLine(), QStringLiteral("C4H9+ — опорный ион CH калибровки"));
    if (ScreenshotsWanted()) {
        QTest::qWait(100);
        SaveScreenshot(*f.window, QStringLiteral("p20-panel-reference.png"));
    }
    ClickRow(f, c7h7);
    QVERIFY(panel.referenceLine().isEmpty());

    // Loading the spectrum again empties the table and the panel; after the new runs C4H9 is no
    // reference ion any more (the calibration list went with the old results).
    f.open(f.dir.filePath(QStringLiteral("ions.txt")));
    QCOMPARE(panel.peak(), -1);
    QCOMPARE(panel.candidateCount(), 0);
    f.preliminary(5);
    f.finalRun(line);
    ClickRow(f, c4h9);
    QCOMPARE(panel.candidateCell(0, 0), QStringLiteral("C4H9+"));
    QVERIFY(panel.referenceLine().isEmpty());
}

void CompositionPanelTest::settingsAreRememberedAndBadRangesOnlyExplain() {
    WindowFixture f;
    {
        CompositionPanel& panel = f.window->compositionPanel();
        QCOMPARE(panel.settings().ranges, std::string(kDefaultElementRanges));
        QCOMPARE(panel.settings().tolerancePpm, kDefaultTolerancePpm);
        QCOMPARE(panel.settings().charge, 0);
        Type(f.find<QLineEdit>("CompositionRanges"), QStringLiteral("C0-30H0-60N0-2"));
        Type(f.find<QLineEdit>("CompositionPpm"), QStringLiteral("5"));
        f.find<QComboBox>("CompositionCharge")->setCurrentIndex(2);
        QVERIFY(panel.message().isEmpty());

        Type(f.find<QLineEdit>("CompositionRanges"), QStringLiteral("C0-30Q1"));
        QVERIFY2(panel.message().contains(QLatin1Char('Q')), qPrintable(panel.message()));
        QCOMPARE(panel.candidateCount(), 0);
        panel.showPeak(0);  // no results: a message, nothing searched
        QVERIFY(!panel.message().isEmpty());
        Type(f.find<QLineEdit>("CompositionPpm"), QStringLiteral("-1"));
        QVERIFY(!panel.message().isEmpty());
    }
    f.window.reset();
    WindowFixture later(f.settingsDir);
    const CompositionSettings s = later.window->compositionPanel().settings();
    QCOMPARE(s.ranges, std::string("C0-30H0-60N0-2"));  // the refused ranges were not kept
    QCOMPARE(s.tolerancePpm, 5.0);
    QCOMPARE(s.charge, 2);
}

// The strongest peak below m/z 700 of a real spectrum, for a picture to look at.
void CompositionPanelTest::realSpectrumPicture() {
    if (!ScreenshotsWanted()) QSKIP("a picture only when ORVELO_SCREENSHOT_DIR is set");
    WindowFixture f;
    f.open(QStringLiteral(ORVELO_REAL_DATA "/orbitrap_qexactive_ms1.txt"));
    f.preliminary(5);
    const int line = FirstZoneAbove(f.list("ListBox1"), 20000000);
    QVERIFY(line >= 0);
    f.finalRun(line);
    QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    f.window->pageControl()->setCurrentIndex(1);
    const PeakResults& peaks = f.window->state().run.peaks;
    int strongest = -1;
    for (std::size_t k = 0; k < peaks.size(); ++k)
        if (peaks[k].Centre < 700 && !IsProblemPeak(peaks[k]) &&
            (strongest < 0 || peaks[k].Height > peaks[static_cast<std::size_t>(strongest)].Height))
            strongest = static_cast<int>(k);
    QVERIFY(strongest >= 0);
    ClickRow(f, strongest);
    QVERIFY2(f.window->compositionPanel().candidateCount() > 0, qPrintable(f.window->compositionPanel().message()));
    QTest::qWait(100);
    SaveScreenshot(*f.window, QStringLiteral("p20-panel.png"));
}

QTEST_MAIN(CompositionPanelTest)
#include "test_composition_panel.moc"
