#pragma once
// The cursor readout of the main window's status bar: moving over a chart shows the chart's
// quantities under the cursor; on "Спектр", over a fitted peak's zone, also that peak's fitted
// mass, R and height. Leaving the chart (or its plotting area) clears the line.
#include <QObject>
#include <QString>
#include <functional>

#include "fitting/peak_result.h"

class QStatusBar;

namespace orvelo::ui {

class ChartSurface;

// The status line texts (numbers always with the point).
QString SpectrumReadout(double mass, double intensity, const PeakResults& peaks);
QString CurveReadout(double mass, double deviationMmu);
QString TheoryReadout(double nominalMass, double defectMmu);

// The fitted, non-problem peak within one width at half height (Centre / R) of `mass` and
// inside its zone (Left .. Right), the nearest if several; or null.
const PeakResult* PeakAtMass(const PeakResults& peaks, double mass);

class ChartReadout : public QObject {
    Q_OBJECT
public:
    using TextFn = std::function<QString(double key, double value)>;
    explicit ChartReadout(QStatusBar* bar);
    // Shows `text(key, value)` while the mouse moves over the plotting area of `chart`.
    void watch(ChartSurface* chart, TextFn text);

private:
    QStatusBar* bar_;
};

struct Pages;
// Every chart of the window, each with its own quantities; `peaks` (the last final run) must
// outlive the readout.
void WatchCharts(ChartReadout& readout, const Pages& pages, const PeakResults& peaks);

}  // namespace orvelo::ui
