#include "ledger/LedgerDate.h"

#include <cstdio>

namespace orvo {

namespace {

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ';
}

// Reads 1..maxDigits digits at `pos`; nothing when there are none or too many.
std::optional<int> readNumber(std::string_view s, std::size_t& pos, std::size_t maxDigits) {
    const std::size_t start = pos;
    int value = 0;
    while (pos < s.size() && isDigit(s[pos])) {
        if (pos - start == maxDigits) return std::nullopt;
        value = value * 10 + (s[pos] - '0');
        ++pos;
    }
    if (pos == start) return std::nullopt;
    return value;
}

}  // namespace

// Howard Hinnant's days-from-civil, shifted so that 0001/01/01 is day 0.
std::int32_t LedgerDate::serial() const {
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int mp = (month + 9) % 12;
    const int doy = (153 * mp + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 306;
}

LedgerDate LedgerDate::fromSerial(std::int32_t serial) {
    const int z = serial + 306;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

std::string LedgerDate::format() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", year, month, day);
    return buf;
}

std::optional<LedgerDate> LedgerDate::parse(std::string_view s) {
    std::size_t pos = 0;
    while (pos < s.size() && isBlank(s[pos])) ++pos;
    const std::size_t yearStart = pos;
    auto y = readNumber(s, pos, 4);
    if (!y || pos >= s.size() || s[pos] != '/') return std::nullopt;
    const bool shortYear = pos - yearStart <= 2;
    ++pos;
    auto m = readNumber(s, pos, 2);
    if (!m || pos >= s.size() || s[pos] != '/') return std::nullopt;
    ++pos;
    auto d = readNumber(s, pos, 2);
    if (!d) return std::nullopt;
    while (pos < s.size() && isBlank(s[pos])) ++pos;
    if (pos != s.size()) return std::nullopt;
    const int year = shortYear ? 2000 + *y : *y;
    if (year < 1 || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(year, *m)) return std::nullopt;
    return LedgerDate{year, *m, *d};
}

}  // namespace orvo
