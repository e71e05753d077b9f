#pragma once
// Single-peak processing on page "Отдельный пик": choose a peak of the last final run in
// ListBox8, fit it again with the iteration log in ListBox9 ("Обработать"), save its samples
// ("Сохранить", WriteOtdelPik).
#include <QObject>
#include <string>
#include <vector>

#include "ui/command_context.h"

namespace orvelo {
struct SinglePeakFit;
}

namespace orvelo::ui {

class PageSinglePeak;

class SinglePeakCommands : public QObject {
    Q_OBJECT
public:
    SinglePeakCommands(CommandContext& context, PageSinglePeak& page);

    void ListBox8Click();
    void Button16Click();
    void Button17Click();
    // "Все массы" of the page: the mass lines of the last final run, filled anew (the end of a
    // run, "Очистить список").
    void showPeaks(const std::vector<std::string>& massLines);

signals:
    // The problem lines of a fit, for "Проблемные пики" on "Тестирование".
    void problemLines(const std::vector<std::string>& lines);

private:
    void fitChosenPeak();
    void saveChosenPeak();
    void showFit(const SinglePeakFit& fit);

    CommandContext& c_;
    PageSinglePeak& page_;
};

}  // namespace orvelo::ui
