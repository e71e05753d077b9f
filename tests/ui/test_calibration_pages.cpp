// The pages "Калибровочные массы" and "Калибровочная кривая" on a processed spectrum of five
// CH ions shifted by a known line: pairing peaks with true masses, the refusals, the curve, the
// recalculation and the buttons through List open -> Points created -> Curve fitted -> Applied.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "calibration/calibration_list.h"
#include "calibration/calibration_workflow.h"
#include "core/number_text.h"
#include "ui/calibration_commands.h"
#include "ui/chart_surface.h"
#include "ui/dialogs.h"
#include "ui/main_menu.h"
#include "ui/support/ch_spectrum.h"
#include "ui/widget_kit.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

struct CalibrationWindow : ProcessedWindow {
    ChartSeries* series(const char* name) { return find<ChartSurface>("Chart2")->series(QString::fromLatin1(name)); }
    bool enabled(const char* name) { return button(name)->isEnabled(); }
    // Which of the work-flow buttons are on, in a fixed order.
    QString states() {
        QString s;
        for (const char* b :
             {"Button1", "Button2", "Button3", "Button8", "Button14", "Button15", "Button6", "Button4", "Button5"})
            s += enabled(b) ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
};

}  // namespace

class CalibrationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void peaksTakenInAnyOrderStayInPeakOrder();
    void trueMassesTypedAndStandardReplaceEachOther();
    void entryRefusalsChangeNothing();
    void standardMassGroupListsTheChosenFamily();
    void incompleteOrBadListCreatesNoCurve();
    void lineFitAndRecalculationMoveTheSpectrum();
    void parabolaThroughTheLinearShiftIsAlmostALine();
    void clearingTheListReturnsToListOpen();
    void fitsRefuseTooFewPoints();
    void curveThatRuinsTheMassAxisIsRefused();
    void recalculatedSpectrumIsNotGivenUpWithoutAQuestion();
};

void CalibrationTest::peaksTakenInAnyOrderStayInPeakOrder() {
    CalibrationWindow f;
    const QStringList all = ListLines(f.list("ListBox5"));
    QCOMPARE(all.size(), 5);
    QCOMPARE(f.states(), QStringLiteral("111111000"));  // List open
    for (int peak : {3, 0, 4}) f.take(peak);
    QCOMPARE(ListLines(f.list("ListBox6")), (QStringList{all[0], all[3], all[4]}));
    QCOMPARE(f.window->state().calibrationList.CalibIndex(), (std::vector<int>{0, 3, 4}));
    QCOMPARE(f.list("ListBox6")->currentRow(), 2);  // the line just taken
    QVERIFY(f.messages->infos.isEmpty());

    f.take(3);
    QCOMPARE(f.messages->infos, QStringList{QStringLiteral("Вы уже занесли этот пик")});
    QCOMPARE(f.list("ListBox6")->count(), 3);

    f.list("ListBox5")->setCurrentRow(-1);
    f.button("Button1")->click();  // nothing chosen: nothing happens, silently
    QCOMPARE(f.list("ListBox6")->count(), 3);
    QCOMPARE(f.messages->infos.size(), 1);

    f.list("ListBox6")->setCurrentRow(1);
    f.button("Button3")->click();
    QCOMPARE(ListLines(f.list("ListBox6")), (QStringList{all[0], all[4]}));
    QCOMPARE(f.window->state().calibrationList.CalibCount(), 2);
    QVERIFY(!f.list("ListBox7")->isVisible());
}

void CalibrationTest::trueMassesTypedAndStandardReplaceEachOther() {
    CalibrationWindow f;
    const QString line1 = f.list("ListBox5")->item(1)->text();
    f.take(1);
    f.take(2);
    QLineEdit* edit = f.find<QLineEdit>("Edit1");
    f.list("ListBox6")->setCurrentRow(0);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("4a3,.0-5x48"));  // only digits and the point arrive
    QCOMPARE(edit->text(), QStringLiteral("43.0548"));
    f.button("Button2")->click();
    QCOMPARE(f.list("ListBox6")->item(0)->text(), line1 + QStringLiteral(",  43.0548"));
    QCOMPARE(edit->text(), QStringLiteral("43.0548"));  // the entry keeps its text
    QCOMPARE(f.window->state().calibrationList.TrueMassCount(), 1);

    // A standard mass replaces the typed one; the count stays.
    f.find<QCheckBox>("CheckBox2")->click();  // CnH2n+1 too
    QListWidget* standard = f.list("ListBox2");
    int c3h7 = -1;
    for (int i = 0; i < standard->count(); ++i)
        if (standard->item(i)->text().startsWith(QStringLiteral("43.05481,  C 3 H 7,  один"))) c3h7 = i;
    QVERIFY(c3h7 >= 0);
    standard->setCurrentRow(c3h7);
    f.list("ListBox6")->setCurrentRow(0);
    f.button("Button8")->click();
    QCOMPARE(f.list("ListBox6")->item(0)->text(), line1 + QStringLiteral(",  43.05481"));
    QCOMPARE(f.window->state().calibrationList.TrueMassCount(), 1);
    QCOMPARE(f.list("ListBox6")->currentRow(), 0);

    // Removing the line with a true mass lowers the count.
    f.button("Button3")->click();
    QCOMPARE(f.window->state().calibrationList.TrueMassCount(), 0);
    QCOMPARE(f.window->state().calibrationList.CalibCount(), 1);
}

void CalibrationTest::entryRefusalsChangeNothing() {
    CalibrationWindow f;
    f.take(0);
    const QString line = f.list("ListBox6")->item(0)->text();
    f.attachTyped(0, QString());
    QCOMPARE(f.messages->infos, QStringList{QStringLiteral("Вы ничего не ввели")});
    f.attachTyped(0, QString(60, QLatin1Char('7')));  // the line would pass 50 characters
    QCOMPARE(f.messages->infos.last(), QString::fromUtf8(kTrueMassTooLongMessage));
    QCOMPARE(f.list("ListBox6")->item(0)->text(), line);
    QCOMPARE(f.window->state().calibrationList.TrueMassCount(), 0);

    f.list("ListBox2")->setCurrentRow(-1);  // no standard line chosen: silently nothing
    f.button("Button8")->click();
    QCOMPARE(f.messages->infos.size(), 2);
    QCOMPARE(f.list("ListBox6")->item(0)->text(), line);
}

void CalibrationTest::standardMassGroupListsTheChosenFamily() {
    CalibrationWindow f;
    QListWidget* standard = f.list("ListBox2");
    const QStringList molecular = ListLines(standard);
    QVERIFY(!molecular.isEmpty());
    for (const QString& l : molecular) QVERIFY2(l.endsWith(QStringLiteral(",  молек")), qPrintable(l));

    f.find<QCheckBox>("CheckBox4")->click();  // the full list overrides the kinds
    QCOMPARE(standard->count(), static_cast<int>(f.window->state().tables.CHList.size()));

    f.find<QRadioButton>("RadioButton2")->click();
    const auto& cf = f.window->state().tables.CFList;
    QVERIFY(!cf.empty());
    QCOMPARE(standard->count(), static_cast<int>(cf.size()));
    QCOMPARE(standard->item(0)->text(),
             QString::fromStdString(FormatGeneral(cf[0].Mass) + ",  C " + FormatGeneral(cf[0].nC) + " F " +
                                    FormatGeneral(cf[0].nX)));
    // A CF mass is taken like a CH one.
    f.take(2);
    f.list("ListBox6")->setCurrentRow(0);
    standard->setCurrentRow(0);
    f.button("Button8")->click();
    QVERIFY(f.list("ListBox6")->item(0)->text().endsWith(",  " + QString::fromStdString(FormatGeneral(cf[0].Mass))));

    f.find<QRadioButton>("RadioButton1")->click();
    QCOMPARE(standard->count(), static_cast<int>(f.window->state().tables.CHList.size()));
}

void CalibrationTest::incompleteOrBadListCreatesNoCurve() {
    CalibrationWindow f;
    f.button("Button15")->click();  // empty list
    QCOMPARE(f.messages->infos.last(), QString::fromUtf8(kEmptyCalibListMessage));
    f.take(0);
    f.take(1);
    f.attachTyped(0, QStringLiteral("29.03915"));
    f.button("Button15")->click();
    QCOMPARE(f.messages->infos.last(), QStringLiteral("Вы не для всех масс задали истинные массы"));
    QCOMPARE(f.series("Series7")->count(), 0);
    QCOMPARE(f.states(), QStringLiteral("111111000"));

    f.attachTyped(1, QStringLiteral("1.2.3"));  // accepted by the filter, refused by the curve
    f.button("Button15")->click();
    QVERIFY2(f.messages->infos.last().contains(QStringLiteral("1.2.3")), qPrintable(f.messages->infos.last()));
    QCOMPARE(f.series("Series7")->count(), 0);
    QCOMPARE(f.states(), QStringLiteral("111111000"));
    QCOMPARE(f.list("ListBox7")->count(), 0);
    QVERIFY(f.messages->errors.isEmpty());
}

void CalibrationTest::lineFitAndRecalculationMoveTheSpectrum() {
    CalibrationWindow f;
    f.completeList();
    f.button("Button15")->click();
    QCOMPARE(f.states(), QStringLiteral("000011110"));  // Points created
    QVERIFY(f.messages->infos.last().startsWith(QStringLiteral("Калибровочная линия создана\r\r")));
    QCOMPARE(f.list("ListBox7")->count(), 5);
    QCOMPARE(f.list("ListBox7")->item(4)->text(), QStringLiteral("4,  4"));
    ChartSeries* s7 = f.series("Series7");
    QCOMPARE(s7->count(), 5);
    const PeakResults& peaks = f.window->state().run.peaks;
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(s7->x(i), peaks[i].Centre);  // the fitted centre, not the one-decimal text
        QCOMPARE(s7->y(i), (CHTrueMasses()[i] - peaks[i].Centre) * 1000);
        // The planted shift, 5 + 0.1 m mmu, seen through the fit.
        QVERIFY(qAbs(-s7->y(i) - (5 + 0.1 * CHTrueMasses()[i])) < 0.5);
    }

    f.button("Button6")->click();
    QCOMPARE(f.states(), QStringLiteral("000011001"));  // Curve fitted
    QCOMPARE(f.messages->infos.last(), QStringLiteral("Теперь Вы должны нажать кнопку \"Пересчитать данные\""));
    ChartSeries* s8 = f.series("Series8");
    QCOMPARE(s8->count(), 2);
    const CalibrationCurve curve = f.window->state().calibration.curve;
    QCOMPARE(curve.CalibA, 0.0);
    QCOMPARE(curve.CalibB, (s7->y(4) - s7->y(0)) / (s7->x(4) - s7->x(0)));
    QVERIFY(qAbs(curve.CalibB + 0.1) < 0.01);

    const PointList before = f.window->state().spectrum.Spectrum;
    f.button("Button5")->click();
    QCOMPARE(f.messages->infos.last(), QStringLiteral("Пересчёт произведён"));
    QCOMPARE(f.states(), QStringLiteral("000011000"));  // Applied
    QVERIFY(!f.enabled("Button9"));                     // only a load enables the preliminary run
    const PointList& after = f.window->state().spectrum.Spectrum;
    QCOMPARE(after.count(), before.count());
    ChartSeries* s1 = f.find<ChartSurface>("Chart1")->series("Series1");
    QCOMPARE(s1->count(), after.count());
    for (int i : {0, 28000, after.count() - 1}) {
        QCOMPARE(after.x[i], before.x[i] + curve.DeviationMmu(before.x[i]) / 1000);
        QCOMPARE(after.y[i], before.y[i]);
        QCOMPARE(s1->x(i), after.x[i]);
    }
    QVERIFY(after.x[0] < before.x[0] - 0.007);  // about 7.5 thousandths down at mass 25
    for (const char* l : {"ListBox5", "ListBox6", "ListBox2", "ListBox8"}) QCOMPARE(f.list(l)->count(), 0);
    QCOMPARE(s7->count(), 0);
    QCOMPARE(s8->count(), 0);
    QCOMPARE(f.find<ChartSurface>("Chart1")->series("Series6")->count(), 0);
}

void CalibrationTest::parabolaThroughTheLinearShiftIsAlmostALine() {
    CalibrationWindow f;
    f.completeList();
    f.window->flags().Podskazka = false;
    f.button("Button15")->click();
    f.button("Button4")->click();
    QVERIFY(f.messages->infos.isEmpty());  // no guidance while it is off
    QCOMPARE(f.states(), QStringLiteral("000011001"));
    const CalibrationCurve curve = f.window->state().calibration.curve;
    QVERIFY(qAbs(curve.CalibA) < 1e-4);
    ChartSeries* s7 = f.series("Series7");
    for (int i = 0; i < 5; ++i) QVERIFY(qAbs(curve.DeviationMmu(s7->x(i)) - s7->y(i)) < 0.3);
    ChartSeries* s8 = f.series("Series8");
    QCOMPARE(s8->count(), static_cast<int>(SampleCurve(curve, s7->x(0), s7->x(4)).count()));
    QVERIFY(s8->count() > 5600);  // every 0.01 over 56 mass units
    QCOMPARE(s8->x(0), s7->x(0));
}

void CalibrationTest::clearingTheListReturnsToListOpen() {
    CalibrationWindow f;
    const QStringList all = ListLines(f.list("ListBox5"));
    f.completeList();
    f.button("Button15")->click();
    f.button("Button6")->click();
    f.list("ListBox8")->setCurrentRow(1);
    f.button("Button16")->click();  // single peak fitted: "Обработать" off
    QVERIFY(!f.enabled("Button16"));

    const CalibrationCurve fitted = f.window->state().calibration.curve;
    f.button("Button14")->click();
    // Nothing left to fit; the fitted curve stays and "Пересчитать данные" with it.
    QCOMPARE(f.states(), QStringLiteral("111111001"));
    QVERIFY(f.enabled("Button16"));
    QCOMPARE(f.list("ListBox6")->count(), 0);
    QCOMPARE(ListLines(f.list("ListBox5")), all);  // each peak once, as before
    QCOMPARE(ListLines(f.list("ListBox8")), all);
    QCOMPARE(f.series("Series7")->count(), 0);
    QCOMPARE(f.series("Series8")->count(), 0);
    QCOMPARE(f.window->state().calibrationList.CalibCount(), 0);
    QCOMPARE(f.window->state().calibration.curve.CalibB, fitted.CalibB);

    // The list works again from the start.
    f.completeList();
    f.button("Button15")->click();
    QCOMPARE(f.series("Series7")->count(), 5);
    QCOMPARE(f.list("ListBox7")->count(), 10);  // the diagnostics list is never cleared
}

void CalibrationTest::fitsRefuseTooFewPoints() {
    CalibrationWindow f;
    f.take(2);
    f.attachTyped(0, QStringLiteral("57.07047"));
    f.button("Button15")->click();
    QCOMPARE(f.states(), QStringLiteral("000011000"));  // one point: nothing to fit
    CalibrationCommands& commands = f.window->calibrationCommands();
    commands.Button6Click();
    QCOMPARE(f.messages->infos.last(), QString::fromUtf8(kLineNeedsTwoMassesMessage));
    commands.Button4Click();
    QCOMPARE(f.messages->infos.last(), QString::fromUtf8(kParabolaNeedsThreeMassesMessage));
    QCOMPARE(f.series("Series8")->count(), 0);
    QVERIFY(!f.enabled("Button5"));

    f.button("Button14")->click();
    f.take(0);
    f.take(1);
    f.attachTyped(0, QStringLiteral("29.03915"));
    f.attachTyped(1, QStringLiteral("43.05481"));
    f.button("Button15")->click();
    QCOMPARE(f.states(), QStringLiteral("000011100"));  // a line, no parabola
}

// Swapped true masses mirror the axis: "Пересчитать данные" says so and changes nothing.
void CalibrationTest::curveThatRuinsTheMassAxisIsRefused() {
    CalibrationWindow f;
    f.take(0);
    f.take(4);
    f.attachTyped(0, QString::fromStdString(FormatGeneral(CHTrueMasses()[4])));
    f.attachTyped(1, QString::fromStdString(FormatGeneral(CHTrueMasses()[0])));
    f.button("Button15")->click();
    f.button("Button6")->click();
    const QString before = f.states();
    const PointList spectrum = f.window->state().spectrum.Spectrum;
    f.messages->clear();
    f.button("Button5")->click();
    QCOMPARE(f.messages->infos.size(), 1);
    QVERIFY2(f.messages->infos.last().startsWith(
                 QStringLiteral("Калибровка не применена: исправленные массы должны возрастать, как исходные")),
             qPrintable(f.messages->infos.last()));
    QCOMPARE(f.window->state().spectrum.Spectrum.x, spectrum.x);
    QCOMPARE(f.states(), before);
    QCOMPARE(f.find<ChartSurface>("Chart1")->series("Series6")->count() > 0, true);  // the results stay
}

// After "Пересчитать данные" the spectrum differs from its file: opening another file or
// closing the window asks first. Cancel keeps everything; Yes saves (and a cancelled save keeps
// the window); once saved nothing is asked.
void CalibrationTest::recalculatedSpectrumIsNotGivenUpWithoutAQuestion() {
    CalibrationWindow f;
    f.completeList();
    f.button("Button15")->click();
    f.button("Button6")->click();
    f.button("Button5")->click();
    f.window->show();
    const PointList recalculated = f.window->state().spectrum.Spectrum;

    f.messages->answers = {MessageBoxes::Answer::Cancel};
    const auto requests = f.files->requests.size();
    f.window->menu().N2->trigger();
    QCOMPARE(f.messages->questions.size(), 1);
    QCOMPARE(f.files->requests.size(), requests);  // no open dialog
    f.messages->answers = {MessageBoxes::Answer::Cancel};
    QVERIFY(!f.window->close());
    QCOMPARE(f.messages->questions.size(), 2);

    f.messages->answers = {MessageBoxes::Answer::Yes};
    f.files->answers = {QString()};  // the save dialog cancelled: the window stays
    QVERIFY(!f.window->close());
    QVERIFY(f.window->isVisible());

    const QString saved = f.dir.filePath("calibrated.txt");
    f.messages->answers = {MessageBoxes::Answer::Yes};
    f.files->answers = {saved, QString()};  // saved, then the open dialog cancelled
    f.window->menu().N2->trigger();
    QCOMPARE(f.files->requests.back().save, false);
    QCOMPARE(f.window->state().spectrum.Spectrum.x, recalculated.x);
    QVERIFY(QFile::exists(saved));
    const auto asked = f.messages->questions.size();
    QVERIFY(f.window->close());
    QCOMPARE(f.messages->questions.size(), asked);
}

QTEST_MAIN(CalibrationTest)
#include "test_calibration_pages.moc"
