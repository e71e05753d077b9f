#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "core/errors.h"

namespace orvelo {

std::string NotValidFloatMessage(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

std::string NotValidIntegerMessage(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

namespace {

// Digits and decimal exponent of |value| with `precision` significant digits: value ~ 0.d1d2.. * 10^exp10.
struct Decimal {
    std::string digits;  // no trailing zeros, at least one digit
    int pointPos = 0;    // the decimal point stands after this many digits (may be <= 0 or > size)
};

Decimal ToDecimal(double magnitude, int precision) {
    char buf[64];
    // Scientific form d.ddddde[+-]xx, correctly rounded, locale-free.
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
    std::string_view s(buf, res.ptr - buf);
    std::size_t e = s.find('e');
    std::string mant(s.substr(0, e));
    int exp10 = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), exp10);
    Decimal d;
    for (char c : mant)
        if (c != '.') d.digits.push_back(c);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    d.pointPos = exp10 + 1;
    return d;
}

double ParseBack(const Decimal& d) {
    std::string s = "0." + d.digits + "e" + std::to_string(d.pointPos);
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

}  // namespace

std::string FormatGeneral(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    const double magnitude = std::fabs(value);

    // The value rounded to 15 significant digits, then the shortest digit string that gives it.
    Decimal d15 = ToDecimal(magnitude, 15);
    const double target = ParseBack(d15);
    Decimal d = d15;
    // No decimal of fewer digits than the shortest one that reads back as target can do so,
    // so the search starts at that length.
    char shortest[64];
    const auto written = std::to_chars(shortest, shortest + sizeof shortest, target, std::chars_format::scientific);
    int first = 0;
    for (const char* c = shortest; c != written.ptr && *c != 'e'; ++c) first += *c >= '0' && *c <= '9';
    for (int p = std::max(first, 1); p < 15; ++p) {
        Decimal candidate = ToDecimal(magnitude, p);
        if (ParseBack(candidate) == target) {
            d = candidate;
            break;
        }
    }

    std::string out = value < 0 ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    // Fixed notation for 0.00001 <= |v| and at most 15 digits before the point.
    const bool fixed = d.pointPos <= 15 && d.pointPos >= -4;
    if (fixed) {
        if (d.pointPos <= 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-d.pointPos), '0');
            out += d.digits;
        } else if (d.pointPos >= n) {
            out += d.digits;
            out.append(static_cast<std::size_t>(d.pointPos - n), '0');
        } else {
            out += d.digits.substr(0, d.pointPos);
            out += '.';
            out += d.digits.substr(d.pointPos);
        }
    } else {
        out += d.digits[0];
        if (n > 1) {
            out += '.';
            out += d.digits.substr(1);
        }
        out += 'E';
        out += std::to_string(d.pointPos - 1);
    }
    return out;
}

std::string FormatFixed(double value, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (decimals < 0) decimals = 0;
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string s(buf, res.ptr);
    // "-0.00" reads as 0 everywhere in the program's tables.
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

double RoundHalfEven(double value) {
    return std::nearbyint(value);  // the default rounding mode rounds halves to even
}

namespace {

std::string_view TrimBlanks(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    // Check the shape first: -?digits[.digits]([eE]-?digits)?, at least one mantissa digit.
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-') ++i;
    std::size_t mantissaDigits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++mantissaDigits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && IsDigit(t[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && t[i] == '-') ++i;
        std::size_t expDigits = 0;
        while (i < t.size() && IsDigit(t[i])) ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;

    double v = 0;
    auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; a value beyond the double range is no valid number.
        std::string s(t);
        double u = std::strtod(s.c_str(), nullptr);
        if (std::isfinite(u) && std::fabs(u) < 1.0) return u;
        return std::nullopt;
    }
    if (res.ec != std::errc() || res.ptr != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

double ParseNumberOrThrow(std::string_view text) {
    if (auto v = ParseNumber(text)) return *v;
    throw OrveloError(NotValidFloatMessage(std::string(text)));
}

std::optional<int32_t> ParseInt32(std::string_view text) {
    std::string_view t = TrimBlanks(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return std::nullopt;
    int32_t v = 0;
    auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    if (res.ec != std::errc() || res.ptr != t.data() + t.size()) return std::nullopt;
    return v;
}

int32_t ParseInt32OrThrow(std::string_view text) {
    if (auto v = ParseInt32(text)) return *v;
    throw OrveloError(NotValidIntegerMessage(std::string(text)));
}

}  // namespace orvelo
