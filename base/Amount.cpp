#include "base/Amount.h"

#include <algorithm>
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

namespace orvo {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits of "1,234,567" (groups of three after a lead of one to three), or nothing.
std::optional<std::string> ungroupedDigits(std::string_view text) {
    const std::size_t lead = text.find(',');
    if (lead == std::string_view::npos || lead == 0 || lead > 3) return std::nullopt;
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool groupComma = i >= lead && (i - lead) % 4 == 0;
        if (groupComma ? text[i] != ',' : !isDigit(text[i])) return std::nullopt;
        if (!groupComma) digits += text[i];
    }
    if ((text.size() - lead) % 4 != 0) return std::nullopt;  // a last group short of three
    return digits;
}

bool cutPrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

bool cutSuffix(std::string_view& text, std::string_view suffix) {
    if (!text.ends_with(suffix)) return false;
    text.remove_suffix(suffix.size());
    return true;
}

}  // namespace

std::string storedAmountText(std::string_view cp932) {
    const std::string ascii = withAsciiDigits(cp932);
    // The full-width comma the input method leaves between full-width digits.
    std::string commas = ascii;
    for (std::size_t at; (at = commas.find("，")) != std::string::npos;) commas.replace(at, 2, ",");
    std::string_view rest = commas;
    std::string sign;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        if (rest.front() == '-') sign = "-";
        rest.remove_prefix(1);
    }
    // "\" is the yen sign as the totals show it; "￥" its full-width form.
    const bool yen = cutPrefix(rest, "\\") || cutPrefix(rest, "￥");
    const bool en = cutSuffix(rest, "円");
    std::optional<std::string> digits = ungroupedDigits(rest);
    if (!digits && (yen || en) && !rest.empty() && std::all_of(rest.begin(), rest.end(), isDigit))
        digits = std::string(rest);
    return digits ? sign + *digits : ascii;
}

}  // namespace orvo
