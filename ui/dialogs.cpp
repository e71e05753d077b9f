#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <exception>
#include <QStringList>

#include "ui/scan_chooser.h"
#include "ui/chart_export.h"

namespace orvelo::ui {

QString QtFilterFromProgramFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << p;
            // Windows matched "*.TXT" whatever the case; here both spellings are listed.
            if (p.toLower() != p) patterns << p.toLower();
        }
        entries << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString ErrorText(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.')) return text + QLatin1Char('.');
    return text;
}

QString DisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QtFileDialogs::~QtFileDialogs() = default;  // the dialogs are children of the window

std::optional<QString> QtFileDialogs::run(QFileDialog*& dialog, bool save, const FileRequest& request) {
    if (!dialog) {
        dialog = new QFileDialog(parent_);
        // Saving over an existing file asks first (the dialog's own overwrite question).
        dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
        dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog->setDefaultSuffix(QString());
    }
    dialog->setWindowTitle(request.title);
    dialog->setNameFilter(QString());
    dialog->setNameFilters(QtFilterFromProgramFilter(request.filter).split(QStringLiteral(";;")));
    if (!request.startFolder.isEmpty()) dialog->setDirectory(request.startFolder);
    if (save) dialog->selectFile(request.proposedName);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.front();
}

std::optional<QString> QtFileDialogs::openFile(const FileRequest& request) { return run(openDialog_, false, request); }

std::optional<QString> QtFileDialogs::saveFile(const FileRequest& request) { return run(saveDialog_, true, request); }

std::optional<int> QtFileDialogs::chooseScan(const ScanRequest& request) {
    ScanChooser chooser(request, parent_);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.chosenScan();
}

QString QtFileDialogs::chosenType() const { return saveDialog_ ? saveDialog_->selectedNameFilter() : QString(); }

std::optional<QSize> QtFileDialogs::imageSize(QSize onScreen) { return AskImageSize(parent_, onScreen); }

void QtMessageBoxes::info(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Орвело"), DisplayText(text), QMessageBox::Ok, parent_);
    box.exec();
}

void QtMessageBoxes::error(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Орвело"), DisplayText(ErrorText(text)), QMessageBox::Ok,
                    parent_);
    box.exec();
}

MessageBoxes::Answer QtMessageBoxes::question(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Орвело"), DisplayText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
    }
}

// A failure inside the painting is kept and raised again once the preview has closed, so it
// ends the command like any other error.
void QtMessageBoxes::printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog preview(&printer, parent_);
    preview.setWindowTitle(QStringLiteral("Печать"));
    std::exception_ptr failure;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* p) {
        try {
            paint(*p);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    preview.exec();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace orvelo::ui
