#include "ui/chart_readout.h"

#include <QStatusBar>
#include <algorithm>
#include <cmath>

#include "ui/chart_surface.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_settings.h"
#include "ui/page_single_peak.h"
#include "ui/page_spectrum.h"
#include "ui/page_theory.h"
#include "ui/pages.h"

namespace orvelo::ui {
namespace {

QString Fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

}  // namespace

// A peak reaches one full width at half height (Centre / R) either side of its centre, and
// never beyond its zone; where two reach, the nearer centre wins.
const PeakResult* PeakAtMass(const PeakResults& peaks, double mass) {
    const PeakResult* nearest = nullptr;
    for (const PeakResult& p : peaks) {
        if (IsProblemPeak(p) || !(p.R > 0) || mass < p.Left || mass > p.Right) continue;
        const double distance = std::abs(mass - p.Centre);
        if (distance <= p.Centre / p.R && (!nearest || distance < std::abs(mass - nearest->Centre))) nearest = &p;
    }
    return nearest;
}

// "m/z = 41.0391   Интенсивность = 1234.5", then over a fitted peak
// "   Пик: m/z = 41.039132, R = 812, высота = 10512.3" (the results table's decimals).
QString SpectrumReadout(double mass, double intensity, const PeakResults& peaks) {
    QString text =
        QStringLiteral("m/z = %1   Интенсивность = %2").arg(Fixed(mass, 4), QString::number(intensity, 'g', 6));
    if (const PeakResult* p = PeakAtMass(peaks, mass))
        text += QStringLiteral("   Пик: m/z = %1, R = %2, высота = %3")
                    .arg(Fixed(p->Centre, 6), Fixed(p->R, 0), Fixed(p->Height, 1));
    return text;
}

QString CurveReadout(double mass, double deviationMmu) {
    return QStringLiteral("М изм = %1   Δm = %2 mmu").arg(Fixed(mass, 4), Fixed(deviationMmu, 2));
}

QString TheoryReadout(double nominalMass, double defectMmu) {
    return QStringLiteral("номинальная масса = %1   дефект массы = %2 mmu")
        .arg(Fixed(std::round(nominalMass), 0), Fixed(defectMmu, 1));
}

ChartReadout::ChartReadout(QStatusBar* bar) : QObject(bar), bar_(bar) {}

void ChartReadout::watch(ChartSurface* chart, TextFn text) {
    connect(chart, &ChartSurface::mouseMoved, this, [this, chart, text = std::move(text)](QPoint pos) {
        if (chart->inPlotArea(pos)) bar_->showMessage(text(chart->keyAtPixel(pos.x()), chart->valueAtPixel(pos.y())));
        else bar_->clearMessage();
    });
    connect(chart, &ChartSurface::mouseLeft, bar_, &QStatusBar::clearMessage);
}

void WatchCharts(ChartReadout& readout, const Pages& pages, const PeakResults& peaks) {
    auto spectrum = [&peaks](double key, double value) { return SpectrumReadout(key, value, peaks); };
    auto plain = [](double key, double value) { return SpectrumReadout(key, value, {}); };
    readout.watch(&pages.spectrum->chart(), spectrum);
    readout.watch(&pages.settings->zoneChart(), plain);
    readout.watch(&pages.singlePeak->chart(), plain);
    readout.watch(&pages.calibrationCurve->chart(), CurveReadout);
    readout.watch(&pages.theoryCH->chart(), TheoryReadout);
    readout.watch(&pages.theoryCF->chart(), TheoryReadout);
}

}  // namespace orvelo::ui
