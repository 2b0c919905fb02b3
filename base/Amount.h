#pragma once
// Amounts: decimal integer texts, summed as signed 32-bit integers that wrap.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

// The value of a whole decimal number in the 32-bit range (leading blanks and
// a sign allowed), or nothing.
std::optional<std::int32_t> parseAmount(std::string_view text);

// The value, or the error "'%s' は整数ではありません".
std::int32_t amountOrThrow(std::string_view text);

inline std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
// Adds the amount `text` to `total` (wrapping); false, adding nothing, when it
// is no amount. An empty text adds nothing and is no fault. Every total of
// amount fields adds them so: nearly every amount is a few plain digits, read
// here inline, and the rest goes to parseAmount.
inline bool addAmount(std::string_view text, std::int32_t& total);

inline std::int32_t wrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

inline bool addAmount(std::string_view text, std::int32_t& total) {
    if (text.empty()) return true;
    if (text.size() <= 9) {  // nine digits are always in range
        std::int32_t value = 0;
        std::size_t i = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            value = value * 10 + (text[i] - '0');
        if (i == text.size()) {
            total = wrapAdd(total, value);
            return true;
        }
    }
    const std::optional<std::int32_t> value = parseAmount(text);
    if (value) total = wrapAdd(total, *value);
    return value.has_value();
}

// An amount cell's text with the full-width digits and the full-width minus,
// which a user typing with the Japanese input method on easily leaves, turned
// into their ASCII forms; every other character stays as it is.
std::string withAsciiDigits(std::string_view cp932);

// What an amount cell stores of the text typed into it: the digits in ASCII
// (withAsciiDigits), and an amount written as the totals show it, "1,500",
// "\\1,500" (the yen sign), "￥1,500" or "1,500円", as its plain number "1500".
// Digit groups must be of three; any other text stays as typed.
std::string storedAmountText(std::string_view cp932);

// The totals' display form "\,0": a backslash (shown as the yen sign), the number
// with "," every three digits; a negative number's minus sign comes first.
std::string formatYen(std::int32_t value);
// The same for a number of any size given by its decimal digits (no sign).
std::string formatYen(std::string_view digits, bool negative);

}  // namespace orvo
