#include "ui/peak_labels.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"
#include "ui/chart_surface.h"

namespace orvelo::ui {
namespace {

constexpr int kMassDecimals = 6;  // the "Масса" column of the results table
constexpr int kLift = 4;          // pixels between a peak's top and its label
constexpr int kGap = 2;           // least room between two labels

}  // namespace

std::vector<PeakLabel> PlaceLabels(std::vector<LabelCandidate> candidates, const QRect& area) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const LabelCandidate& a, const LabelCandidate& b) { return a.anchor.y() < b.anchor.y(); });
    std::vector<PeakLabel> placed;
    for (const LabelCandidate& c : candidates) {
        if (c.anchor.x() < area.left() || c.anchor.x() > area.right()) continue;
        QRect box(QPoint(0, 0), c.size);
        box.moveBottom(c.anchor.y() - kLift);
        box.moveLeft(c.anchor.x() - c.size.width() / 2);
        if (box.top() < area.top()) box.moveTop(area.top());
        if (box.bottom() > area.bottom()) continue;
        const QRect room = box.adjusted(-kGap, -kGap, kGap, kGap);
        const bool overlaps =
            std::any_of(placed.begin(), placed.end(), [&](const PeakLabel& l) { return l.box.intersects(room); });
        if (!overlaps) placed.push_back({c.text, box});
    }
    return placed;
}

PeakLabels::PeakLabels(ChartSurface& chart, ChartSeries& curves, const PeakResults& peaks)
    : chart_(chart), curves_(curves), peaks_(peaks) {
    curves_.setAfterDrawCallback([this](ChartCanvas& canvas) {
        drawn_.clear();
        if (!shown_) return;
        std::vector<LabelCandidate> candidates;
        for (const PeakResult& p : peaks_) {
            if (IsProblemPeak(p) || !std::isfinite(p.Centre) || !std::isfinite(p.Height)) continue;
            const double x = chart_.pixelOfKey(p.Centre);
            const double y = chart_.pixelOfValue(p.Height);
            if (!std::isfinite(x) || !std::isfinite(y) || std::abs(x) > 1e6 || std::abs(y) > 1e6) continue;
            const QString text = QString::fromStdString(FormatFixed(p.Centre, kMassDecimals));
            candidates.push_back({text, QPoint(int(std::lround(x)), int(std::lround(y))), canvas.textSize(text)});
        }
        drawn_ = PlaceLabels(std::move(candidates), chart_.plotArea());
        canvas.setOutlineColor(Qt::darkRed);
        for (const PeakLabel& l : drawn_) canvas.drawText(l.box, l.text);
    });
}

void PeakLabels::setShown(bool on) {
    shown_ = on;
    chart_.requestRedraw();
}

}  // namespace orvelo::ui
