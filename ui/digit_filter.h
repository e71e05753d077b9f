#pragma once
// Key filter of the manual mass entry (Edit1): a typed character is dropped unless it is a
// digit, the point or backspace. Only single characters are checked, so "1.2.3" can be typed;
// pasted or programmatic text is not filtered.
#include <QObject>

namespace orvelo::ui {

class DigitFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The rule itself: true when the typed text may reach the field.
bool DigitFilterAccepts(const QString& typed);

}  // namespace orvelo::ui
