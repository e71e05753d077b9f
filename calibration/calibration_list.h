#pragma once
// The calibration list of "Калибровочные массы" (ListBox6): chosen peaks, each paired with its
// true mass. A line is the peak's "Все массы" line, "43.0,  12345", and once a true mass is
// attached "43.0,  12345,  43.0184": the true mass is the text after the second comma, and the
// curve reads it back from the line text (TrailingNumber), so the line is the only record of it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvelo {

// Lines never grow beyond this many characters.
inline constexpr std::size_t kMaxCalibLineChars = 50;

inline constexpr const char* kPeakAlreadyTakenMessage = "Вы уже занесли этот пик";
inline constexpr const char* kNothingTypedMessage = "Вы ничего не ввели";
inline constexpr const char* kTrueMassTooLongMessage =
    "Истинная масса слишком длинная: строка списка не может быть длиннее 50 символов";
inline constexpr const char* kPeakLineTooLongMessage =
    "Строка пика слишком длинная: строка списка не может быть длиннее 50 символов";
inline constexpr const char* kTrueMassCharsMessage = "Истинная масса может содержать только цифры и точку";
inline constexpr const char* kStandardLineNoNumberMessage = "Строка стандартной массы не начинается с числа";

enum class ListOutcome {
    Changed,
    NoSelection,   // a list involved has no selection: nothing happens, silently
    AlreadyTaken,  // kPeakAlreadyTakenMessage
    NothingTyped,  // kNothingTypedMessage
    InvalidText,   // kTrueMassCharsMessage or kStandardLineNoNumberMessage
    LineTooLong,   // kTrueMassTooLongMessage or kPeakLineTooLongMessage
};

// What a list command did; `message` is the text to show, empty when there is none.
struct ListChange {
    ListOutcome outcome = ListOutcome::Changed;
    std::string message;

    bool changed() const { return outcome == ListOutcome::Changed; }
};

// If the line holds exactly two commas, cut it at the last comma and return true.
bool StripTrueMass(std::string& line);
// The number before the first comma (the whole line without a comma); nothing if not a number.
std::optional<double> LeadingNumber(std::string_view line);
// The text after the last blank (the whole line without a blank), and its number.
std::string_view TrailingText(std::string_view line);
std::optional<double> TrailingNumber(std::string_view line);
// The key filter of the entry field: digits and the point (backspace is the field's own).
bool IsTrueMassChar(char c);

// Indices are line indices; -1 (or any index out of range) means "no selection".
class CalibrationList {
public:
    // Button1Click: take peak `peak` (a line index of "Все массы", whose lines are given) into
    // the list at its place in peak order.
    ListChange TakePeak(int peak, const std::vector<std::string>& allMassLines);
    // Button3Click.
    ListChange RemoveLine(int line);
    // Button2Click: attach the typed text as the true mass of `line` (replacing one it has).
    ListChange AttachTypedMass(int line, std::string_view typed);
    // Button8Click: attach the mass of the selected "Стандартные массы" line.
    ListChange AttachStandardMass(int line, const std::vector<std::string>& standardLines, int standard);
    // Button14Click and the window's reset.
    void clear();

    // ShowIndex: "i,  CalibIndex[i]" per line, for the hidden diagnostics list ListBox7.
    std::vector<std::string> ShowIndexLines() const;

    const std::vector<std::string>& lines() const { return lines_; }
    const std::vector<int>& CalibIndex() const { return calibIndex_; }
    int CalibCount() const { return static_cast<int>(lines_.size()); }
    int TrueMassCount() const { return trueMassCount_; }
    bool AllTrueMassesGiven() const { return TrueMassCount() == CalibCount(); }

private:
    bool HasLine(int line) const { return line >= 0 && line < CalibCount(); }
    ListChange AttachTrueMassText(int line, const std::string& text, const char* tooLongMessage);

    std::vector<std::string> lines_;
    std::vector<int> calibIndex_;  // ascending peak numbers; entry i belongs to line i
    int trueMassCount_ = 0;
};

}  // namespace orvelo
