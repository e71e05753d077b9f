#pragma once
// Chart pictures in PNG, SVG, PDF or BMP: "Файл" ▸ "График" / "Калибровочная кривая" /
// "Теория CH" / "Теория CF" ▸ "Рисунок...". The operator first chooses the picture's size (the
// chart's on-screen size or another), then the file; the format follows the name's ending
// (".png" gives a PNG whatever type is chosen), else the chosen file type, else BMP. The
// picture is drawn in memory and then written atomically.
#include <QByteArray>
#include <QObject>
#include <QSize>
#include <QString>
#include <optional>

#include "ui/command_context.h"

class QAction;
class QWidget;

namespace orvelo::ui {

class ChartSurface;

inline constexpr const char* kImageFilter =
    "PNG (*.png)|*.PNG|SVG (*.svg)|*.SVG|PDF (*.pdf)|*.PDF|BMP (*.bmp)|*.BMP|Все (*.*)|*.*";

// "PNG", "SVG", "PDF" or "BMP" for the file `name` and the dialog's chosen type caption.
QByteArray ImageFormatFor(const QString& name, const QString& chosenType);

// Draws `chart` at `size` (empty: on-screen) in `format` and writes it atomically; throws
// OrveloError naming the file when it cannot.
void SaveChartImage(ChartSurface& chart, const QString& name, const QByteArray& format, QSize size);

// The size dialog "Размер рисунка": the on-screen size, or width and height typed in pixels.
std::optional<QSize> AskImageSize(QWidget* parent, QSize onScreen);

class ChartImageCommands : public QObject {
    Q_OBJECT
public:
    explicit ChartImageCommands(CommandContext& context);

    void saveImage(ChartSurface& chart, const char* title, const char* proposedName);

private:
    CommandContext& c_;
};

}  // namespace orvelo::ui
