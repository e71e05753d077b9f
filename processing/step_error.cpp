#include "processing/step_error.h"

#include "core/number_text.h"

namespace orvelo {

std::string PreliminaryStepName(int stage) {
    return std::string(kPreliminaryStep) + " (шаг " + std::to_string(stage) + ")";
}

void ThrowStepError(std::string_view step, std::string_view cause) {
    std::string text(step.empty() ? kPreliminaryStep : step);
    text += ": ";
    text += cause;
    throw OrveloError(text);
}

void RequireTwoPoints(int count, std::string_view step) {
    if (count < 2) ThrowStepError(step, count == 0 ? "нет ни одной точки" : "только одна точка, нужно не меньше двух");
}

std::string ThreeEqualMassesCause(double mass) { return "три одинаковые массы подряд у " + FormatGeneral(mass); }

}  // namespace orvelo
