// "Подобрать автоматически" on the five shifted CH ions: the list filled as ">>" and "<<"
// would fill it, the summary, the refusal that changes nothing, the button's availability and
// the page's remembered settings.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include "calibration/auto_calibration.h"
#include "calibration/calibration_list.h"
#include "ui/settings_store.h"
#include "ui/support/ch_spectrum.h"
#include "ui/widget_kit.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

struct AutoCalibrationWindow : ProcessedWindow {
    QPushButton* autoButton() const { return button("ButtonAuto"); }
    QLabel* summary() const { return find<QLabel>("LabelAutoSummary"); }
    QStringList calibrationLines() { return ListLines(list("ListBox6")); }
};

}  // namespace

class AutoCalibrationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }

    void matchFillsTheListTheOperatorMayStillEdit() {
        AutoCalibrationWindow w;
        QVERIFY(w.autoButton()->isEnabled());
        w.find<QCheckBox>("CheckBox4")->click();  // the full CH list holds the C n H 2n+1 ions
        w.autoButton()->click();
        QVERIFY2(w.messages->infos.isEmpty(), qPrintable(w.messages->infos.join('|')));
        const QStringList lines = w.calibrationLines();
        QCOMPARE(lines.size(), 5);
        for (int i = 0; i < 5; ++i) {
            // Each line is the peak's line of "Все массы" with its true mass, as "<<" writes it.
            QVERIFY(lines[i].startsWith(w.list("ListBox5")->item(i)->text() + QStringLiteral(", ")));
            QCOMPARE_LT(std::abs(*TrailingNumber(lines[i].toStdString()) - CHTrueMasses()[i]), 1e-5);
        }
        QVERIFY(w.summary()->text().startsWith(QStringLiteral("Подобрано ионов: 5 из ")));
        QCOMPARE(w.window->state().calibrationList.TrueMassCount(), 5);

        w.list("ListBox6")->setCurrentRow(0);  // the operator drops a line he does not trust
        w.button("Button3")->click();
        QCOMPARE(w.calibrationLines().size(), 4);
        w.button("Button15")->click();
        QVERIFY(w.button("Button6")->isEnabled());
        QVERIFY(!w.autoButton()->isEnabled());  // the list is complete
        w.button("Button14")->click();
        QVERIFY(w.autoButton()->isEnabled());
    }

    // The README's picture: with ORVELO_SCREENSHOT_DIR set, the page after the command is saved.
    void exampleSpectrumIsCalibratedOnItsHydrocarbonIons() {
        WindowFixture f;
        f.open(QStringLiteral(ORVELO_TEST_DATA "/../../examples/example_spectrum.txt"));
        f.preliminary(150);
        const int firstPeak = FirstZoneAbove(f.list("ListBox1"), 200);
        QVERIFY(firstPeak >= 0);
        f.finalRun(firstPeak);
        f.find<QCheckBox>("CheckBox4")->click();
        f.messages->clear();
        f.button("ButtonAuto")->click();
        QVERIFY2(f.messages->errors.isEmpty() && f.messages->infos.isEmpty(), qPrintable(f.messages->infos.join('|')));
        QCOMPARE_GE(f.list("ListBox6")->count(), 10);
        f.window->pageControl()->setCurrentIndex(3);
        QTest::qWait(30);
        SaveScreenshot(*f.window, QStringLiteral("auto_calibration.png"));
    }

    void noMatchShowsWhyAndChangesNothing() {
        AutoCalibrationWindow w;
        w.take(2);
        const QStringList before = w.calibrationLines();
        // Only the molecular ions C n H 2n+2 are chosen: none lies within 100 mmu of a peak.
        w.autoButton()->click();
        QCOMPARE(w.messages->infos.size(), 1);
        QVERIFY(!w.messages->infos.front().isEmpty());
        QCOMPARE(w.calibrationLines(), before);
        QCOMPARE(w.window->state().calibrationList.CalibCount(), 1);
        QVERIFY(w.summary()->text().isEmpty());
    }

    void unavailableBeforeAFinalRunAndSettingsRemembered() {
        WindowFixture first;
        QVERIFY(!first.button("ButtonAuto")->isEnabled());
        QCOMPARE(first.find<QDoubleSpinBox>("EditTolerance")->value(), 100.0);  // first start
        QCOMPARE(first.find<QComboBox>("ComboCurveKind")->currentText(), QStringLiteral("Линия"));
        first.find<QDoubleSpinBox>("EditTolerance")->setValue(25);
        first.find<QComboBox>("ComboCurveKind")->setCurrentIndex(1);
        WindowFixture second(first.settingsDir);
        QCOMPARE(second.find<QDoubleSpinBox>("EditTolerance")->value(), 25.0);
        QCOMPARE(second.find<QComboBox>("ComboCurveKind")->currentText(), QStringLiteral("Парабола"));
    }

    // The field keeps to the matcher's range, as orvelo-batch --tolerance does (above 0, below
    // 500 mmu, half the distance between the ions); a remembered tolerance beyond it is none.
    void toleranceStaysWithinTheMatchersRange() {
        QTemporaryDir settings;
        SettingsStore(settings.filePath(QStringLiteral("orvelo.conf")))
            .setValue(QStringLiteral("autoCalibration/toleranceMmu"), 800);
        WindowFixture f(settings);
        auto* field = f.find<QDoubleSpinBox>("EditTolerance");
        QCOMPARE(field->value(), 100.0);
        QVERIFY(field->maximum() < kMaxToleranceMmu && field->minimum() > 0);
        QVERIFY(field->toolTip().contains(QStringLiteral("больше 0 и меньше 500 (половины расстояния")));
        field->setValue(1000);
        QVERIFY(field->value() < kMaxToleranceMmu);
        field->setValue(499.9);
        QCOMPARE(field->value(), 499.9);
    }
};

QTEST_MAIN(AutoCalibrationTest)
#include "test_auto_calibration.moc"
