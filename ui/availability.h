#pragma once
// Which commands are available, as a function of the session's state and the window's flags:
// the one home of every enable/disable rule of the window. After every command the window
// computes the table and shows it; no command switches a control itself. The flow it yields:
//
//   start            only loading (and the menus that need nothing)
//   spectrum loaded  + "Предварительная" (until its run has listed the zones)
//   zones listed     "Последняя" (until a final run is adopted), ">>" and "Авто", until the next load
//   results          the calibration list buttons (until the list is complete), "Очистить
//                    список", "Создать кривую", "Обработать" and "Сохранить" of "Отдельный пик"
//   points created   "Подобрать линию" / "Подобрать параболу" (until a curve is fitted to them)
//   curve fitted     "Пересчитать данные" (until it is applied or the results go)
//   a run in progress (the preliminary run on its worker, the final run): everything that would
//                    change the spectrum, the zones, the threshold or the results is off
#include "session/session.h"
#include "ui/pages.h"
#include "ui/window_state.h"

class QMenu;

namespace orvelo::ui {

class MainMenu;

struct Availability {
    // "Настройка"
    bool preliminary = false;  // Button9
    bool finalRun = false;     // Button13
    bool takeHeight = false;   // BitBtn1
    bool autoHeight = false;   // "Авто"
    bool zoneList = true;      // ListBox1
    // "Калибровочные массы"
    bool listEdits = false;  // ">>", "<<", the two "<<" of the true masses, "Подобрать автоматически"
    bool clearList = false;    // "Очистить список"
    bool createCurve = false;  // "Создать кривую"
    // "Калибровочная кривая"
    bool fitLine = false;
    bool fitParabola = false;
    bool recalculate = false;
    // "Отдельный пик"
    bool fitPeak = false;   // Button16
    bool savePeak = false;  // Button17
    bool peakList = true;   // ListBox8
    // "Файл": "Открыть..." and "Папки"
    bool open = true;
};

// `preliminaryRunning`: a preliminary run on its worker is in progress.
Availability AvailableCommands(const SessionState& session, const WindowState& window, bool preliminaryRunning);
void ShowAvailability(const Availability& a, Pages& p, MainMenu& menu);

// "Последние файлы" is on while "Открыть..." is and the list holds a file.
void SetRecentFilesAvailable(QMenu& recent, const MainMenu& menu, bool any);

}  // namespace orvelo::ui
