#include <charconv>
#include <stdexcept>
#include <string>
#include <system_error>

#include "calc/CalcErrors.h"
#include "calc/Evaluator.h"

namespace orvo::calc {

namespace {

bool isDigitAt(std::string_view text, std::size_t pos) {
    return pos < text.size() && text[pos] >= '0' && text[pos] <= '9';
}

bool isCharAt(std::string_view text, std::size_t pos, char c) {
    return pos < text.size() && text[pos] == c;
}

// The magnitude of "<intDigits>.<fracDigits>", rounded to the nearest double.
// Independent of the process locale: the decimal point is always ".".
double toDouble(std::string_view intDigits, std::string_view fracDigits) {
    std::string number(intDigits.empty() ? std::string_view("0") : intDigits);
    if (!fracDigits.empty()) {
        number += '.';
        number += fracDigits;
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Too large if any integer digit is non-zero; otherwise too small.
        if (intDigits.find_first_not_of('0') != std::string_view::npos) throw floatOverflow();
        return 0;
    }
    if (ec != std::errc() || ptr != end) throw std::logic_error("calc: unreadable number");
    return value;
}

}  // namespace

std::optional<double> ScanNumber(std::string_view text, std::size_t& pos) {
    bool negative = false;
    if (isCharAt(text, pos, '+') || isCharAt(text, pos, '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t intStart = pos;
    while (isDigitAt(text, pos)) ++pos;
    const std::string_view intDigits = text.substr(intStart, pos - intStart);
    std::string_view fracDigits;
    if (isCharAt(text, pos, '.')) {
        ++pos;
        const std::size_t fracStart = pos;
        while (isDigitAt(text, pos)) ++pos;
        fracDigits = text.substr(fracStart, pos - fracStart);
    }
    if (intDigits.empty() && fracDigits.empty()) return std::nullopt;
    const double magnitude = toDouble(intDigits, fracDigits);
    return negative ? -magnitude : magnitude;
}

}  // namespace orvo::calc
