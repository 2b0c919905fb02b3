#include "base/Amount.h"

#include <cstdint>

#include "base/Cp932.h"
#include "base/OrvoError.h"

namespace orvo {

std::optional<std::int32_t> parseAmount(std::string_view text) {
    // The usual amount: up to nine plain digits, which cannot overflow.
    if (!text.empty() && text.size() <= 9) {
        std::uint32_t value = 0;  // unsigned: garbage may wrap before it is refused
        bool digits = true;
        for (char c : text) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
        }
        if (digits) return static_cast<std::int32_t>(value);
    }
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t amountOrThrow(std::string_view text) {
    if (auto v = parseAmount(text)) return *v;
    throw notAnInteger(text);
}

std::string formatYen(std::int32_t value) {
    const std::int64_t v = value;
    return formatYen(std::to_string(v < 0 ? -v : v), v < 0);
}

std::string formatYen(std::string_view digits, bool negative) {
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return (negative ? "-\\" : "\\") + grouped;
}

std::string withAsciiDigits(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size());
    for (std::size_t i = 0; i < cp932.size();) {
        const std::size_t n = cp932::charLength(cp932, i);
        const auto lead = static_cast<unsigned char>(cp932[i]);
        const auto trail = n == 2 ? static_cast<unsigned char>(cp932[i + 1]) : 0;
        if (n == 2 && lead == 0x82 && trail >= 0x4F && trail <= 0x58)
            out += static_cast<char>('0' + (trail - 0x4F));  // "０" to "９"
        else if (n == 2 && lead == 0x81 && trail == 0x7C)
            out += '-';  // "－"
        else
            out.append(cp932.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace orvo
