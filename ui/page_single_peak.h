#pragma once
// Page "Отдельный пик" (TabSheet8): re-fit one peak of the last final run with its iteration
// log, and save its samples.
#include <QWidget>
#include <string>
#include <vector>

#include "ui/page_commands.h"
#include "ui/layout_rule.h"

class QLabel;
class QListWidget;
class QPushButton;
class QResizeEvent;

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;

enum class SinglePeakCommand { Fit, Save, PeakList, Count };

class PageSinglePeak : public QWidget, public PageCommands<SinglePeakCommand> {
    Q_OBJECT
public:
    explicit PageSinglePeak(QWidget* parent = nullptr);

    ChartSurface& chart() const { return *ChartPeak; }
    // Both lists and the chart.
    void clear();
    // "Все массы": the mass lines of the last final run; the chosen line (-1: none).
    void showPeaks(const std::vector<std::string>& massLines);
    int chosenPeak() const;
    // The iteration log of the last fit, replacing the one before.
    void showLog(const std::vector<std::string>& lines);
    // The last fitted peak: its samples (black points) and the fitted curve (red), to the
    // right of ListBox9 down to the page's bottom margin.
    void showFit(const QString& title, const std::vector<double>& sx, const std::vector<double>& sy,
                 const std::vector<double>& cx, const std::vector<double>& cy);

    // The layout rule's boxes of this page's controls (LayoutBoxes), read and placed again.
    void readLayout(LayoutBoxes& boxes) const;
    void applyLayout(const LayoutBoxes& boxes);

signals:
    // A line clicked (also the current one) or reached with the keys.
    void peakChosen();
    void fitRequested();
    void saveRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeChart();
    void clearFit();

    QPushButton* Button16;
    QPushButton* Button17;
    QLabel* Label14;
    QListWidget* ListBox8;
    QLabel* Label15;
    QListWidget* ListBox9;
    ChartSurface* ChartPeak;
    ChartSeries* PeakSamples;
    ChartSeries* PeakCurve;
};

}  // namespace orvelo::ui
