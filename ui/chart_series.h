#pragma once
#include <QColor>
#include <QHash>
#include <QObject>
#include <QPointF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "ui/chart_canvas.h"

class QCPGraph;

namespace orvelo::ui {

class ChartSurface;

enum class MarkerShape { Circle, Square, Diamond };

struct SeriesStyle {
    QColor line = Qt::black;
    MarkerShape marker = MarkerShape::Circle;
    int markerSize = 2;  // pixels
    QColor markerOutline = Qt::black;
    std::optional<QColor> markerFill;  // none: hollow marker
    int markerOutlineWidth = 1;
};

// One line series; points held in ascending order of X, index 0 the smallest X.
class ChartSeries : public QObject {
    Q_OBJECT
public:
    // Returns the mark text of point `index`; `text` is the default (its label, or its Y value).
    using MarkTextFn = std::function<QString(int index, const QString& text)>;
    using AfterDrawFn = std::function<void(ChartCanvas&)>;

    void clear();
    void addPoint(double x, double y);  // inserted in X order
    // Replaces every point at once; x must be ascending (the fast way for big lists).
    void setPoints(const std::vector<double>& x, const std::vector<double>& y);
    // The same for a series of separate pieces: the line is broken before every index in
    // `starts` (ascending), so no line joins one piece to the next; the points are as given.
    void setPieces(const std::vector<double>& x, const std::vector<double>& y, const std::vector<int>& starts);
    int count() const;
    double x(int i) const;
    double y(int i) const;

    bool shown() const;
    void setShown(bool shown);
    bool markers() const;
    void setMarkers(bool on);
    bool marks() const { return marks_; }
    void setMarks(bool on);
    void setMarksClipped(bool clipped);

    // Pixel position of point i's X and Y value; valid once the chart has been drawn.
    int pixelX(int i) const;
    int pixelY(int i) const;
    // Index of the point under the last mouse position over the chart, or -1.
    int pointUnderMouse() const;

    void setLabel(int i, const QString& label);
    QString label(int i) const { return labels_.value(i); }
    void setMarkTextCallback(MarkTextFn fn) { markText_ = std::move(fn); }
    QString markText(int i) const;
    void setAfterDrawCallback(AfterDrawFn fn) { afterDraw_ = std::move(fn); }
    // Cursor shown while the mouse rests on one of the series' points (op. "series cursor").
    void setPointCursor(Qt::CursorShape shape) { pointCursor_ = shape; }
    std::optional<Qt::CursorShape> pointCursor() const { return pointCursor_; }

    QColor lineColor() const { return style_.line; }

private:
    friend class ChartSurface;
    ChartSeries(ChartSurface* surface, QCPGraph* graph, const SeriesStyle& style);
    void changed(bool dataChanged);
    int nearestPoint(QPointF pixel, double tolerance) const;
    // Between point indices and the library's data, which holds one break before each piece.
    int dataIndex(int i) const;
    int pointIndex(int dataIndex) const;

    ChartSurface* surface_;
    QCPGraph* graph_;
    SeriesStyle style_;
    bool marks_ = false;
    bool marksClipped_ = true;
    QHash<int, QString> labels_;
    std::vector<int> breaks_;  // data indices of the breaks between pieces, ascending
    MarkTextFn markText_;
    AfterDrawFn afterDraw_;
    std::optional<Qt::CursorShape> pointCursor_;
};

}  // namespace orvelo::ui
