#pragma once
// "Вид" ▸ "Массы пиков": each fitted peak's mass written above its top on "Спектр", with the
// decimals of the results table's "Масса" column. Labels are placed tallest peak first and a
// label that would overlap one already placed is left out, so zooming in shows more of them.
#include <QRect>
#include <QString>
#include <vector>

#include "fitting/peak_result.h"

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;

struct PeakLabel {
    QString text;
    QRect box;  // pixels of the chart
};

// The labels that fit: candidates at (x, top) pixel anchors with their text sizes, placed in
// order of the anchors' height (highest first), each box centred over its anchor and kept
// inside `area`; a box that would touch one already placed is dropped.
struct LabelCandidate {
    QString text;
    QPoint anchor;
    QSize size;
};
std::vector<PeakLabel> PlaceLabels(std::vector<LabelCandidate> candidates, const QRect& area);

class PeakLabels {
public:
    // Draws after `curves` (the fitted peaks' series) from `peaks`, which must outlive this.
    PeakLabels(ChartSurface& chart, ChartSeries& curves, const PeakResults& peaks);
    void setShown(bool on);
    bool shown() const { return shown_; }
    // The labels of the last drawing (tests read them).
    const std::vector<PeakLabel>& drawn() const { return drawn_; }

private:
    ChartSurface& chart_;
    ChartSeries& curves_;
    const PeakResults& peaks_;
    bool shown_ = false;
    std::vector<PeakLabel> drawn_;
};

}  // namespace orvelo::ui
