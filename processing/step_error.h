#pragma once
// Errors of the preliminary processing: "<step>: <cause>", both in the operator's words,
// e.g. "Предварительная обработка (шаг 3): интенсивность нигде не меняется".
#include <string>
#include <string_view>

#include "core/errors.h"

namespace orvelo {

inline constexpr std::string_view kPreliminaryStep = "Предварительная обработка";

// "Предварительная обработка (шаг 3)"
std::string PreliminaryStepName(int stage);

[[noreturn]] void ThrowStepError(std::string_view step, std::string_view cause);

// Every kernel reads the first two points of its input before anything else.
void RequireTwoPoints(int count, std::string_view step);

// The mass in error texts: "три одинаковые массы подряд у 123.4".
std::string ThreeEqualMassesCause(double mass);

}  // namespace orvelo
