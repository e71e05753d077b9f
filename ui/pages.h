#pragma once
// The nine pages of PageControl1, in order, as the commands reach them.
namespace orvelo::ui {

class PageSpectrum;
class PageInfo;
class PageSettings;
class PageCalibrationMasses;
class PageCalibrationCurve;
class PageTheory;
class PageSinglePeak;
class PageTesting;

struct Pages {
    PageSpectrum* spectrum = nullptr;                   // TabSheet1 "Спектр"
    PageInfo* info = nullptr;                           // TabSheet2 "Информация"
    PageSettings* settings = nullptr;                   // TabSheet3 "Настройка"
    PageCalibrationMasses* calibrationMasses = nullptr; // TabSheet4 "Калибровочные массы"
    PageCalibrationCurve* calibrationCurve = nullptr;   // TabSheet5 "Калибровочная кривая"
    PageTheory* theoryCH = nullptr;                     // TabSheet6 "Теория CH"
    PageTheory* theoryCF = nullptr;                     // TabSheet7 "Теория CF"
    PageSinglePeak* singlePeak = nullptr;               // TabSheet8 "Отдельный пик"
    PageTesting* testing = nullptr;                     // TabSheet9 "Тестирование"
};

}  // namespace orvelo::ui
