#pragma once
// Which commands are available at each step of the work flow. Every enable/disable list of
// the program is here, one function per step, so the whole flow can be read in one place:
//
//   start            only loading (and the menus that need nothing)
//   spectrum loaded  + "Предварительная"
//   preliminary      "Предварительная" off; "Последняя" and ">>" on
//   final run        "Последняя" off; while it runs everything that would change the spectrum,
//                    the zones, the threshold or the results is locked (RunLock)
//   results          calibration list buttons, "Обработать", "Сохранить" on
#include <functional>
#include <vector>

#include "ui/pages.h"

class QAction;
class QMenu;
class QWidget;

namespace orvelo::ui {

class MainMenu;

void AtStartup(Pages& p);              // FormCreate, last step
void AfterClearAll(Pages& p);          // ClearAll, last step
void AfterSpectrumLoaded(Pages& p);
void AtPreliminaryStart(Pages& p);
void AfterPreliminary(Pages& p);
void AfterPreliminaryFailed(Pages& p);  // the operator may retry without loading again
void AtFinalRunStart(Pages& p);
void AfterFinalRun(Pages& p);
void AfterFinalRunFailed(Pages& p);     // "Последняя" again, with the same zones
void AfterSinglePeakChosen(Pages& p);   // ListBox8 click
void AfterSinglePeakFitted(Pages& p);   // Button16

// Calibration steps.
void AfterCalibrationListCleared(Pages& p);                           // "Очистить список"
void AfterCalibrationListComplete(Pages& p, bool line, bool parabola);  // "Создать кривую"
void AtCurveFitStart(Pages& p);                                       // "Подобрать ..." clicked
void AfterCurveFitted(Pages& p);
void AfterRecalculated(Pages& p);                                     // "Пересчитать данные"

// "Последние файлы" is on while "Открыть..." is and the list holds a file.
void SetRecentFilesAvailable(QMenu& recent, const MainMenu& menu, bool any);

// While a final run is in progress: the commands that change the spectrum, the zones, the
// threshold or the results are off. Unlocking restores exactly what locking switched off.
class RunLock {
public:
    void lock(Pages& p, MainMenu& menu);
    void unlock();
    bool locked() const { return locked_; }

private:
    bool locked_ = false;
    std::vector<std::function<void()>> restore_;  // puts back one command each
};

}  // namespace orvelo::ui
