#include "calc/FormatResult.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace orvo::calc {

namespace {

constexpr int kSignificantDigits = 15;

// Enough fraction digits to write any double's exact binary value in full.
constexpr int kExactPrecision = 767;

// A non-zero finite magnitude as its first 15 significant digits, rounded half
// away from zero, without trailing zeros, and its exponent e such that the
// value is 0.d1d2... x 10^e.
struct Decimal {
    std::string digits;
    int e = 0;
};

Decimal roundTo15Digits(double magnitude) {
    // "d.ddd...e-XX" with every digit exact, so the 16th digit alone decides.
    char buf[kExactPrecision + 16];
    const auto end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                   kExactPrecision)
                         .ptr;
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const std::size_t ePos = text.find('e');
    int exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());

    std::string digits;
    digits += text[0];
    digits += text.substr(2, kSignificantDigits - 1);
    if (text[2 + kSignificantDigits - 1] >= '5') {
        int i = kSignificantDigits - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
            digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');  // 9.99...95 became 10.0...0
            digits.pop_back();
            ++exponent;
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, exponent + 1};
}

}  // namespace

std::string FormatResult(double value) {
    if (value == 0) return "0";
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

    const Decimal d = roundTo15Digits(std::fabs(value));
    const int count = static_cast<int>(d.digits.size());
    std::string out = value < 0 ? "-" : "";
    if (d.e >= -3 && d.e <= kSignificantDigits) {
        if (d.e <= 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-d.e), '0');
            out += d.digits;
        } else if (count <= d.e) {
            out += d.digits;
            out.append(static_cast<std::size_t>(d.e - count), '0');
        } else {
            out.append(d.digits, 0, static_cast<std::size_t>(d.e));
            out += '.';
            out.append(d.digits, static_cast<std::size_t>(d.e));
        }
    } else {
        out += d.digits[0];
        if (count > 1) {
            out += '.';
            out.append(d.digits, 1);
        }
        out += 'E';
        out += std::to_string(d.e - 1);  // "-5" for 1E-5; never a "+"
    }
    return out;
}

std::string WholeYen(std::string_view shown) {
    const std::size_t e = shown.find('E');
    if (e != std::string_view::npos) {
        const bool tiny = e + 1 < shown.size() && shown[e + 1] == '-';
        return tiny ? "0" : std::string(shown);
    }
    const std::size_t point = shown.find('.');
    if (point == std::string_view::npos) return std::string(shown);
    const bool negative = !shown.empty() && shown[0] == '-';
    std::string digits(shown.substr(negative ? 1 : 0, point - (negative ? 1 : 0)));
    if (point + 1 < shown.size() && shown[point + 1] >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    if (digits.find_first_not_of('0') == std::string::npos) return "0";
    return (negative ? "-" : "") + digits;
}

}  // namespace orvo::calc
