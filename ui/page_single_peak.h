#pragma once
// Page "Отдельный пик" (TabSheet8): re-fit one peak of the last final run with its iteration
// log, and save its samples.
#include <QWidget>

#include "ui/page_commands.h"
#include <vector>

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

    QPushButton* Button16;
    QPushButton* Button17;
    QLabel* Label14;
    QListWidget* ListBox8;
    QLabel* Label15;
    QListWidget* ListBox9;
    // The last fitted peak: its samples (black points) and the fitted curve (red), to the
    // right of ListBox9 down to the page's bottom margin.
    ChartSurface* ChartPeak;
    ChartSeries* PeakSamples;
    ChartSeries* PeakCurve;

    void showFit(const QString& title, const std::vector<double>& sx, const std::vector<double>& sy,
                 const std::vector<double>& cx, const std::vector<double>& cy);
    void clearFit();
    // Both lists and the chart.
    void clear();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeChart();
};

}  // namespace orvelo::ui
