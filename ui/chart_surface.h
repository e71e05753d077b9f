#pragma once
// The one charting surface of the program: a chart of line series with point markers, as the
// pages draw them (Chart1 .. Chart5). It wraps the plotting library so that no other header
// needs it; everything the pages do with a chart goes through ChartSurface and ChartSeries.
//
// Axes follow the data (with a little padding so edge markers and marks are not cut) until the
// operator zooms; dragging a rectangle down-right zooms into it, dragging up or left undoes the
// zoom, the right button pans. Chart5 switches the mouse off with setMouseZoomEnabled(false).
#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "ui/chart_series.h"

class QCustomPlot;
class QPainter;
class QPrinter;

namespace orvelo::ui {

class ChartSurface : public QWidget {
    Q_OBJECT
public:
    explicit ChartSurface(QWidget* parent = nullptr);
    ~ChartSurface() override;

    ChartSeries* addSeries(const QString& name, const SeriesStyle& style);
    ChartSeries* series(const QString& name) const;
    const std::vector<ChartSeries*>& allSeries() const { return series_; }

    // Value (left) axis.
    void setValueAxisMinimum(double minimum);
    bool logarithmic() const { return logarithmic_; }
    void setLogarithmic(bool on);

    void clearTitle();
    void addTitleLine(const QString& line);
    QStringList titleLines() const { return titleLines_; }
    void setTitleFont(const QFont& font, const QColor& colour);
    void setAxisTitles(const QString& bottom, const QString& left, const QFont& font, const QColor& colour);
    // The same in the program's plain axis-title look (dark grey, 13 px).
    void setAxisTitles(const QString& bottom, const QString& left);
    QString bottomAxisTitle() const;
    QString leftAxisTitle() const;
    void setLeftTickLength(int length);
    void setPanelColour(const QColor& colour);
    void setPlotAreaColour(const QColor& colour);

    // While off the chart is not redrawn (a big series is filled); on redraws it once.
    void setBuffered(bool on);
    void setBusy(bool busy);

    void setMouseZoomEnabled(bool on) { mouseZoom_ = on; }
    bool mouseZoomEnabled() const { return mouseZoom_; }
    bool zoomed() const { return zoomed_; }
    void zoomToPixels(QPoint from, QPoint to);  // as a drag from `from` to `to`
    void undoZoom();
    void panByPixels(int dx, int dy);
    // The mouse wheel: the mass axis zoomed around the key under pixel column `x`, by `factor`
    // (below 1 zooms in); undoZoom restores the full view.
    void zoomKeyAround(int x, double factor);
    // Between chart pixels and axis values (as the chart was last drawn).
    double keyAtPixel(int x) const;
    double valueAtPixel(int y) const;
    double pixelOfKey(double key) const;
    double pixelOfValue(double value) const;
    // The plotting area in chart pixels; true when the pixel lies inside it.
    QRect plotArea() const;
    bool inPlotArea(QPoint pos) const;
    double visibleKeyLower() const;
    double visibleKeyUpper() const;
    double visibleValueLower() const;
    double visibleValueUpper() const;

    // The chart drawn at `size` (the on-screen size when empty) as file bytes of `format`
    // ("BMP", "PNG", "SVG" or "PDF"); empty when the format is unknown.
    QByteArray render(const QByteArray& format, QSize size = QSize()) const;
    void setPrintMargins(int left, int top, int right, int bottom);
    std::array<int, 4> printMargins() const { return printMargins_; }
    bool paintOnPrinter(QPrinter& printer, QPoint origin);

    // Redraws now (tests and callers that read pixel positions right away).
    void redrawNow();
    void requestRedraw();

    QPoint lastMousePos() const { return lastMouse_; }
    // The widget under the mouse (where mouse events and the cursor belong); for tests and
    // callers that point at the chart.
    QWidget* mouseArea() const;

signals:
    void mouseMoved(QPoint pos);
    void mouseLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ChartSeries;
    class AfterDrawLayer;
    void fitAxesToData();
    void onMouseMove(QPoint pos, Qt::MouseButtons buttons);
    void onMousePress(QPoint pos, Qt::MouseButton button);
    void onMouseRelease(QPoint pos, Qt::MouseButton button);
    void onWheel(QPoint pos, int delta);
    void drawAfterSeries(QPainter& painter);
    void drawMarks(QPainter& painter, const ChartSeries& s);
    void updateTitle();
    void updateCursor();

    QCustomPlot* plot_;
    AfterDrawLayer* afterDraw_ = nullptr;
    std::vector<ChartSeries*> series_;
    QStringList titleLines_;
    QFont titleFont_;
    QColor titleColour_ = Qt::blue;
    bool titleVisible_ = false;
    std::optional<double> valueMinimum_;
    bool logarithmic_ = false;
    bool mouseZoom_ = true;
    bool zoomed_ = false;
    bool dataDirty_ = true;
    bool buffered_ = true;
    QPoint lastMouse_{-1, -1};
    QPoint pressPos_;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    double panKeyLower_ = 0, panKeyUpper_ = 0, panValueLower_ = 0, panValueUpper_ = 0;
    std::array<int, 4> printMargins_{0, 0, 0, 0};
};

}  // namespace orvelo::ui
