#pragma once
// Page "Спектр" (TabSheet1): the spectrum chart Chart1 filling the page, with the spectrum
// (Series1), the preliminary stages (Series2-5, Series16) and the fitted peaks (Series6).
#include <QWidget>
#include <memory>
#include <vector>

#include "core/spectrum_state.h"
#include "fitting/peak_result.h"

#include "ui/pages.h"

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;
class PeakLabels;

// The layers of Chart1: the spectrum, the preliminary stages and the fitted peaks.
enum class SpectrumLayer {
    Spectrum,      // Series1
    Smooth,        // Series2
    Extrema,       // Series3
    Trimmed,       // Series4
    PeakValley,    // Series5
    FittedPeaks,   // Series6
    FinalExtrema,  // Series16
    Count
};

struct LayerView {
    bool shown = true;
    bool markers = false;
};

class PageSpectrum : public QWidget {
    Q_OBJECT
public:
    // "Массы пиков" are written from `peaks`, which must outlive the page.
    explicit PageSpectrum(const PeakResults& peaks, QWidget* parent = nullptr);
    ~PageSpectrum() override;

    ChartSurface& chart() const { return *Chart1; }
    // Every stage and the fitted curves; the spectrum itself only for a new spectrum.
    void clear(ClearMode mode);
    // The spectrum with its markers on or off, the mass axis shown whole.
    void showSpectrum(const PointList& points, bool markers);
    // A layer, in separate pieces when `starts` gives the index each piece starts at (no line
    // joins them).
    void showLayer(SpectrumLayer layer, const PointList& points, LayerView view, const std::vector<int>& starts = {});
    // The "Вид" entries: each inverts its layer's property from its current value.
    void toggleShown(SpectrumLayer layer);
    void toggleMarkers(SpectrumLayer layer);
    void setPeakLabelsShown(bool on);
    const PeakLabels& peakLabels() const { return *labels_; }

private:
    ChartSeries& series(SpectrumLayer layer) const;

    ChartSurface* Chart1;
    ChartSeries* Series1;
    ChartSeries* Series2;
    ChartSeries* Series3;
    ChartSeries* Series4;
    ChartSeries* Series5;
    ChartSeries* Series6;
    ChartSeries* Series16;
    std::unique_ptr<PeakLabels> labels_;
};

}  // namespace orvelo::ui
