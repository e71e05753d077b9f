#include "ui/secondary_windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace orvelo::ui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Пожалуйста, подождите..."));
    setGeometry(209, 215, 705, 63);
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setFormat(QStringLiteral("%p%"));
    Gauge1->setAlignment(Qt::AlignCenter);
    QFont font;
    font.setPixelSize(19);
    Gauge1->setFont(font);
    Gauge1->setStyleSheet(
        QStringLiteral("QProgressBar { border: 1px solid gray; background: white; text-align: center; }"
                       "QProgressBar::chunk { background: red; }"));
    StopButton = new QPushButton(QStringLiteral("Стоп"), this);
    StopButton->setObjectName(QStringLiteral("StopButton"));
    StopButton->setToolTip(QStringLiteral("Прервать обработку; подобранные пики не сохраняются"));
    connect(StopButton, &QPushButton::clicked, this, &ProgressWindow::stopRequested);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Gauge1, 1);
    layout->addWidget(StopButton);
}

void ProgressWindow::startCounting(int steps) {
    hide();
    Gauge1->setRange(0, std::max(steps, 1));
    Gauge1->setValue(0);
    StopButton->setEnabled(true);
    show();
}

void ProgressWindow::startBusy() {
    Gauge1->setRange(0, 0);
    StopButton->setEnabled(false);
    show();
}

void ProgressWindow::step() { Gauge1->setValue(Gauge1->value() + 1); }

void ProgressWindow::finish() {
    hide();
    if (Gauge1->maximum() == 0) Gauge1->setRange(0, 100);
    StopButton->setEnabled(true);
}

void ProgressWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    repaint();
}

ColumnChooser::ColumnChooser(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Выбор столбцов"));
    setGeometry(365, 137, 248, 515);
    setFixedSize(248, 515);
    const ResultRow& heads = ResultsTableHeads();
    QFont bold;
    bold.setPixelSize(16);
    bold.setBold(true);
    for (int n = 0; n < kResultColumns; ++n) {
        auto* box = new QCheckBox(QString::fromStdString(heads[static_cast<std::size_t>(n)]), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(n + 1));
        box->setFont(bold);
        box->setChecked(true);
        box->setGeometry(40, 16 + 32 * n, 150, 25);
        boxes[static_cast<std::size_t>(n)] = box;
    }
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(48, 424, 137, 41);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

std::array<bool, kResultColumns> ColumnChooser::choice() const {
    std::array<bool, kResultColumns> flags{};
    for (std::size_t n = 0; n < flags.size(); ++n) flags[n] = boxes[n]->isChecked();
    return flags;
}

QPixmap AboutPicture(int width, int height) {
    QPixmap picture(width, height);
    picture.fill(QColor(16, 24, 64));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const int base = height - 30;
    p.setPen(QPen(QColor(90, 110, 160), 1));
    p.drawLine(10, base, width - 10, base);
    // A few peaks of a mass spectrum, each a Gaussian line.
    const double peaks[][3] = {{0.18, 0.35, 5}, {0.32, 0.8, 4}, {0.45, 0.25, 3},
                               {0.58, 0.95, 5}, {0.72, 0.5, 4}, {0.86, 0.3, 3}};
    QPainterPath path(QPointF(10, base));
    for (int x = 10; x <= width - 10; ++x) {
        double f = double(x) / width, y = 0;
        for (const auto& pk : peaks) y += pk[1] * std::exp(-std::pow((f - pk[0]) * 100.0 / pk[2], 2.0));
        path.lineTo(x, base - y * (height - 80));
    }
    p.setPen(QPen(QColor(255, 80, 60), 2));
    p.drawPath(path);
    QFont font;
    font.setPixelSize(28);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(230, 230, 255));
    p.drawText(QRect(0, 12, width, 40), Qt::AlignCenter, QStringLiteral("m/z"));
    return picture;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе..."));
    setFixedSize(478, 346);
    QFont font;
    font.setPixelSize(11);
    setFont(font);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(8, 16, 217, 297);
    image->setPixmap(AboutPicture(217, 297));
    auto* name = new QLabel(QStringLiteral("Орвело"), this);
    name->setObjectName(QStringLiteral("Label1"));
    QFont big;
    big.setPixelSize(21);
    name->setFont(big);
    name->setStyleSheet(QStringLiteral("color: red;"));
    name->move(248, 32);
    name->adjustSize();
    auto* version = new QLabel(QStringLiteral("Версия: Orvelo 12"), this);
    version->setObjectName(QStringLiteral("Label8"));
    version->move(248, 56);
    version->adjustSize();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(287, 290, 77, 27);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace orvelo::ui
