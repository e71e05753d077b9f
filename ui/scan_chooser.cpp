#include "ui/scan_chooser.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvelo::ui {
namespace {

constexpr int kSortKeyRole = Qt::UserRole;

// Numeric columns sort by value, the others by text; an empty cell sorts first.
class ScanCell : public QTableWidgetItem {
public:
    ScanCell(const QString& text, std::optional<double> key) : QTableWidgetItem(text) {
        if (key) setData(kSortKeyRole, *key);
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant a = data(kSortKeyRole), b = other.data(kSortKeyRole);
        if (a.isValid() || b.isValid()) {
            if (!a.isValid()) return true;
            if (!b.isValid()) return false;
            return a.toDouble() < b.toDouble();
        }
        return text() < other.text();
    }
};

std::optional<double> KeyOf(int column, const ScanInfo& s) {
    switch (column) {
        case 0: return s.number;
        case 2: return s.msLevel > 0 ? std::optional<double>(s.msLevel) : std::nullopt;
        case 3: return s.retentionTime;
        case 4: return static_cast<double>(s.points);
        case 6: return s.lowMz;
        case 7: return s.highMz;
        case 8: return s.totalIonCurrent;
        default: return std::nullopt;
    }
}

}  // namespace

ScanChooser::ScanChooser(const ScanRequest& request, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ScanChooser"));
    setWindowTitle(QStringLiteral("Выбор спектра"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("В файле %1 спектров: %2. Выберите профильный спектр "
                                            "(центроидные, серые, обработать нельзя).")
                                 .arg(request.fileName)
                                 .arg(request.scans.size()),
                             this);
    label->setWordWrap(true);
    layout->addWidget(label);

    const std::vector<std::string> head = ScanTableHead();
    table_ = new QTableWidget(static_cast<int>(request.scans.size()), static_cast<int>(head.size()), this);
    table_->setObjectName(QStringLiteral("ScanTable"));
    QStringList heads;
    for (const std::string& h : head) heads << QString::fromStdString(h);
    table_->setHorizontalHeaderLabels(heads);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const ScanInfo& scan = request.scans[static_cast<std::size_t>(r)];
        const std::vector<std::string> cells = ScanTableRow(scan);
        for (int c = 0; c < table_->columnCount(); ++c) {
            auto* cell = new ScanCell(QString::fromStdString(cells[static_cast<std::size_t>(c)]), KeyOf(c, scan));
            if (!scan.fittable()) cell->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            table_->setItem(r, c, cell);
        }
    }
    table_->setSortingEnabled(true);
    table_->sortItems(0);
    table_->resizeColumnsToContents();
    layout->addWidget(table_);
    if (request.preselected > 0 && request.preselected <= table_->rowCount()) {
        table_->selectRow(request.preselected - 1);
        table_->scrollToItem(table_->item(request.preselected - 1, 0));
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Открыть"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(1100, 480);
}

int ScanChooser::chosenScan() const {
    const QList<QTableWidgetItem*> chosen = table_->selectedItems();
    if (chosen.isEmpty()) return 0;
    return table_->item(chosen.front()->row(), 0)->data(kSortKeyRole).toInt();
}

}  // namespace orvelo::ui
