#include "ui/support/scripted_dialogs.h"

namespace orvelo::ui::testing {

std::optional<QString> ScriptedFileDialogs::answer(bool save, const FileRequest& request) {
    requests.push_back({save, request});
    if (answers.empty()) return std::nullopt;
    const QString a = answers.front();
    answers.pop_front();
    if (a.isNull()) return std::nullopt;
    return a;
}

std::optional<int> ScriptedFileDialogs::chooseScan(const ScanRequest& request) {
    scanRequests.push_back(request);
    if (scanAnswers.empty()) return request.preselected;
    const int a = scanAnswers.front();
    scanAnswers.pop_front();
    if (a == 0) return std::nullopt;
    return a;
}

}  // namespace orvelo::ui::testing
