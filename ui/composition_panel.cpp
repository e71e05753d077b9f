#include "ui/composition_panel.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/number_text.h"
#include "session/session.h"
#include "ui/settings_store.h"

namespace orvelo::ui {
namespace {

const QString kRangesKey = QStringLiteral("composition/ranges");
const QString kPpmKey = QStringLiteral("composition/ppm");
const QString kChargeKey = QStringLiteral("composition/charge");

QFont PixelFont(int pixelSize, bool bold = false) {
    QFont f;
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QLabel* MakeLine(QWidget* parent, const char* name, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

// "CH" or "CF": the family of a reference ion's name ("C 4 H 9", "C 2 F 4").
QString FamilyOf(const std::string& name) {
    return name.find('F') != std::string::npos ? QStringLiteral("CF") : QStringLiteral("CH");
}

std::optional<double> PositiveNumber(const QString& text) {
    const std::optional<double> v = ParseNumber(text.trimmed().toStdString());
    if (!v || !std::isfinite(*v) || *v <= 0) return std::nullopt;
    return v;
}

}  // namespace

CompositionPanel::CompositionPanel(Session& session, SettingsStore& settings, QWidget* parent)
    : QWidget(parent), session_(session), store_(settings) {
    setObjectName(QStringLiteral("CompositionPanel"));
    setFont(PixelFont(12));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 2, 4);

    auto* title = new QLabel(QStringLiteral("Состав иона"), this);
    title->setObjectName(QStringLiteral("CompositionTitle"));
    title->setFont(PixelFont(16, true));
    QPalette green = title->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    title->setPalette(green);
    layout->addWidget(title);

    ranges_ = new QLineEdit(store_.value(kRangesKey, QString::fromLatin1(kDefaultElementRanges)).toString(), this);
    ranges_->setObjectName(QStringLiteral("CompositionRanges"));
    ranges_->setCursorPosition(0);
    ranges_->setToolTip(
        QStringLiteral("Элементы и их числа в формуле: C0-60H0-120N0-6 ... (одно число: ровно столько)"));
    ppm_ = new QLineEdit(store_.value(kPpmKey, QString::fromStdString(FormatGeneral(kDefaultTolerancePpm))).toString(),
                         this);
    ppm_->setObjectName(QStringLiteral("CompositionPpm"));
    ppm_->setToolTip(QStringLiteral("Наименьшая погрешность массы, ppm: больше, если у пика больше своя ошибка"));
    charge_ = new QComboBox(this);
    charge_->setObjectName(QStringLiteral("CompositionCharge"));
    charge_->addItems({QStringLiteral("авто"), QStringLiteral("1"), QStringLiteral("2")});
    charge_->setCurrentIndex(qBound(0, store_.value(kChargeKey, 0).toInt(), 2));
    layout->addWidget(new QLabel(QStringLiteral("Элементы и их числа:"), this));
    layout->addWidget(ranges_);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Допуск, ppm:"), this));
    row->addWidget(ppm_, 1);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("Заряд:"), this));
    row->addWidget(charge_, 1);
    layout->addLayout(row);

    peakLine_ = MakeLine(this, "CompositionPeak", Qt::black);
    message_ = MakeLine(this, "CompositionMessage", QColor(192, 0, 0));
    reference_ = MakeLine(this, "CompositionReference", QColor(0, 0, 160));
    reference_->setFont(PixelFont(12, true));
    layout->addWidget(peakLine_);
    layout->addWidget(message_);
    layout->addWidget(reference_);

    candidates_ = new QTableWidget(0, kCandidateColumns, this);
    candidates_->setObjectName(QStringLiteral("CompositionCandidates"));
    candidates_->setFont(PixelFont(11));  // seven columns in the panel's width
    candidates_->horizontalHeader()->setFont(PixelFont(11));
    candidates_->verticalHeader()->hide();
    candidates_->verticalHeader()->setDefaultSectionSize(20);
    candidates_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    candidates_->setSelectionBehavior(QAbstractItemView::SelectRows);
    candidates_->setSelectionMode(QAbstractItemView::SingleSelection);
    candidates_->horizontalHeader()->setHighlightSections(false);
    candidates_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    candidates_->horizontalHeader()->setSectionResizeMode(kCandidateColumns - 1, QHeaderView::Stretch);
    candidates_->horizontalHeader()->setMinimumSectionSize(24);
    QStringList heads;
    for (const char* head : kCandidateHeads) heads << QString::fromUtf8(head);
    candidates_->setHorizontalHeaderLabels(heads);
    const char* const tips[kCandidateColumns] = {
        "Формула иона (порядок Хилла) с зарядом; двойной щелчок копирует её",
        "Измеренная масса минус масса иона, mmu",
        "Измеренная масса минус масса иона, ppm",
        "Отклонение в единицах ошибки массы пика (не меньше допуска)",
        "Число колец и двойных связей: целое у ион-радикала, полуцелое у иона с чётным числом электронов",
        "Согласие изотопных пиков M+1 и M+2 с найденными пиками: 0 - согласны, меньше - хуже",
        "Общая оценка: 0 - лучшая, меньше - хуже"};
    for (int c = 0; c < kCandidateColumns; ++c)
        candidates_->horizontalHeaderItem(c)->setToolTip(QString::fromUtf8(tips[c]));
    layout->addWidget(candidates_, 1);
    hint_ = MakeLine(this, "CompositionHint", QColor(96, 96, 96));
    layout->addWidget(hint_);

    connect(ranges_, &QLineEdit::editingFinished, this, &CompositionPanel::acceptSettings);
    connect(ppm_, &QLineEdit::editingFinished, this, &CompositionPanel::acceptSettings);
    connect(charge_, &QComboBox::currentIndexChanged, this, &CompositionPanel::acceptSettings);
    connect(candidates_, &QTableWidget::cellDoubleClicked, this, [this](int r, int) { copyFormula(r); });
    refresh();
}

CompositionSettings CompositionPanel::settings() const {
    CompositionSettings s;
    s.ranges = ranges_->text().trimmed().toStdString();
    s.tolerancePpm = PositiveNumber(ppm_->text()).value_or(std::nan(""));
    s.charge = charge_->currentIndex();
    return s;
}

QString CompositionPanel::message() const { return message_->text(); }
QString CompositionPanel::referenceLine() const { return reference_->text(); }
int CompositionPanel::candidateCount() const { return candidates_->rowCount(); }

QString CompositionPanel::candidateCell(int row, int column) const {
    const QTableWidgetItem* item = candidates_->item(row, column);
    return item ? item->text() : QString();
}

void CompositionPanel::showPeak(int peak) {
    peak_ = peak;
    refresh();
}

// Only accepted values are remembered; a refused one shows its message and stays in its field.
void CompositionPanel::acceptSettings() {
    const CompositionSettings s = settings();
    if (ParseElementRanges(s.ranges).ok()) store_.setValue(kRangesKey, Text(s.ranges));
    if (std::isfinite(s.tolerancePpm)) store_.setValue(kPpmKey, ppm_->text().trimmed());
    store_.setValue(kChargeKey, charge_->currentIndex());
    refresh();
}

void CompositionPanel::refresh() {
    candidates_->setRowCount(0);
    peakLine_->clear();
    message_->clear();
    reference_->clear();
    hint_->setText(QStringLiteral("Двойной щелчок по строке копирует формулу"));
    const CompositionSettings s = settings();
    if (peak_ < 0) {  // the settings are still checked; with a peak the search checks them
        const ElementRangesParse read = ReadCompositionSettings(s);
        if (read.ok())
            peakLine_->setText(QStringLiteral("Выберите строку таблицы: здесь появятся формулы иона её пика"));
        else message_->setText(Text(read.message));
        showLines();
        return;
    }
    const CompositionRun run = session_.FindFormulas(static_cast<std::size_t>(peak_), s);
    if (!run.ok()) {
        message_->setText(Text(run.message));
        showLines();
        return;
    }
    const PeakComposition& pc = run.peaks.front();
    const PeakResult& p = session_.state().run.peaks[pc.peak];
    peakLine_->setText(QStringLiteral("Пик %1: m/z = %2, σ = %3 mmu, заряд %4+, формул в окне: %5")
                           .arg(peak_ + 1)
                           .arg(Text(FormatFixed(p.Centre, 5)), Text(FormatFixed(pc.sigma * 1000, 3)))
                           .arg(pc.charge)
                           .arg(pc.found));
    message_->setText(Text(pc.message));
    candidates_->setRowCount(static_cast<int>(pc.candidates.size()));
    QStringList references;
    for (int r = 0; r < candidates_->rowCount(); ++r) {
        const Candidate& c = pc.candidates[static_cast<std::size_t>(r)];
        const auto texts = CandidateTexts(c);
        const QString formula = Text(texts[0]);
        QString why;
        if (!c.reference.empty()) {
            why = QStringLiteral("опорный ион %1 калибровки").arg(FamilyOf(c.reference));
            references << formula + QStringLiteral(" — ") + why;
        }
        for (int col = 0; col < kCandidateColumns; ++col) {
            auto* item = new QTableWidgetItem(Text(texts[static_cast<std::size_t>(col)]));
            if (col > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!why.isEmpty()) {
                item->setFont(PixelFont(11, true));
                item->setBackground(QColor(215, 230, 255));
                item->setToolTip(why);
            }
            candidates_->setItem(r, col, item);
        }
    }
    reference_->setText(references.join(QLatin1Char('\n')));
    showLines();
}

// A line without text takes no room.
void CompositionPanel::showLines() {
    for (QLabel* line : {peakLine_, message_, reference_}) line->setVisible(!line->text().isEmpty());
}

void CompositionPanel::copyFormula(int row) {
    const QString formula = candidateCell(row, 0);
    if (formula.isEmpty()) return;
    QGuiApplication::clipboard()->setText(formula);
    hint_->setText(QStringLiteral("Скопировано: %1").arg(formula));
}

}  // namespace orvelo::ui
