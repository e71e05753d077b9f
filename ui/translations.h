#pragma once
// The toolkit's own Russian texts (file dialogs and their buttons, the context menus of text
// fields, the buttons of message boxes), so that the whole window speaks Russian.
class QCoreApplication;

namespace orvelo::ui {

// Installs qtbase_ru from the toolkit's translations folder; false when it is not there (the
// window then keeps the toolkit's English texts).
bool InstallToolkitTranslations(QCoreApplication& app);

}  // namespace orvelo::ui
