#pragma once
// The nine pages of PageControl1, in order, as the commands reach them.
namespace orvelo::ui {

// What a display reset empties: everything for a new spectrum (also after the masses are
// recalculated), the run's displays for a preliminary run, and for the start of the final run
// everything but the zone chart.
enum class ClearMode { NewSpectrum = 0, Preliminary = 1, FinalRun = 2 };

class PageSpectrum;
class PageInfo;
class PageSettings;
class PageCalibrationMasses;
class PageCalibrationCurve;
class PageTheory;
class PageSinglePeak;
class PageTesting;

struct Pages {
    PageSpectrum* spectrum = nullptr;                    // TabSheet1 "Спектр"
    PageInfo* info = nullptr;                            // TabSheet2 "Информация"
    PageSettings* settings = nullptr;                    // TabSheet3 "Настройка"
    PageCalibrationMasses* calibrationMasses = nullptr;  // TabSheet4 "Калибровочные массы"
    PageCalibrationCurve* calibrationCurve = nullptr;    // TabSheet5 "Калибровочная кривая"
    PageTheory* theoryCH = nullptr;                      // TabSheet6 "Теория CH"
    PageTheory* theoryCF = nullptr;                      // TabSheet7 "Теория CF"
    PageSinglePeak* singlePeak = nullptr;                // TabSheet8 "Отдельный пик"
    PageTesting* testing = nullptr;                      // TabSheet9 "Тестирование"
};

}  // namespace orvelo::ui
