#include "ui/chart_export.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QRadioButton>
#include <QSpinBox>

#include "core/errors.h"
#include "core/text_file.h"
#include "ui/chart_surface.h"
#include "ui/dialogs.h"
#include "ui/report_commands.h"

namespace orvelo::ui {
namespace {

const QByteArray kFormats[] = {"PNG", "SVG", "PDF", "BMP"};

}  // namespace

QByteArray ImageFormatFor(const QString& name, const QString& chosenType) {
    const QByteArray suffix = QFileInfo(name).suffix().toUpper().toLatin1();
    for (const QByteArray& f : kFormats)
        if (suffix == f) return f;
    const QByteArray chosen = chosenType.section(QLatin1Char(' '), 0, 0).toUpper().toLatin1();
    for (const QByteArray& f : kFormats)
        if (chosen == f) return f;
    return "BMP";
}

void SaveChartImage(ChartSurface& chart, const QString& name, const QByteArray& format, QSize size) {
    const QByteArray bytes = chart.render(format, size);
    if (bytes.isEmpty()) throw OrveloError("Не удалось нарисовать файл \"" + name.toStdString() + "\"");
    WriteFileAtomically(name.toStdString(), bytes.toStdString());
}

std::optional<QSize> AskImageSize(QWidget* parent, QSize onScreen) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Размер рисунка"));
    auto* form = new QFormLayout(&dialog);
    auto* asShown =
        new QRadioButton(QStringLiteral("Как на экране: %1 × %2").arg(onScreen.width()).arg(onScreen.height()));
    auto* other = new QRadioButton(QStringLiteral("Другой размер (пиксели):"));
    asShown->setChecked(true);
    auto* width = new QSpinBox;
    auto* height = new QSpinBox;
    for (QSpinBox* box : {width, height}) {
        box->setRange(50, 10000);
        box->setEnabled(false);
        QObject::connect(other, &QRadioButton::toggled, box, &QWidget::setEnabled);
    }
    width->setValue(onScreen.width());
    height->setValue(onScreen.height());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(asShown);
    form->addRow(other);
    form->addRow(QStringLiteral("Ширина"), width);
    form->addRow(QStringLiteral("Высота"), height);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return asShown->isChecked() ? onScreen : QSize(width->value(), height->value());
}

ChartImageCommands::ChartImageCommands(CommandContext& context) : QObject(context.window), c_(context) {}

void ChartImageCommands::saveImage(ChartSurface& chart, const char* title, const char* proposedName) {
    c_.run([&] {
        LayOutLikeShown(chart);
        const auto size = c_.files.imageSize(chart.size());
        if (!size) return;
        const auto name = c_.files.saveFile({QString::fromUtf8(title), QString::fromUtf8(proposedName),
                                             CommandContext::programFolder(), QString::fromUtf8(kImageFilter)});
        if (!name) return;
        SaveChartImage(chart, *name, ImageFormatFor(*name, c_.files.chosenType()), *size);
    });
}

}  // namespace orvelo::ui
