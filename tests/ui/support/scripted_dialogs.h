#pragma once
// Test doubles of the window's modal helpers: file dialogs answered from a script, message
// boxes recorded instead of shown.
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "ui/dialogs.h"

namespace orvelo::ui::testing {

class ScriptedFileDialogs : public FileDialogs {
public:
    struct Request {
        bool save = false;
        FileRequest request;
    };
    // The next dialogs' answers, in order; a null QString, or nothing queued, means "cancel".
    std::deque<QString> answers;
    std::vector<Request> requests;

    std::optional<QString> openFile(const FileRequest& request) override { return answer(false, request); }
    std::optional<QString> saveFile(const FileRequest& request) override { return answer(true, request); }
    // The file type "chosen" in every save dialog, and the answer of the picture size dialog
    // (nothing: the on-screen size it is offered; cancelSize: cancelled).
    QString chosen;
    std::optional<QSize> pictureSize;
    bool cancelSize = false;
    QString chosenType() const override { return chosen; }
    std::optional<QSize> imageSize(QSize onScreen) override {
        if (cancelSize) return std::nullopt;
        return pictureSize ? pictureSize : onScreen;
    }

    // The scan chooser's answers: a number, or 0 for "cancel"; with nothing queued the
    // preselected scan is taken.
    std::deque<int> scanAnswers;
    std::vector<ScanRequest> scanRequests;
    std::optional<int> chooseScan(const ScanRequest& request) override;

private:
    std::optional<QString> answer(bool save, const FileRequest& request);
};

class RecordingMessageBoxes : public MessageBoxes {
public:
    QStringList infos;
    QStringList errors;  // as shown, full stop included
    QStringList questions;
    std::deque<Answer> answers;  // the next questions' answers; nothing queued answers No
    int previews = 0;            // print previews; each prints at once
    void printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override {
        ++previews;
        MessageBoxes::printPreview(printer, paint);
    }
    void info(const QString& text) override { infos << text; }
    void error(const QString& text) override { errors << ErrorText(text); }
    Answer question(const QString& text) override {
        questions << text;
        if (answers.empty()) return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void clear() {
        infos.clear();
        errors.clear();
        questions.clear();
    }
};

}  // namespace orvelo::ui::testing
