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

}  // namespace orvo
