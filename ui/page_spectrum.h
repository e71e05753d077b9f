#pragma once
// Page "Спектр" (TabSheet1): the spectrum chart Chart1 filling the page, with the spectrum
// (Series1), the preliminary stages (Series2-5, Series16) and the fitted peaks (Series6).
#include <QWidget>

#include "ui/pages.h"

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;

class PageSpectrum : public QWidget {
    Q_OBJECT
public:
    explicit PageSpectrum(QWidget* parent = nullptr);
    // Every stage and the fitted curves; the spectrum itself only for a new spectrum.
    void clear(ClearMode mode);

    ChartSurface* Chart1;
    ChartSeries* Series1;
    ChartSeries* Series2;
    ChartSeries* Series3;
    ChartSeries* Series4;
    ChartSeries* Series5;
    ChartSeries* Series6;
    ChartSeries* Series16;
};

}  // namespace orvelo::ui
