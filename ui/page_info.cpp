#include "ui/page_info.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "fitting/results_column_tips.h"

namespace orvelo::ui {

PageInfo::PageInfo(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    StringGrid1 = new QTableWidget(1, kResultColumns, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    QFont font;
    font.setPixelSize(12);
    font.setBold(true);
    StringGrid1->setFont(font);
    StringGrid1->horizontalHeader()->setFont(font);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setShowGrid(true);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int c = 0; c < kResultColumns; ++c) StringGrid1->setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setObjectName(QStringLiteral("InfoSplitter"));
    split_->setChildrenCollapsible(false);
    split_->addWidget(StringGrid1);
    layout->addWidget(split_);
    connect(StringGrid1, &QTableWidget::itemSelectionChanged, this, &PageInfo::emitPeakSelected);

    Button11 = new QPushButton(QStringLiteral("Button11"), this);
    Button11->setObjectName(QStringLiteral("Button11"));
    Button11->setGeometry(912, 64, 105, 177);
    Button11->setVisible(false);
    connect(Button11, &QPushButton::clicked, this, &PageInfo::Button11Click);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N4 = PopupMenu1->addAction(QStringLiteral("Копировать в Excel"));
    N4->setObjectName(QStringLiteral("N4"));
    TXT2 = PopupMenu1->addAction(QStringLiteral("Копировать в TXT-файл"));
    TXT2->setObjectName(QStringLiteral("TXT2"));
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(pos)); });
    connect(N4, &QAction::triggered, this, &PageInfo::copyToClipboardRequested);
    connect(TXT2, &QAction::triggered, this, &PageInfo::copyToFileRequested);

    const ResultRow& heads = ResultsTableHeads();
    for (int col = 0; col < kResultColumns; ++col) {
        setCell(col, 0, QString::fromStdString(heads[static_cast<std::size_t>(col)]));
        StringGrid1->horizontalHeaderItem(col)->setToolTip(QString::fromUtf8(kResultColumnTips[col]));
    }
}

std::optional<CellBlock> PageInfo::selectedBlock() const {
    const auto ranges = StringGrid1->selectedRanges();
    if (ranges.isEmpty()) return std::nullopt;
    const QTableWidgetSelectionRange& r = ranges.front();
    return CellBlock{r.topRow() + 1, r.leftColumn(), r.bottomRow() + 1, r.rightColumn()};
}

int PageInfo::selectedPeak() const {
    const auto ranges = StringGrid1->selectedRanges();
    if (ranges.isEmpty()) return -1;
    int row = StringGrid1->currentRow();
    const QTableWidgetSelectionRange& r = ranges.front();
    if (row < r.topRow() || row > r.bottomRow()) row = r.topRow();
    const QTableWidgetItem* item = StringGrid1->item(row, 0);
    return item && !item->text().isEmpty() ? row : -1;
}

void PageInfo::emitPeakSelected() { emit peakSelected(selectedPeak()); }

void PageInfo::setSidePanel(QWidget* panel, int width) {
    split_->addWidget(panel);
    split_->setCollapsible(1, true);  // dragged fully to the right, the panel gives the table the page
    split_->setStretchFactor(0, 1);
    split_->setStretchFactor(1, 0);
    const int total = std::max(split_->width(), width * 3);
    split_->setSizes({total - width, width});
}

int PageInfo::rowCount() const { return StringGrid1->rowCount() + 1; }

void PageInfo::setRowCount(int rows) { StringGrid1->setRowCount(std::max(rows - 1, 0)); }

QString PageInfo::cell(int column, int row) const {
    const QTableWidgetItem* item =
        row == 0 ? StringGrid1->horizontalHeaderItem(column) : StringGrid1->item(row - 1, column);
    return item ? item->text() : QString();
}

void PageInfo::setCell(int column, int row, const QString& text) {
    if (row >= rowCount()) setRowCount(row + 1);
    if (row == 0) {
        StringGrid1->horizontalHeaderItem(column)->setText(text);
        return;
    }
    if (QTableWidgetItem* item = StringGrid1->item(row - 1, column)) item->setText(text);
    else StringGrid1->setItem(row - 1, column, new QTableWidgetItem(text));
}

int PageInfo::columnWidth(int column) const { return StringGrid1->columnWidth(column); }

void PageInfo::setRows(const std::vector<std::vector<std::string>>& rows, int firstRow) {
    StringGrid1->setUpdatesEnabled(false);
    if (firstRow + static_cast<int>(rows.size()) > rowCount()) setRowCount(firstRow + static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size() && c < kResultColumns; ++c)
            setCell(static_cast<int>(c), firstRow + static_cast<int>(r), QString::fromStdString(rows[r][c]));
    StringGrid1->setUpdatesEnabled(true);
}

void PageInfo::AutoSizeColumns() {
    const QFontMetrics metrics(StringGrid1->font());
    const int extra = metrics.horizontalAdvance(QStringLiteral("www"));
    for (int c = 0; c < kResultColumns; ++c) {
        int widest = 0;
        for (int r = 0; r < rowCount(); ++r) widest = std::max(widest, metrics.horizontalAdvance(cell(c, r)));
        StringGrid1->setColumnWidth(c, widest + extra);
    }
}

namespace {

QColor WarningColour(RowWarning warning) {
    switch (warning) {
        case RowWarning::CapSettled: return QColor(255, 248, 200);  // pale yellow: look, no alarm
        case RowWarning::CapMoving:
        case RowWarning::RNotPositive: return QColor(255, 190, 190);  // pale red: do not trust
        case RowWarning::None: break;
    }
    return {};
}

}  // namespace

void PageInfo::showResults(const std::vector<ResultRow>& table, const std::vector<RowWarning>& warnings) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(table.size());
    for (const ResultRow& r : table) rows.emplace_back(r.begin(), r.end());
    setRows(rows, 0);
    for (std::size_t p = 0; p < warnings.size() && static_cast<int>(p) + 1 < rowCount(); ++p) {
        if (warnings[p] == RowWarning::None) continue;
        const QString why = QString::fromStdString(RowWarningText(warnings[p]));
        for (int c = 0; c < kResultColumns; ++c) {
            QTableWidgetItem* item = StringGrid1->item(static_cast<int>(p), c);
            if (!item) continue;
            item->setBackground(WarningColour(warnings[p]));
            item->setToolTip(why);
        }
    }
    AutoSizeColumns();
    emitPeakSelected();
}

void PageInfo::clear() {
    StringGrid1->clearContents();
    setRowCount(2);
    emitPeakSelected();
}

// The hidden diagnostic button: the selection and the text of its top-left cell.
void PageInfo::Button11Click() {
    int left = 0, top = 1, right = 0, bottom = 1;
    const auto ranges = StringGrid1->selectedRanges();
    if (!ranges.isEmpty()) {
        left = ranges.front().leftColumn();
        top = ranges.front().topRow() + 1;
        right = ranges.front().rightColumn();
        bottom = ranges.front().bottomRow() + 1;
    }
    const QString nl = QStringLiteral("\n\r");
    emit messageRequested(QStringLiteral("Left = %1").arg(left) + nl + QStringLiteral("Top = %1").arg(top) + nl +
                          QStringLiteral("Right = %1").arg(right) + nl + QStringLiteral("Bottom = %1").arg(bottom) +
                          cell(left, top));
}

}  // namespace orvelo::ui
