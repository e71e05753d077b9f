#pragma once
// Number texts used everywhere the program shows or writes a number. Always the point as
// decimal separator, whatever the process locale (nothing here reads the C locale).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvelo {

// The general number form: the shortest text of at most 15 significant digits, no trailing
// zeros, no point for whole values; fixed notation when 0.00001 <= |v| < 1e15, otherwise
// exponent notation without plus sign or leading zeros: 1E20, 1.5E-6, -2.5E15.
// 0.000015 is written fixed. NaN and infinities are written NAN, INF and -INF.
std::string FormatGeneral(double value);

// Fixed point with exactly `decimals` decimals ("%.3f"), correctly rounded.
std::string FormatFixed(double value, int decimals);

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// A decimal number in the program's own syntax: optional minus sign, digits, optional
// fraction after a point, optional exponent after E or e with an optional minus sign.
// Leading and trailing blanks are allowed.
// Returns nothing for any other text.
std::optional<double> ParseNumber(std::string_view text);

// Like ParseNumber, but throws OrveloError "'text' is not a valid floating point value".
double ParseNumberOrThrow(std::string_view text);

// A decimal integer that fits 32 bits: optional sign, digits; blanks around are allowed.
std::optional<int32_t> ParseInt32(std::string_view text);
// Throws OrveloError "'text' is not a valid integer value".
int32_t ParseInt32OrThrow(std::string_view text);

std::string NotValidFloatMessage(const std::string& text);    // "'%s' is not a valid floating point value"
std::string NotValidIntegerMessage(const std::string& text);  // "'%s' is not a valid integer value"

}  // namespace orvelo
