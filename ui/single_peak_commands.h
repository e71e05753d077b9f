#pragma once
// Single-peak processing ("Отдельный пик"): choose a peak of the last final run in ListBox8,
// fit it again with the iteration log in ListBox9 ("Обработать"), save its samples
// ("Сохранить", WriteOtdelPik).
#include <QObject>

#include "ui/command_context.h"

namespace orvelo {
struct SinglePeakFit;
}

namespace orvelo::ui {

class SinglePeakCommands : public QObject {
    Q_OBJECT
public:
    explicit SinglePeakCommands(CommandContext& context);

    void ListBox8Click();
    void Button16Click();
    void Button17Click();

private:
    void fitChosenPeak();
    void saveChosenPeak();
    void showFit(const SinglePeakFit& fit);

    CommandContext& c_;
};

}  // namespace orvelo::ui
