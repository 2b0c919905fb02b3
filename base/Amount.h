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
inline std::int32_t wrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// An amount cell's text with the full-width digits and the full-width minus,
// which a user typing with the Japanese input method on easily leaves, turned
// into their ASCII forms; every other character stays as it is.
std::string withAsciiDigits(std::string_view cp932);

// The totals' display form "\,0": a backslash (shown as the yen sign), the number
// with "," every three digits; a negative number's minus sign comes first.
std::string formatYen(std::int32_t value);

}  // namespace orvo
