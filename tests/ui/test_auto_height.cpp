// "Авто" beside "Первый не помеховый пик": on after the preliminary run, it fills the field with
// the height proposed from the spectrum's noise and says where the value came from.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "core/spectrum_file.h"
#include "processing/auto_threshold.h"
#include "processing/preliminary.h"
#include "ui/support/window_fixture.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

class AutoHeightTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }

    void proposesTheNoiseHeightOfTheZones() {
        const QString path = QStringLiteral(ORVELO_REAL_DATA "/ltqft_ms1_scan1.txt");
        SpectrumState expected;
        ApplyLoadedSpectrum(expected, ReadSpectrumFile(path.toStdString()));
        RunPreliminary(expected);
        const NoiseEstimate e = EstimateNoise(expected.zones.height);
        QVERIFY(e.ok);

        WindowFixture f;
        QVERIFY(!f.button("AutoHeightButton")->isEnabled());
        f.open(path);
        QVERIFY(!f.button("AutoHeightButton")->isEnabled());
        f.preliminary(150);
        QVERIFY(f.button("AutoHeightButton")->isEnabled());
        f.messages->clear();
        f.button("AutoHeightButton")->click();
        QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
        QCOMPARE(f.find<QLineEdit>("Edit4")->text(), QString::number(e.proposed));
        QCOMPARE(f.messages->infos.size(), 1);
        QVERIFY(f.messages->infos.front().startsWith(QStringLiteral("Порог предложен по шуму спектра: шумовых зон ")));
        QVERIFY(f.messages->infos.front().contains(QStringLiteral("первой зоны выше шума: %1").arg(e.proposed)));
        f.window->pageControl()->setCurrentWidget(f.find<QWidget>("TabSheet3"));
        f.list("ListBox1")->setCurrentRow(f.list("ListBox1")->count() - 40);  // a zone to show beside
        QTest::qWait(300);
        SaveScreenshot(*f.window, QStringLiteral("t21-auto.png"));
        // The proposal is only a value in the field: the final run takes whatever stands there.
        f.find<QLineEdit>("Edit4")->setText(QString::number(e.proposed * 2));
        f.button("Button13")->click();
        QTRY_VERIFY_WITH_TIMEOUT(f.button("Button1")->isEnabled(), 60000);
        QVERIFY2(f.messages->errors.isEmpty(), qPrintable(f.messages->errors.join('|')));
    }

    void tooFewZonesAreRefusedAndTheFieldKept() {
        WindowFixture f;
        f.open(WriteSpectrum(f.dir.filePath("three.txt"), {2000, 5000, 800}));
        f.preliminary(10);
        f.find<QLineEdit>("Edit4")->setText(QStringLiteral("123"));
        f.button("AutoHeightButton")->click();
        QCOMPARE(f.messages->errors.size(), 1);
        QVERIFY(f.messages->errors.front().contains(QStringLiteral("Порог не выбран по шуму")));
        QCOMPARE(f.find<QLineEdit>("Edit4")->text(), QStringLiteral("123"));
    }
};

QTEST_MAIN(AutoHeightTest)
#include "test_auto_height.moc"
