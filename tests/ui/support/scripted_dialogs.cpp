#include "ui/support/scripted_dialogs.h"

namespace orvelo::ui::testing {

std::optional<QString> ScriptedFileDialogs::answer(bool save, const FileRequest& request) {
    requests.push_back({save, request});
    if (answers.empty()) return std::nullopt;
    std::optional<QString> a = std::move(answers.front());
    answers.pop_front();
    return a;
}

}  // namespace orvelo::ui::testing
