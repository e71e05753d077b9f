#pragma once
// The guidance messages that end the main steps while "Подсказка" is on. '\r' is the line
// break of the program's messages.
namespace orvelo::ui {

inline constexpr const char* kAfterLoadGuidance =
    "Перейдите на вкладку \"Настройка\"\r\r"
    "Задайте значение для KolUsred (кол-во усреднений):\r"
    "для одиночных пиков => 150\r"
    "для двойных пиков => 10\r\r"
    "и нажмите на кнопку \"Предварительная\"\r";

inline constexpr const char* kAfterPreliminaryGuidance =
    "Теперь из списка надо выбирать пик и смотреть помеховый он или нет\r\r"
    "Как только встретится первый по Вашему мнению не помеховый пик\r"
    "надо ввести его высоту (первое число в строке) в окно \"Первый не помеховый пик\"\r"
    "путём нажатия кнопки \">>\"\r\r"
    "Далее следует нажать кнопку \"Последняя\"\r";

// Asked before a spectrum changed by "Пересчитать данные" and not saved would be given up.
inline constexpr const char* kUnsavedSpectrumQuestion = "Спектр изменён пересчётом масс и не сохранён.\rСохранить его?";

// Shown after the preliminary run when the guidance is off.
inline constexpr const char* kPreliminaryDoneMessage = "Пересчёт произведён";

inline constexpr const char* kAfterFinalRunGuidance =
    "Последняя обработка завершена.\r\r"
    "Кол-во проблемных пиков\r"
    "Вы можете узнать на вкладке \"Тестирование\".\r";

}  // namespace orvelo::ui
