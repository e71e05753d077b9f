#include "ui/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/preset_folders.h"

namespace orvelo::ui {
namespace {

QMenu* Submenu(QWidget* parent, const char* name, const QString& caption) {
    QMenu* menu = parent->inherits("QMenuBar") ? static_cast<QMenuBar*>(parent)->addMenu(caption)
                                               : static_cast<QMenu*>(parent)->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Entry"));
    return menu;
}

}  // namespace

MainMenu::MainMenu(QMenuBar* bar) : QObject(bar) {
    setObjectName(QStringLiteral("MainMenu1"));
    buildFileMenu(bar);
    buildViewMenu(bar);
    buildHelpMenu(bar);
}

QAction* MainMenu::entry(QMenu* menu, const char* name, const QString& caption, const QString& shortcut) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) a->setShortcut(QKeySequence(shortcut));
    return a;
}

QAction* MainMenu::separator(QMenu* menu, const char* name, bool visible) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    a->setVisible(visible);
    return a;
}

void MainMenu::buildFileMenu(QMenuBar* bar) {
    N1 = Submenu(bar, "N1", QStringLiteral("Файл"));
    N2 = entry(N1, "N2", QStringLiteral("Открыть..."), QStringLiteral("Ctrl+O"));
    N9 = Submenu(N1, "N9", QStringLiteral("Папки"));
    int n = 0;
    for (const PresetFolder& f : PresetFolders()) {
        QAction* a = f.caption.empty() ? N9->addSeparator() : N9->addAction(QString::fromStdString(f.caption));
        a->setObjectName(QStringLiteral("Papka%1").arg(++n));
        presetFolders.push_back(a);
    }
    separator(N1, "N28");
    N42 = entry(N1, "N42", QStringLiteral("Сохранить..."), QStringLiteral("Ctrl+S"));
    SaveMzML = entry(N1, "SaveMzML", QStringLiteral("Сохранить как mzML..."));
    N36 = Submenu(N1, "N36", QStringLiteral("Информация"));
    HTML1 = entry(N36, "HTML1", QStringLiteral("HTML"));
    HTML2 = entry(N36, "HTML2", QStringLiteral("HTML (усовершен.)"));
    N30 = Submenu(N1, "N30", QStringLiteral("График"));
    BMP1 = entry(N30, "BMP1", QStringLiteral("BMP"));
    N35 = entry(N30, "N35", QStringLiteral("Печать..."));
    const QString picture = QStringLiteral("Рисунок (PNG, SVG, PDF)...");
    ImageSpectrum = entry(N30, "ImageSpectrum", picture);
    N41 = Submenu(N1, "N41", QStringLiteral("Калибровочная кривая"));
    BMP3 = entry(N41, "BMP3", QStringLiteral("BMP"));
    ImageCurve = entry(N41, "ImageCurve", picture);
    separator(N1, "N5");
    CH1 = Submenu(N1, "CH1", QStringLiteral("Теория CH"));
    BMP2 = entry(CH1, "BMP2", QStringLiteral("BMP"));
    TXT1 = entry(CH1, "TXT1", QStringLiteral("TXT"));
    ImageCH = entry(CH1, "ImageCH", picture);
    CF1 = Submenu(N1, "CF1", QStringLiteral("Теория CF"));
    BMP4 = entry(CF1, "BMP4", QStringLiteral("BMP"));
    ImageCF = entry(CF1, "ImageCF", picture);
    OtherCharts = Submenu(N1, "OtherCharts", QStringLiteral("Другие графики"));
    ImageZone = entry(OtherCharts, "ImageZone", QStringLiteral("Зона пика: рисунок (PNG, SVG, PDF, BMP)..."));
    ImagePeak = entry(OtherCharts, "ImagePeak", QStringLiteral("Отдельный пик: рисунок (PNG, SVG, PDF, BMP)..."));
    CH2 = Submenu(N1, "CH2", QStringLiteral("Список CH"));
    XLS1 = entry(CH2, "XLS1", QStringLiteral("TXT (для Excel)"));
    HTML3 = entry(CH2, "HTML3", QStringLiteral("HTML"));  // no command attached
    separator(N1, "N21");
    N3 = entry(N1, "N3", QStringLiteral("Выход"), QStringLiteral("Ctrl+Q"));
}

ViewToggle MainMenu::toggle(const char* shownName, const QString& shownCaption, const char* markerName,
                            const QString& markerCaption, bool shownChecked, bool visible) {
    ViewToggle t{entry(N10, shownName, shownCaption), entry(N10, markerName, markerCaption)};
    for (QAction* a : {t.shown, t.markers}) {
        a->setCheckable(true);
        a->setVisible(visible);
    }
    t.shown->setChecked(shownChecked);
    return t;
}

void MainMenu::buildViewMenu(QMenuBar* bar) {
    N10 = Submenu(bar, "N10", QStringLiteral("Вид"));
    N11 = entry(N10, "N11", QStringLiteral("Логарифм. шкала"), QStringLiteral("Ctrl+L"));
    N11->setCheckable(true);
    separator(N10, "N37");
    Series1View =
        toggle("Series11", QStringLiteral("Спектр"), "Points11", QStringLiteral("Спектр (точки)"), true, true);
    separator(N10, "N26");
    Series6View = toggle("Series61", QStringLiteral("Обработанное"), "Points61", QStringLiteral("Обработанное (точки)"),
                         true, true);
    PeakMassLabels = entry(N10, "PeakMassLabels", QStringLiteral("Массы пиков"));
    PeakMassLabels->setCheckable(true);
    // The stage toggles exist but are never shown.
    separator(N10, "N22", false);
    Series2View = toggle("Series21", QStringLiteral("2"), "Points21", QStringLiteral("2 (точки)"), false, false);
    separator(N10, "N23", false);
    Series3View = toggle("Series31", QStringLiteral("3"), "Points31", QStringLiteral("3 (точки)"), false, false);
    separator(N10, "N24", false);
    Series4View = toggle("Series41", QStringLiteral("4"), "Points41", QStringLiteral("4 (точки)"), false, false);
    separator(N10, "N25", false);
    Series5View = toggle("Series51", QStringLiteral("5"), "Points51", QStringLiteral("5 (точки)"), false, false);
    separator(N10, "N12", false);
    Series16View = toggle("N29", QStringLiteral("Наклон"), "N43", QStringLiteral("Наклон (точки)"), false, false);
}

void MainMenu::buildHelpMenu(QMenuBar* bar) {
    N13 = Submenu(bar, "N13", QStringLiteral("Помощь"));
    N44 = entry(N13, "N44", QStringLiteral("Подсказка"), QStringLiteral("F1"));
    N44->setCheckable(true);
    N44->setChecked(true);
    N31 = entry(N13, "N31", QStringLiteral("Хинты на CH и CF"));
    N31->setCheckable(true);
    N31->setChecked(true);
    separator(N13, "N32");
    N14 = entry(N13, "N14", QStringLiteral("О программе..."), QStringLiteral("Ctrl+A"));
}

}  // namespace orvelo::ui
