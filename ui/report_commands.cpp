#include "ui/report_commands.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/errors.h"
#include "core/text_file.h"
#include "export/html_report.h"
#include "ui/chart_export.h"
#include "ui/chart_surface.h"
#include "ui/dialogs.h"
#include "ui/page_info.h"
#include "ui/secondary_windows.h"
#include "export/table_text.h"

namespace orvelo::ui {
namespace {

// The grid as shown: every row (head row first) with the current cell texts, and each
// column's current width in pixels.
HtmlTable GridTable(const PageInfo& info) {
    HtmlTable table;
    for (int r = 0; r < info.rowCount(); ++r) {
        std::vector<std::string> row;
        for (int col = 0; col < kResultColumns; ++col) row.push_back(info.cell(col, r).toStdString());
        table.rows.push_back(std::move(row));
    }
    for (int col = 0; col < kResultColumns; ++col) table.columnWidths.push_back(info.columnWidth(col));
    return table;
}

// Tells a widget it has its size now: its layout (or the window's layout rule, which follows
// every page resize) places its children at once, even while it is hidden.
void LayOut(QWidget& widget, QSize oldSize) {
    QResizeEvent resize(widget.size(), oldSize);
    QCoreApplication::sendEvent(&widget, &resize);
    if (QLayout* layout = widget.layout()) layout->activate();
}

}  // namespace

void LayOutLikeShown(QWidget& chart) {
    QWidget* page = chart.parentWidget();
    auto* stack = qobject_cast<QStackedWidget*>(page ? page->parentWidget() : nullptr);
    if (!stack || !stack->currentWidget() || stack->currentWidget() == page) return;
    const QSize oldPage = page->size();
    const QSize oldChart = chart.size();
    page->setGeometry(stack->currentWidget()->geometry());
    LayOut(*page, oldPage);
    LayOut(chart, oldChart);
}

std::unique_ptr<QPrinter> DefaultPrinter() {
    if (QPrinterInfo::defaultPrinter().isNull()) throw OrveloError(kNoDefaultPrinterMessage);
    return std::make_unique<QPrinter>(QPrinter::HighResolution);
}

ReportCommands::ReportCommands(CommandContext& context, ReportPages pages)
    : c_(context), pages_(pages), printer_(DefaultPrinter) {}

ReportCommands::~ReportCommands() = default;

// Form3 first (its OK stores the choice, kept even when the save dialog is then cancelled;
// closing it any other way cancels the report), then the save dialog, then the report from the
// grid as it is on screen.
void ReportCommands::HTMLOut(bool Usovershen) {
    c_.run([this, Usovershen] {
        {
            ColumnChooser form3(c_.window);
            if (form3.exec() != QDialog::Accepted) return;
            c_.flags.VyborStolbtsov = form3.choice();
        }
        const auto name = c_.files.saveFile({QString::fromUtf8(kHtmlDialogTitle), QString::fromUtf8(kHtmlFileName),
                                             CommandContext::programFolder(), QString::fromUtf8(kHtmlFilter)});
        if (!name) return;
        const auto& chosen = c_.flags.VyborStolbtsov;
        WriteTextFile(name->toStdString(),
                      WriteToHTML(GridTable(pages_.info), c_.session.state().spectrum.SpectrumTitle,
                                  std::span<const bool>(chosen.data(), chosen.size()), Usovershen));
    });
}

void ReportCommands::BMP1Click() { saveChart(pages_.spectrum, kSpectrumBmpTitle, kSpectrumBmpName); }
void ReportCommands::BMP2Click() { saveChart(pages_.ch, kPilaCHBmpTitle, kPilaCHBmpName); }
void ReportCommands::BMP3Click() { saveChart(pages_.curve, kCurveBmpTitle, kCurveBmpName); }
void ReportCommands::BMP4Click() { saveChart(pages_.cf, kPilaCFBmpTitle, kPilaCFBmpName); }

// The chart drawn at its current size, as on screen; the name is used as typed (no extension
// added) and an existing file is replaced.
void ReportCommands::saveChart(ChartSurface& chart, const char* title, const char* proposedName) {
    c_.run([&] {
        const auto name = c_.files.saveFile({QString::fromUtf8(title), QString::fromUtf8(proposedName),
                                             CommandContext::programFolder(), QString::fromUtf8(kBmpFilter)});
        if (!name) return;
        LayOutLikeShown(chart);
        SaveChartImage(chart, *name, "BMP", QSize());
    });
}

void ReportCommands::N35Click() {
    c_.run([this] { printSpectrum(); });
}

// One page after the print preview: Chart1 at the page origin, one printer dot per screen pixel.
void ReportCommands::printSpectrum() {
    ChartSurface& chart = pages_.spectrum;
    chart.setPrintMargins(0, 0, 0, 0);
    std::unique_ptr<QPrinter> printer = printer_();
    if (!printer) throw OrveloError(kNoDefaultPrinterMessage);
    c_.messages.printPreview(*printer, [&chart](QPrinter& target) {
        if (!chart.paintOnPrinter(target, QPoint(0, 0))) {
            const QString name = target.printerName().isEmpty() ? target.outputFileName() : target.printerName();
            throw OrveloError("Принтер \"" + name.toStdString() + "\" не может начать печать");
        }
    });
}

// The selected block of the results table, or the whole table (head row included) when one
// cell or nothing is selected.
std::vector<std::string> ReportCommands::tableText() const {
    const PageInfo& info = pages_.info;
    return TabSeparatedLines(GridTable(info).rows, info.selectedBlock());
}

void ReportCommands::N4Click() {
    c_.run([this] {
        QString text;
        for (const std::string& line : tableText()) text += QString::fromStdString(line) + QLatin1Char('\n');
        QGuiApplication::clipboard()->setText(text);
    });
}

void ReportCommands::TXT2Click() {
    c_.run([this] { copyTableToFile(); });
}

void ReportCommands::copyTableToFile() {
    const auto name = c_.files.saveFile({QString::fromUtf8(kTableTxtTitle), QString::fromUtf8(kTableTxtName),
                                         CommandContext::programFolder(), QString::fromUtf8(kTextFilter)});
    if (!name) return;
    WriteTextFile(name->toStdString(), tableText());
    c_.info(QStringLiteral("OK"));
}

}  // namespace orvelo::ui
