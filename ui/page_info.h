#pragma once
// Page "Информация" (TabSheet2): the results table StringGrid1 filling the page. Row 0 of the
// table is its fixed header row (shown as the grid's header); rows 1.. are the peaks.
#include <QWidget>
#include <string>
#include <vector>

class QMenu;
class QAction;
class QPushButton;
class QTableWidget;

namespace orvelo::ui {

inline constexpr int kResultColumns = 12;

class PageInfo : public QWidget {
    Q_OBJECT
public:
    explicit PageInfo(QWidget* parent = nullptr);

    // Rows counted with the header row (2 at start: the header and one empty row).
    int rowCount() const;
    void setRowCount(int rows);
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    int columnWidth(int column) const;

    // Writes rows 0.. (row 0 the header), growing the grid as needed.
    void setRows(const std::vector<std::vector<std::string>>& rows, int firstRow);
    // Every column as wide as its widest text (header included) plus the width of "www".
    void AutoSizeColumns();

    QTableWidget* StringGrid1;
    QPushButton* Button11;  // never shown
    QMenu* PopupMenu1;
    QAction* N4;
    QAction* TXT2;

signals:
    void messageRequested(const QString& text);

private:
    void Button11Click();
};

}  // namespace orvelo::ui
