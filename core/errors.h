#pragma once
// The one exception type of the program. Its text is shown to the operator as it stands
// (the window adds the final full stop where the text needs one), so it is always a
// complete, human-readable message.
#include <stdexcept>
#include <string>

namespace orvelo {

class OrveloError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The fixed texts the program reports for its expected failures.
inline constexpr const char* kRangeCheckError = "Range check error";
// The reader's two range errors keep the program's text and say the cause in plain words.
inline constexpr const char* kNumberTooLongError = "Range check error: число длиннее 21 знака";
inline constexpr const char* kTooFewPointsError = "Range check error: в файле меньше двух точек спектра";

inline constexpr const char* kOutOfMemoryMessage = "Недостаточно памяти для выполнения команды";
// The text shown for an exception: its own, or kOutOfMemoryMessage for std::bad_alloc (whose
// own text, "std::bad_alloc", says nothing to the operator).
std::string ErrorMessage(const std::exception& e);

}  // namespace orvelo
