#include "ui/digit_filter.h"

#include <QKeyEvent>

namespace orvelo::ui {

bool DigitFilterAccepts(const QString& typed) {
    // Keys without printable text (backspace, delete, arrows, shortcuts) always pass.
    if (typed.isEmpty() || !typed.at(0).isPrint()) return true;
    for (QChar c : typed)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.'))) return false;
    return true;
}

bool DigitFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!DigitFilterAccepts(key->text())) return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace orvelo::ui
