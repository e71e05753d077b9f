#include "ui/calibration_check_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace orvelo::ui {
namespace {

constexpr int kViewWidth = 400;

QLabel* AddLabel(QFrame* frame, QVBoxLayout* layout, const char* name, bool bold) {
    auto* label = new QLabel(frame);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPixelSize(14);
    font.setBold(bold);
    label->setFont(font);
    layout->addWidget(label);
    return label;
}

}  // namespace

CalibrationCheckView::CalibrationCheckView(QWidget* page, QWidget* chart) : QFrame(page), chart_(chart) {
    setObjectName(QStringLiteral("CalibrationCheck"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    LabelCurve = AddLabel(this, layout, "LabelCurve", true);
    LabelEquation = AddLabel(this, layout, "LabelEquation", false);
    TableCheck = new QTableWidget(0, 4, this);
    TableCheck->setObjectName(QStringLiteral("TableCheck"));
    QStringList heads;
    for (const char* head : kCheckHeads) heads << QString::fromUtf8(head);
    TableCheck->setHorizontalHeaderLabels(heads);
    TableCheck->verticalHeader()->hide();
    TableCheck->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableCheck->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TableCheck->verticalHeader()->setDefaultSectionSize(20);
    layout->addWidget(TableCheck, 1);
    LabelRms = AddLabel(this, layout, "LabelRms", true);
    hide();
}

void CalibrationCheckView::showCheck(const CalibrationCheck& check, CurveKind kind) {
    LabelCurve->setText(QStringLiteral("Калибровочная кривая: ") + QString::fromUtf8(CurveKindName(kind)));
    LabelEquation->setText(QString::fromStdString(check.equation));
    TableCheck->setRowCount(static_cast<int>(check.rows.size()));
    for (std::size_t r = 0; r < check.rows.size(); ++r) {
        const std::vector<std::string> cells = CheckRowCells(check.rows[r]);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            TableCheck->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    LabelRms->setText(QString::fromStdString(CheckRmsLine(check)));
    show();
    place();
}

void CalibrationCheckView::clear() {
    TableCheck->setRowCount(0);
    for (QLabel* l : {LabelCurve, LabelEquation, LabelRms}) l->clear();
    if (isHidden()) return;
    hide();
    chart_->resize(parentWidget()->width(), chart_->height());  // the layout rule's full width
}

void CalibrationCheckView::place() {
    if (isHidden()) return;
    const QWidget* page = parentWidget();
    const int width = std::min(kViewWidth, page->width() / 2);
    setGeometry(page->width() - width, chart_->y(), width, chart_->height());
    chart_->resize(std::max(page->width() - width, 0), chart_->height());
}

}  // namespace orvelo::ui
