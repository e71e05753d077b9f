#pragma once
// Pages "Теория CH" (TabSheet6, Chart3 with Series9 and Series10) and "Теория CF" (TabSheet7,
// Chart4 with Series12 and Series13): the theoretical saw and the measured peaks, one chart
// filling the page. The hover marks are wired by the theory commands.
#include <QWidget>

#include "ui/pages.h"

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;

enum class TheoryKind { CH, CF };

class PageTheory : public QWidget {
    Q_OBJECT
public:
    PageTheory(TheoryKind kind, QWidget* parent = nullptr);

    TheoryKind kind() const { return kind_; }
    ChartSurface* chart;   // Chart3 or Chart4
    ChartSeries* theory;   // Series9 or Series12
    ChartSeries* practice; // Series10 or Series13
    ChartSeries* markRoom; // invisible; keeps the top of the value axis free for marks

    // Places markRoom after the series have been filled (empty series: no room needed).
    void MakeRoomForMarks();
    // Both saws and the room for marks.
    void clear();

private:
    TheoryKind kind_;
};

}  // namespace orvelo::ui
