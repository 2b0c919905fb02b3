#pragma once
// Record dates: written "yyyy/mm/dd"; read leniently as the program's short
// date format reads them (1-4 digit year, 1-2 digit month and day, blanks around).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

struct LedgerDate {
    int year = 2000;
    int month = 1;
    int day = 1;

    auto operator<=>(const LedgerDate&) const = default;

    // Days since 0001/01/01 (proleptic Gregorian); orders and steps dates.
    std::int32_t serial() const;
    static LedgerDate fromSerial(std::int32_t serial);
    LedgerDate addDays(int days) const { return fromSerial(serial() + days); }

    // "yyyy/mm/dd", the form every record date is written in.
    std::string format() const;

    // A text that reads as a date, or nothing. Years of one or two digits are
    // taken in the 2000s.
    static std::optional<LedgerDate> parse(std::string_view text);

    // Whether `text` is a date written exactly "yyyy/mm/dd".
    static bool isCanonical(std::string_view text);
};

// The day of a date written exactly "yyyy/mm/dd" as a number that orders as
// the dates do (not every number is a day), or -1 for any other text. Inline:
// it is asked of every record of a load.
inline std::int32_t canonicalDayKey(std::string_view text) {
    if (text.size() != 10 || text[4] != '/' || text[7] != '/') return -1;
    unsigned digits[10];
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
        digits[i] = static_cast<unsigned>(static_cast<unsigned char>(text[i])) - '0';
        if (digits[i] > 9) return -1;
    }
    const unsigned year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    const unsigned month = digits[5] * 10 + digits[6];
    const unsigned day = digits[8] * 10 + digits[9];
    if (year < 1 || month < 1 || month > 12 || day < 1) return -1;
    if (day > 28) {
        static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return -1;
    }
    return static_cast<std::int32_t>((year * 16 + month) * 32 + day);
}

inline bool LedgerDate::isCanonical(std::string_view text) {
    return canonicalDayKey(text) >= 0;
}

}  // namespace orvo
