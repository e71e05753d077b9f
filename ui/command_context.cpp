#include "ui/command_context.h"

#include <QCoreApplication>
#include <optional>

#include "core/errors.h"
#include "ui/dialogs.h"

namespace orvelo::ui {

void CommandContext::run(const std::function<void()>& command) {
    std::optional<QString> failure;
    try {
        command();
    } catch (const OrveloError& e) {
        failure = QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        failure = QString::fromStdString(ErrorMessage(e));
    }
    showAvailability();
    if (failure) messages.error(*failure);
}

void CommandContext::guidance(const char* text) {
    if (flags.Podskazka) messages.info(QString::fromUtf8(text));
}

void CommandContext::info(const QString& text) { messages.info(text); }

QString CommandContext::programFolder() { return QCoreApplication::applicationDirPath(); }

}  // namespace orvelo::ui
