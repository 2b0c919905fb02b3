#include "print/FormatAmount.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/Amount.h"
#include "base/OrvoError.h"

namespace orvo::print {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks around, a sign, digits with one optional ".", an optional exponent.
bool isNumberText(std::string_view t) {
    std::size_t pos = 0;
    if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) ++pos;
    std::size_t digits = 0;
    while (pos < t.size() && isDigit(t[pos])) ++pos, ++digits;
    if (pos < t.size() && t[pos] == '.') {
        ++pos;
        while (pos < t.size() && isDigit(t[pos])) ++pos, ++digits;
    }
    if (digits == 0) return false;
    if (pos < t.size() && (t[pos] == 'e' || t[pos] == 'E')) {
        ++pos;
        if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) ++pos;
        std::size_t exponentDigits = 0;
        while (pos < t.size() && isDigit(t[pos])) ++pos, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return pos == t.size();
}

double amountValue(std::string_view text) {
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    if (text.empty()) return 0;
    if (!isNumberText(t)) throw notAFloat(text);
    const double value = std::strtod(std::string(t).c_str(), nullptr);
    if (!std::isfinite(value)) throw notAFloat(text);
    return value;
}

}  // namespace

std::string FormatAmount(std::string_view text, int width) {
    const double rounded = std::round(amountValue(text));  // halves away from zero
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.0f", std::fabs(rounded));
    const std::string formatted = formatYen(digits, rounded < 0);
    const std::size_t field = width > 0 ? static_cast<std::size_t>(width) : 0;
    if (formatted.size() >= field) return formatted;
    return std::string(field - formatted.size(), ' ') + formatted;
}

}  // namespace orvo::print
