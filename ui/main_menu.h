#pragma once
// MainMenu1: "Файл", "Вид", "Помощь" with every entry under its component name. The entries
// are created here; the main window connects their commands.
#include <QObject>
#include <QString>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace orvelo::ui {

class ChartSeries;

// One View toggle pair: the shown flag and the markers of a series on Chart1.
struct ViewToggle {
    QAction* shown;
    QAction* markers;
};

class MainMenu : public QObject {
    Q_OBJECT
public:
    explicit MainMenu(QMenuBar* bar);

    QMenu* N1;                            // "Файл"
    QAction* N2;                          // "Открыть..."
    QMenu* N9;                            // "Папки"
    std::vector<QAction*> presetFolders;  // in table order, separator included
    QAction* N42;                         // "Сохранить..."
    QAction* SaveMzML;                    // "Сохранить как mzML..."
    QMenu* N36;
    QAction* HTML1;
    QAction* HTML2;
    QMenu* N30;
    QAction* BMP1;
    QAction* N35;
    QMenu* N41;
    QAction* BMP3;
    QMenu* CH1;
    QAction* BMP2;
    QAction* TXT1;
    QMenu* CF1;
    QAction* BMP4;
    // Chart pictures in PNG, SVG, PDF or BMP, one entry per chart; the zone chart of
    // "Настройка" and the chart of "Отдельный пик" are under "Другие графики".
    QAction* ImageSpectrum;
    QAction* ImageCurve;
    QAction* ImageCH;
    QAction* ImageCF;
    QMenu* OtherCharts;
    QAction* ImageZone;
    QAction* ImagePeak;
    QMenu* CH2;
    QAction* XLS1;
    QAction* HTML3;
    QAction* N3;  // "Выход"

    QMenu* N10;               // "Вид"
    QAction* N11;             // "Логарифм. шкала"
    ViewToggle Series1View;   // Series11 / Points11
    ViewToggle Series6View;   // Series61 / Points61
    QAction* PeakMassLabels;  // "Массы пиков": fitted masses written over the peaks
    ViewToggle Series2View;   // Series21 / Points21 (hidden)
    ViewToggle Series3View;   // Series31 / Points31 (hidden)
    ViewToggle Series4View;   // Series41 / Points41 (hidden)
    ViewToggle Series5View;   // Series51 / Points51 (hidden)
    ViewToggle Series16View;  // N29 / N43 (hidden)

    QMenu* N13;    // "Помощь"
    QAction* N44;  // "Подсказка"
    QAction* N31;  // "Хинты на CH и CF"
    QAction* N14;  // "О программе..."

private:
    QAction* entry(QMenu* menu, const char* name, const QString& caption, const QString& shortcut = QString());
    QAction* separator(QMenu* menu, const char* name, bool visible = true);
    ViewToggle toggle(const char* shownName, const QString& shownCaption, const char* markerName,
                      const QString& markerCaption, bool shownChecked, bool visible);
    void buildFileMenu(QMenuBar* bar);
    void buildViewMenu(QMenuBar* bar);
    void buildHelpMenu(QMenuBar* bar);
};

}  // namespace orvelo::ui
