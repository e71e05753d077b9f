#pragma once
// Page "Информация" (TabSheet2): the results table StringGrid1 filling the page, with room for a
// side panel at its right (the formulas of the selected peak). Row 0 of the table is its fixed
// header row (shown as the grid's header); rows 1.. are the peaks.
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "export/table_text.h"
#include "fitting/results_table.h"

class QMenu;
class QAction;
class QPushButton;
class QSplitter;
class QTableWidget;

namespace orvelo::ui {

class PageInfo : public QWidget {
    Q_OBJECT
public:
    explicit PageInfo(QWidget* parent = nullptr);

    // Rows counted with the header row (2 at start: the header and one empty row).
    int rowCount() const;
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    int columnWidth(int column) const;

    // The results of a final run: one row per peak under the heads, columns sized to their
    // texts, and row p + 1 marked when warnings[p] says so (a cell colour and a tooltip that
    // gives the reason; the texts stay as they are).
    void showResults(const std::vector<ResultRow>& table, const std::vector<RowWarning>& warnings);
    // The heads and one empty row, nothing marked.
    void clear();

    // The block the operator selected (rows counted with the header row); none when nothing
    // or a single cell is selected.
    std::optional<CellBlock> selectedBlock() const;
    // The peak of the selected row (the row of the current cell within the selection, less the
    // header); -1 when nothing is selected or the row holds no result.
    int selectedPeak() const;

    // Puts `panel` at the right of the table, `width` pixels wide at first; the table keeps
    // the rest, and the divider between them can be dragged (to the right edge: the panel hides).
    void setSidePanel(QWidget* panel, int width);

signals:
    // The selection moved to another peak, or the results under it changed (-1: none).
    void peakSelected(int peak);
    void messageRequested(const QString& text);
    // The grid's context menu: "Копировать в Excel" and "Копировать в TXT-файл".
    void copyToClipboardRequested();
    void copyToFileRequested();

private:
    void Button11Click();
    void setRowCount(int rows);
    // Writes rows 0.. (row 0 the header), growing the grid as needed.
    void setRows(const std::vector<std::vector<std::string>>& rows, int firstRow);
    // Every column as wide as its widest text (header included) plus the width of "www".
    void AutoSizeColumns();

    void emitPeakSelected();

    QTableWidget* StringGrid1;
    QSplitter* split_;
    QPushButton* Button11;  // never shown
    QMenu* PopupMenu1;
    QAction* N4;
    QAction* TXT2;
};

}  // namespace orvelo::ui
