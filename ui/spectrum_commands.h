#pragma once
// The spectrum commands: load ("Открыть...", the preset folders), save ("Сохранить..."), the
// display reset ClearAll, the preliminary run ("Предварительная") and the zone list with its
// zone chart and ">>".
#include <QObject>

#include "core/spectrum_state.h"
#include "ui/command_context.h"

namespace orvelo::ui {

class ChartCanvas;
class ChartSeries;
struct ViewToggle;

class SpectrumCommands : public QObject {
    Q_OBJECT
public:
    explicit SpectrumCommands(CommandContext& context);

    // Each runs inside the command wrapper.
    void ReadFromFile();
    void WriteToFile();
    void Button9Click();
    void ListBox1Click();
    void BitBtn1Click();

    // Empties the displays (never the point lists), shows the stored settings again.
    void ClearAll(ClearMode mode);
    // Series1 from stage 0 (after a load and after the masses are recalculated).
    void DrawSpectrum();

private:
    void readFromFile();
    void button9Click();
    void listBox1Click();
    void bitBtn1Click();
    void drawStages();
    void drawTriangleMarker(ChartCanvas& canvas);

    CommandContext& c_;
};

// Fills a Chart1 series from a stage, first setting its shown flag and markers from the
// series' two View entries.
void DrawStage(ChartSeries& series, const PointList& points, const ViewToggle& view);

}  // namespace orvelo::ui
