// The check beside "Калибровочная кривая" on the five CH ions shifted by a known line: the
// deviations before the curve are the shift, after it almost nothing; the view goes, and the
// chart takes the page's width again, when the points go.
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/number_text.h"
#include "ui/page_calibration_curve.h"
#include "ui/support/ch_spectrum.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

class CalibrationCheckTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }

    void fittedCurveIsShownWithItsResidualsUntilThePointsGo() {
        ProcessedWindow w;
        w.completeList();
        QWidget& view = *w.find<QWidget>("CalibrationCheck");
        QWidget* page = w.window->pages().calibrationCurve;
        QWidget* chart = w.find<QWidget>("Chart2");
        QTableWidget* table = w.find<QTableWidget>("TableCheck");
        w.window->pageControl()->setCurrentWidget(page);
        w.button("Button15")->click();
        QVERIFY(view.isHidden());
        w.button("Button4")->click();  // parabola
        QVERIFY(view.isVisible());
        QCOMPARE(w.find<QLabel>("LabelCurve")->text(), QStringLiteral("Калибровочная кривая: Парабола"));
        QVERIFY(w.find<QLabel>("LabelEquation")->text().startsWith(QStringLiteral("Поправка, mmu = ")));
        QVERIFY(w.find<QLabel>("LabelRms")->text().startsWith(QStringLiteral("СКО остатков, mmu = ")));
        QCOMPARE(chart->width() + view.width(), page->width());
        QCOMPARE(table->rowCount(), 5);
        for (int r = 0; r < 5; ++r) {
            const double trueMass = CHTrueMasses()[r];
            const double shiftMmu = (trueMass - ShiftedMass(trueMass)) * 1000;
            QCOMPARE(table->item(r, 1)->text(), QString::fromStdString(FormatFixed(trueMass, 5)));
            QCOMPARE_LT(std::abs(table->item(r, 2)->text().toDouble() - shiftMmu), 1.0);
            QCOMPARE_LT(std::abs(table->item(r, 3)->text().toDouble()), 1.0);
        }
        SaveScreenshot(*w.window, QStringLiteral("calibration_check.png"));

        w.button("Button6")->click();  // refused: the fit buttons are off after a fit
        w.button("Button14")->click();
        QVERIFY(view.isHidden());
        QCOMPARE(chart->width(), page->width());
    }
};

QTEST_MAIN(CalibrationCheckTest)
#include "test_calibration_check.moc"
