// "ионы (минус масса электрона)" on the five shifted CH ions: off at the first start; switched
// on, the standard masses, the CH saw, the automatic calibration and the written CH files use
// ion masses and the files say so; remembered for the next start.
#include <QCheckBox>
#include <QTest>

#include "calibration/calibration_list.h"
#include "calibration/ion_masses.h"
#include "ui/chart_surface.h"
#include "ui/main_menu.h"
#include "ui/page_calibration_masses.h"
#include "ui/page_theory.h"
#include "ui/support/ch_spectrum.h"
#include "ui/support/text_lines.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

std::vector<double> LeadingMasses(QListWidget* list) {
    std::vector<double> masses;
    for (int i = 0; i < list->count(); ++i) masses.push_back(*LeadingNumber(list->item(i)->text().toStdString()));
    return masses;
}

}  // namespace

class IonMassesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }

    void ionMassesReachListsSawCalibrationAndFiles() {
        WindowFixture w;
        QCheckBox* ions = w.find<QCheckBox>("CheckBoxIons");
        QVERIFY(!ions->isChecked());  // first start
        QVERIFY(ions->isVisibleTo(w.window->pages().calibrationMasses));
        QCOMPARE(ions->text(), QStringLiteral("ионы (минус масса электрона)"));
        LoadAndProcess(w, WriteCHSpectrum(w.dir.filePath("ch.txt")));
        w.find<QCheckBox>("CheckBox4")->click();  // the full CH list
        const std::vector<double> neutral = LeadingMasses(w.list("ListBox2"));
        const std::vector<double> neutralSaw = w.window->pages().theoryCH->theoryPoints().y;

        ions->click();
        QCOMPARE(w.window->state().ReferenceMasses, ReferenceMassKind::Ion);
        const std::vector<double> ion = LeadingMasses(w.list("ListBox2"));
        QCOMPARE(ion.size(), neutral.size());
        for (std::size_t i = 0; i < ion.size(); ++i)
            if (neutral[i] > 1) QCOMPARE_LT(std::abs(neutral[i] - ion[i] - kElectronMass), 1e-5);
        const std::vector<double> ionSaw = w.window->pages().theoryCH->theoryPoints().y;
        QCOMPARE(ionSaw.size(), neutralSaw.size());
        QVERIFY(!ionSaw.empty());
        QCOMPARE_LT(std::abs(neutralSaw[0] - ionSaw[0] - kElectronMass * 1000), 1e-3);  // mmu

        w.button("ButtonAuto")->click();
        QCOMPARE(w.list("ListBox6")->count(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE_LT(std::abs(*TrailingNumber(w.list("ListBox6")->item(i)->text().toStdString()) -
                                 (CHTrueMasses()[i] - kElectronMass)),
                        1e-5);

        const QString saw = w.dir.filePath("saw.txt"), list = w.dir.filePath("list.txt");
        w.files->answers = {saw, QString()};  // the theory file; the practice file cancelled
        w.window->menu().TXT1->trigger();
        QCOMPARE(ReadCp1251Lines(saw).value(0), QStringLiteral("\"Пила CH (теория, массы ионов)\""));
        w.files->answers = {list};
        w.window->menu().XLS1->trigger();
        QCOMPARE(ReadCp1251Lines(list).value(0), QString::fromUtf8(kIonMassesNote));
        const QString html = w.dir.filePath("list.htm");
        w.files->answers = {html};
        w.window->menu().HTML3->trigger();
        QVERIFY(ReadCp1251Lines(html).join('\n').contains(QStringLiteral("Список CH (массы ионов)")));
        QVERIFY2(w.messages->errors.isEmpty(), qPrintable(w.messages->errors.join('|')));

        WindowFixture next(w.settingsDir);
        QVERIFY(next.find<QCheckBox>("CheckBoxIons")->isChecked());
        QCOMPARE(next.window->state().ReferenceMasses, ReferenceMassKind::Ion);
    }
};

QTEST_MAIN(IonMassesTest)
#include "test_ion_masses.moc"
