#pragma once
// Pages "Теория CH" (TabSheet6, Chart3 with Series9 and Series10) and "Теория CF" (TabSheet7,
// Chart4 with Series12 and Series13): the theoretical saw and the measured peaks, one chart
// filling the page. The theory commands give the hover marks their text.
#include <QString>
#include <QWidget>
#include <functional>

#include "core/spectrum_state.h"
#include "ui/pages.h"

namespace orvelo::ui {

class ChartSeries;
class ChartSurface;

enum class TheoryKind { CH, CF };

class PageTheory : public QWidget {
    Q_OBJECT
public:
    // The mark text of the measured point `index`; empty: no mark.
    using HoverTextFn = std::function<QString(int index)>;

    PageTheory(TheoryKind kind, QWidget* parent = nullptr);

    ChartSurface& chart() const { return *chart_; }

    // The theoretical saw and the measured peaks.
    void showSaws(const PointList& theory, const PointList& practice);
    PointList theoryPoints() const;
    PointList practicePoints() const;
    // Both saws and the room for marks.
    void clear();
    // Places the room for marks after the saws have been shown (empty saws: no room needed).
    void makeRoomForMarks();

    // The marks over the measured points ("Подсказки CH/CF").
    void setMarksShown(bool on);
    void setHoverText(HoverTextFn text);
    // The measured point under the mouse, or -1.
    int pointUnderMouse() const;

signals:
    void mouseMoved();

private:
    ChartSurface* chart_;   // Chart3 or Chart4
    ChartSeries* theory;    // Series9 or Series12
    ChartSeries* practice;  // Series10 or Series13
    ChartSeries* markRoom;  // invisible; keeps the top of the value axis free for marks
};

}  // namespace orvelo::ui
