#pragma once
// The pages "Калибровочные массы" and "Калибровочная кривая": pairing fitted peaks with true
// masses (">>", "<<", manual entry, standard masses, "Очистить список"), "Создать кривую",
// the line or parabola through the calibration points and "Пересчитать данные". The list, the
// points and the curve are the core's (calibration/); this group shows them and keeps the
// buttons in step with the work flow (List open -> Points created -> Curve fitted -> Applied).
#include <QObject>
#include <string>
#include <vector>

#include "calibration/after_final_run.h"
#include "calibration/calibration_workflow.h"
#include "ui/command_context.h"

namespace orvelo::ui {

class PageCalibrationCurve;
class PageCalibrationMasses;

class CalibrationCommands : public QObject {
    Q_OBJECT
public:
    CalibrationCommands(CommandContext& context, PageCalibrationMasses& masses, PageCalibrationCurve& curve);

    // Each runs inside the command wrapper; the main window connects them to the pages' requests.
    void Button1Click();   // ">>": take the selected peak
    void Button3Click();   // "<<": remove the selected calibration line
    void Button2Click();   // "<<" of "Ввод вручную"
    void Button8Click();   // "<<" of "Стандартные массы"
    void Button14Click();  // "Очистить список"
    void Button15Click();  // "Создать кривую"
    void Button6Click();   // "Подобрать линию"
    void Button4Click();   // "Подобрать параболу"
    void Button5Click();   // "Пересчитать данные"
    // "Стандартные массы" from the reference tables, the family and the check boxes.
    void ReFill();
    // "Все массы" from the masses assigned to the peaks of a final run.
    void showAssignment(const MassAssignment& assigned);

signals:
    // "Очистить список" filled the mass lists again from the last final run.
    void massListsRefilled(const std::vector<std::string>& massLines);
    // "Пересчитать данные" moved the masses of stage 0: the results are gone.
    void recalculated();

private:
    // ListBox6 from the calibration list, line `selectRow` chosen (-1: none).
    void showCalibList(int selectRow);
    void showOutcome(const ListChange& change, int selectRow);
    void ProverkaZapol();
    void fitCurve(bool parabola);
    void recalculate();
    void refillMassLists();

    CommandContext& c_;
    PageCalibrationMasses& masses_;
    PageCalibrationCurve& curve_;
};

}  // namespace orvelo::ui
