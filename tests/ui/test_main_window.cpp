// Form1 as it starts, its menus, view toggles, logarithmic scale, layout rule, preset folders
// and the key filter of the manual mass entry.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QScrollArea>
#include <QScrollBar>
#include <QListWidget>
#include <memory>

#include "ui/chart_surface.h"
#include "ui/layout_rule.h"
#include "ui/main_menu.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_info.h"
#include "ui/page_single_peak.h"
#include "ui/page_testing.h"
#include "ui/preset_folders.h"
#include "ui/secondary_windows.h"
#include "ui/translations.h"
#include "ui/support/window_fixture.h"

using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

QStringList VisibleEntries(QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions())
        if (a->isVisible() && !a->isSeparator()) names << a->objectName();
    return names;
}

void Type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void startsOnSpectrumPageWithOnlyLoadingAvailable();
    void viewTogglesFlipSeriesAndCheckMarkEvenWithoutPoints();
    void ctrlLFlipsLogarithmicScaleAndBackToZeroMinimum();
    void helpTogglesSwitchGuidanceAndTheoryMarks();
    void layoutRuleFollowsThePageSizes();
    void manualMassEntryTakesOnlyDigitsAndPoint();
    void presetFolderChoosesTheStartFolderOfTheOpenDialog();
    void hiddenSelfTestButtonsShowTheirDeterminants();
    void popupMenuHoldsItsTwoEntries();
    void aboutBoxClosesWithEnter();
    void disabledMainButtonsLookDisabled();
    void toolkitTextsAreRussian();
    void usableAt1024By700WithWholeListLines();
};

void MainWindowTest::startsOnSpectrumPageWithOnlyLoadingAvailable() {
    WindowFixture f;
    QCOMPARE(f.window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Орвело"));
    QTabWidget* tabs = f.window->pageControl();
    const QStringList captions = {
        "Спектр",    "Информация", "Настройка",     "Калибровочные массы", "Калибровочная кривая",
        "Теория CH", "Теория CF",  "Отдельный пик", "Тестирование"};
    QCOMPARE(tabs->count(), captions.size());
    for (int i = 0; i < tabs->count(); ++i) {
        QCOMPARE(tabs->tabText(i), captions[i]);
        QCOMPARE(tabs->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
    }
    QCOMPARE(tabs->currentIndex(), 0);
    for (const char* b : {"Button6", "Button4", "Button5", "Button9", "Button13", "BitBtn1", "Button16", "Button17",
                          "Button1", "Button2", "Button3", "Button8", "Button14", "Button15"})
        QVERIFY2(!f.button(b)->isEnabled(), b);
    for (const char* hidden : {"Button7", "Button10", "Button11"}) QVERIFY(f.button(hidden)->isHidden());
    QVERIFY(f.find<QWidget>("ListBox7")->isHidden());
    MainMenu& m = f.window->menu();
    QVERIFY(m.N44->isChecked() && m.N31->isChecked() && !m.N11->isChecked());
    QCOMPARE(VisibleEntries(m.N10),
             (QStringList{"N11", "Series11", "Points11", "Series61", "Points61", "PeakMassLabels"}));
    QVERIFY(m.Series1View.shown->isChecked() && !m.Series1View.markers->isChecked());
    QCOMPARE(m.N2->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(m.N3->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(m.N14->shortcut(), QKeySequence("Ctrl+A"));
    QCOMPARE(m.N44->shortcut(), QKeySequence("F1"));
    QCOMPARE(f.find<QLineEdit>("Edit2")->text(), QStringLiteral("150"));
    QCOMPARE(f.find<QLineEdit>("Edit3")->text(), QStringLiteral("10"));
    QCOMPARE(f.find<QLabel>("Label2")->text(), QStringLiteral("-"));
    QCOMPARE(f.list("ListBox1")->toolTip(),
             QStringLiteral("первое число - высота зоны пика\nвторое число - центр зоны"));
    QCOMPARE(f.button("Button13")->toolTip(), QStringLiteral("Последняя обработка"));
    PageInfo& info = *f.window->pages().info;
    QCOMPARE(info.rowCount(), 2);
    QCOMPARE(info.cell(1, 0), QStringLiteral("Масса"));
    QCOMPARE(info.cell(11, 0), QStringLiteral("Kol"));
    QVERIFY(f.window->progressWindow().isHidden());
    const auto& st = f.window->state().spectrum;
    QVERIFY(st.Spectrum.empty() && st.FinalExtrema.empty() && st.zones.count() == 0);
}

void MainWindowTest::viewTogglesFlipSeriesAndCheckMarkEvenWithoutPoints() {
    WindowFixture f;
    MainMenu& m = f.window->menu();
    ChartSurface* chart = f.find<ChartSurface>("Chart1");
    struct Case {
        ViewToggle view;
        const char* series;
    };
    for (const Case& c : {Case{m.Series1View, "Series1"}, Case{m.Series6View, "Series6"},
                          Case{m.Series2View, "Series2"}, Case{m.Series16View, "Series16"}}) {
        ChartSeries* s = chart->series(QString::fromLatin1(c.series));
        const bool shown = s->shown(), checked = c.view.shown->isChecked();
        c.view.shown->trigger();
        QCOMPARE(s->shown(), !shown);
        QCOMPARE(c.view.shown->isChecked(), !checked);
        QVERIFY(!s->markers());
        c.view.markers->trigger();
        QVERIFY(s->markers());
        QVERIFY(c.view.markers->isChecked());
        QCOMPARE(s->count(), 0);
    }
}

void MainWindowTest::ctrlLFlipsLogarithmicScaleAndBackToZeroMinimum() {
    WindowFixture f;
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    ChartSurface* chart = f.find<ChartSurface>("Chart1");
    QTest::keyClick(f.window.get(), Qt::Key_L, Qt::ControlModifier);
    QVERIFY(chart->logarithmic());
    QVERIFY(f.window->menu().N11->isChecked());
    f.open(WriteSpectrum(f.dir.filePath("s.txt"), {1000, 50}));
    chart->redrawNow();
    QVERIFY(chart->visibleValueLower() > 0);
    QTest::keyClick(f.window.get(), Qt::Key_L, Qt::ControlModifier);
    chart->redrawNow();
    QVERIFY(!chart->logarithmic());
    QVERIFY(!f.window->menu().N11->isChecked());
    QCOMPARE(chart->visibleValueLower(), 0.0);
}

void MainWindowTest::helpTogglesSwitchGuidanceAndTheoryMarks() {
    WindowFixture f;
    MainMenu& m = f.window->menu();
    ChartSeries* s10 = f.find<ChartSurface>("Chart3")->series("Series10");
    ChartSeries* s13 = f.find<ChartSurface>("Chart4")->series("Series13");
    QVERIFY(s10->marks() && s13->marks());
    m.N31->trigger();
    QVERIFY(!f.window->flags().HintyCHCF && !m.N31->isChecked());
    QVERIFY(!s10->marks() && !s13->marks());
    m.N31->trigger();
    QVERIFY(f.window->flags().HintyCHCF && s10->marks());
    m.N44->trigger();
    m.N44->trigger();
    QVERIFY(f.window->flags().Podskazka && m.N44->isChecked());
}

void MainWindowTest::layoutRuleFollowsThePageSizes() {
    LayoutPages pages{{1276, 900}, {1276, 900}, {1009, 900}, {669, 900}, {1276, 900}};
    const LayoutBoxes design = DesignLayout();
    LayoutBoxes b = ApplyLayoutRule(pages, design);
    QCOMPARE(b.ListBox9.width, 441);  // 669 and wider: the width stays
    QCOMPARE(b.ListBox9.height, 900 - 104 - 20);
    QCOMPARE((QList<int>{b.Button6.left, b.Button4.left, b.Button5.left}), (QList<int>{10, 336, 662}));
    QCOMPARE((QList<int>{b.Button6.width, b.Button4.width, b.Button5.width}), (QList<int>{316, 316, 316}));
    QCOMPARE(b.Chart2.width, 1009);
    QCOMPARE(b.Chart2.height, 900 - 112 - 3);
    QCOMPARE(b.Chart5.width, 1276 - 232 - 20);
    QCOMPARE(b.ListBox1.height, 900 - 40 - 20);
    QCOMPARE(b.GroupBox5.height, 900 - 112 - 20);
    QCOMPARE(b.ListBox2.height, b.GroupBox5.height - 216 - 16);
    pages.singlePeak.width = 668;
    b = ApplyLayoutRule(pages, b);
    QCOMPARE(b.ListBox9.width, 440);
    pages.singlePeak.width = 900;  // wider: the lines get the room of the page
    QCOMPARE(ApplyLayoutRule(pages, b).ListBox9.width, 900 - 208 - 20);
    pages = {{100, 100}, {100, 100}, {30, 50}, {100, 100}, {100, 100}};
    b = ApplyLayoutRule(pages, design);
    QCOMPARE(b.Chart5.width, 0);
    QCOMPARE(b.Chart2.height, 0);
    QCOMPARE(b.Button5.width, 0);

    WindowFixture f;
    f.window->resize(1000, 700);
    QTest::qWait(20);
    QWidget* curve = f.window->pages().calibrationCurve;
    const int third = curve->width() / 3;
    QCOMPARE(f.button("Button5")->x(), 2 * (third - 20) + 30);
    QCOMPARE(f.find<QWidget>("Chart2")->width(), curve->width());
    QWidget* single = f.window->pages().singlePeak;
    QVERIFY(single->width() < 669);
    QCOMPARE(f.list("ListBox9")->width(), single->width() - 208 - 20);
    QCOMPARE(f.list("ListBox3")->height(), f.window->pages().testing->height() - 104 - 20);
}

void MainWindowTest::manualMassEntryTakesOnlyDigitsAndPoint() {
    WindowFixture f;
    auto* edit = f.find<QLineEdit>("Edit1");
    Type(edit, "12a.5");
    QCOMPARE(edit->text(), QStringLiteral("12.5"));
    edit->clear();
    Type(edit, QStringLiteral("1.2.3ж,-"));
    QCOMPARE(edit->text(), QStringLiteral("1.2.3"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("1.2."));
}

void MainWindowTest::presetFolderChoosesTheStartFolderOfTheOpenDialog() {
    QCOMPARE(ComputerName("a-very-long-host-name.example"), std::string("a-very-long-hos"));
    QVERIFY(OnServer(kServer1Name, 1) && !OnServer(kServer1Name, 2) && !OnServer("SPECTRA1", 1));
    const auto& folders = PresetFolders();
    QCOMPARE(folders.size(), std::size_t{6});
    QVERIFY(folders[3].caption.empty());
    QCOMPARE(PresetFolderPath(folders[0], true, false, "/home/u"), folders[0].localPath);
    QCOMPARE(PresetFolderPath(folders[0], false, true, "/home/u"), folders[0].networkPath);
    QCOMPARE(PresetFolderPath(folders[2], false, true, "/home/u"), folders[2].localPath);
    QCOMPARE(PresetFolderPath(folders[4], false, false, "/home/u"), std::string("/home/u/Спектры"));

    WindowFixture f;
    QVERIFY(f.window->flags().StartPapka.empty());
    f.window->menu().presetFolders[5]->trigger();
    QCOMPARE(f.files->requests.back().request.startFolder, QStringLiteral("/tmp"));
    f.window->menu().N2->trigger();
    QCOMPARE(f.files->requests.back().request.startFolder, QCoreApplication::applicationDirPath());
}

void MainWindowTest::hiddenSelfTestButtonsShowTheirDeterminants() {
    WindowFixture f;
    f.button("Button7")->click();
    f.button("Button10")->click();
    QCOMPARE(f.messages->infos, (QStringList{"Op44 = -21", "Dopolnenie = -8"}));
}

void MainWindowTest::popupMenuHoldsItsTwoEntries() {
    WindowFixture f;
    auto* popup = f.find<QMenu>("PopupMenu1");
    QCOMPARE(popup->actions().size(), 2);
    QCOMPARE(f.find<QAction>("N4")->text(), QStringLiteral("Копировать в Excel"));
    QCOMPARE(f.find<QAction>("TXT2")->text(), QStringLiteral("Копировать в TXT-файл"));
    QCOMPARE(f.find<QWidget>("StringGrid1")->contextMenuPolicy(), Qt::CustomContextMenu);
}

void MainWindowTest::aboutBoxClosesWithEnter() {
    WindowFixture f;
    QString caption, version;
    bool closed = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
        if (!box) return;
        caption = box->windowTitle();
        version = box->findChild<QLabel*>("Label8")->text();
        QTest::keyClick(box, Qt::Key_Return);
        closed = !box->isVisible();
    });
    f.window->menu().N14->trigger();
    QCOMPARE(caption, QStringLiteral("О программе..."));
    QCOMPARE(version, QStringLiteral("Версия: Orvelo 12"));
    QVERIFY(closed);
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"

namespace {
int RedPixels(QWidget* w) {
    const QImage image = w->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    return count;
}
}  // namespace

// A disabled command shows the greyed caption, not the red of the main buttons.
void MainWindowTest::disabledMainButtonsLookDisabled() {
    WindowFixture f;
    for (const char* name : {"Button9", "Button13"}) {
        QPushButton* b = f.button(name);
        QVERIFY2(!b->isEnabled(), name);
        QCOMPARE(RedPixels(b), 0);
        b->setEnabled(true);
        QVERIFY2(RedPixels(b) > 20, name);
    }
}

// The toolkit's own texts come in Russian: the context menu of a text field, the buttons of
// the dialogs.
void MainWindowTest::toolkitTextsAreRussian() {
    QVERIFY(InstallToolkitTranslations(*QCoreApplication::instance()));
    WindowFixture f;
    std::unique_ptr<QMenu> menu(f.find<QLineEdit>("Edit4")->createStandardContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text();
    QVERIFY2(texts.join('|').contains(QStringLiteral("Копировать")), qPrintable(texts.join('|')));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
}

// At 1024 x 700 the page "Настройка" scrolls to its frame "Гаусс" instead of cutting it, and
// list lines are never cut with an ellipsis: a line wider than its list scrolls into view.
void MainWindowTest::usableAt1024By700WithWholeListLines() {
    WindowFixture f;
    f.window->resize(1024, 700);
    f.window->show();
    f.window->pageControl()->setCurrentIndex(2);
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    auto* area = f.find<QWidget>("TabSheet3Area");
    auto* scroll = qobject_cast<QScrollArea*>(area->parentWidget()->parentWidget());
    QVERIFY(scroll);
    QTRY_VERIFY(scroll->horizontalScrollBar()->maximum() > 0);
    QVERIFY(area->width() > f.find<QWidget>("RadioGroup1")->geometry().right());
    scroll->ensureWidgetVisible(f.find<QWidget>("RadioButton4"));
    QVERIFY(scroll->viewport()->rect().contains(
        f.find<QWidget>("RadioButton4")->geometry().translated(area->pos()).topLeft()));
    QVERIFY(f.list("ListBox1")->height() > 200);  // the list still follows the page
    if (const QString out = qEnvironmentVariable("ORVELO_SCREENSHOT_DIR"); !out.isEmpty())
        QVERIFY(f.window->grab().save(QDir(out).filePath(QStringLiteral("settings-1024x700.png"))));

    QListWidget* zones = f.list("ListBox1");
    zones->addItems({QStringLiteral("1,   2.0"), QStringLiteral("123456789012,   123456789.0 и ещё длинный хвост")});
    QTRY_VERIFY(zones->horizontalScrollBar()->maximum() > 0);
    for (const char* name : {"ListBox1", "ListBox9", "ListBox4"})
        QCOMPARE(f.list(name)->textElideMode(), Qt::ElideNone);
}
