#include "statement/StatementValues.h"

#include <cstdint>
#include <vector>

#include "base/Amount.h"
#include "base/Cp932.h"
#include "statement/StatementCells.h"

namespace orvo::statement {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool consume(std::string_view& text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix) return false;
    text.remove_prefix(prefix.size());
    return true;
}

bool consumeSuffix(std::string_view& text, std::string_view suffix) {
    if (text.size() < suffix.size() || text.substr(text.size() - suffix.size()) != suffix)
        return false;
    // Only at a character boundary.
    std::size_t i = 0;
    while (i < text.size() - suffix.size()) i += cp932::charLength(text, i);
    if (i != text.size() - suffix.size()) return false;
    text.remove_suffix(suffix.size());
    return true;
}

struct Era {
    const char* letter;
    const char* name;
    int offset;  // western year = offset + era year
    LedgerDate first;
    LedgerDate last;
};

const Era kEras[] = {
    {"R", "令和", 2018, {2019, 5, 1}, {9999, 12, 31}},
    {"H", "平成", 1988, {1989, 1, 8}, {2019, 4, 30}},
    {"S", "昭和", 1925, {1926, 12, 25}, {1989, 1, 7}},
};

}  // namespace

std::optional<LedgerDate> dateIn(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    const LedgerDate date{year, month, day};
    if (LedgerDate::fromSerial(date.serial()) != date) return std::nullopt;
    return date;
}

std::optional<CellDate> parseCellDate(std::string_view cell) {
    const std::string ascii = withAsciiDigits(trimBlanks(cell));
    std::string_view text = ascii;
    const Era* era = nullptr;
    for (const Era& e : kEras) {
        if (consume(text, e.name) ||
            (text.size() > 1 && (text[0] == e.letter[0] || text[0] == e.letter[0] + 32) &&
             (isDigit(text[1]) || text.substr(1, 2) == "元") && (text.remove_prefix(1), true))) {
            era = &e;
            break;
        }
    }
    // Numbers and what separates them: '/' for / - ., 'y' for 年, 'm' for 月.
    std::vector<int> numbers;
    std::vector<std::size_t> lengths;
    std::string separators;
    bool kanjiDay = false;
    while (!text.empty()) {
        int value = 0;
        std::size_t n = 0;
        if (numbers.empty() && era && consume(text, "元")) {
            value = 1;
            n = 1;
        } else {
            while (n < text.size() && isDigit(text[n])) {
                if (n >= 8) return std::nullopt;
                value = value * 10 + (text[n] - '0');
                ++n;
            }
            if (n == 0) return std::nullopt;
            text.remove_prefix(n);
        }
        numbers.push_back(value);
        lengths.push_back(n);
        if (text.empty()) break;
        if (consume(text, "/") || consume(text, "-") || consume(text, ".")) {
            separators += '/';
        } else if (consume(text, "年")) {
            separators += 'y';
        } else if (consume(text, "月")) {
            separators += 'm';
        } else if (consume(text, "日")) {
            kanjiDay = true;
            if (!trimBlanks(text).empty()) return std::nullopt;
            break;
        } else {
            return std::nullopt;
        }
        if (text.empty()) return std::nullopt;
    }
    if (separators.size() + 1 != numbers.size() && !(numbers.size() == 1 && separators.empty()))
        return std::nullopt;
    const bool kanji = separators == "ym" || separators == "m";
    if (kanji != kanjiDay) return std::nullopt;
    if (!kanji && separators.find_first_not_of('/') != std::string::npos) return std::nullopt;

    CellDate result;
    if (numbers.size() == 1) {
        if (era || lengths[0] != 8) return std::nullopt;
        const int v = numbers[0];
        result.date = dateIn(v / 10000, v / 100 % 100, v % 100);
    } else if (numbers.size() == 2) {
        if (era || lengths[0] > 2 || lengths[1] > 2) return std::nullopt;
        if (!dateIn(2000, numbers[0], numbers[1])) return std::nullopt;  // 2000 is a leap year
        result.yearMissing = true;
        result.month = numbers[0];
        result.day = numbers[1];
        return result;
    } else if (numbers.size() == 3) {
        if (lengths[1] > 2 || lengths[2] > 2) return std::nullopt;
        int year = numbers[0];
        if (era) {
            if (lengths[0] > 2 || year < 1) return std::nullopt;
            year += era->offset;
        } else if (lengths[0] == 2) {
            year += 2000;
        } else if (lengths[0] != 4) {
            return std::nullopt;
        }
        result.date = dateIn(year, numbers[1], numbers[2]);
        if (era && result.date && (*result.date < era->first || *result.date > era->last))
            result.date.reset();
    } else {
        return std::nullopt;
    }
    if (!result.date) return std::nullopt;
    return result;
}

std::optional<std::int32_t> parseCellAmount(std::string_view cell) {
    const std::string ascii = withAsciiDigits(trimBlanks(cell));
    std::string_view text = ascii;
    if (text.empty()) return 0;
    bool negative = false;
    if (consume(text, "(") || consume(text, "（")) {
        if (!consumeSuffix(text, ")") && !consumeSuffix(text, "）")) return std::nullopt;
        negative = true;
    }
    auto sign = [&] {
        if (consume(text, "-") || consume(text, "△") || consume(text, "▲")) {
            if (negative) return false;
            negative = true;
        } else {
            consume(text, "+") || consume(text, "＋");
        }
        return true;
    };
    if (!sign()) return std::nullopt;
    const bool yen = consume(text, "￥") || consume(text, "\\");
    if (yen && !sign()) return std::nullopt;
    consumeSuffix(text, "円");
    text = trimBlanks(text);
    std::int64_t value = 0;
    bool digits = false;
    while (!text.empty()) {
        if (isDigit(text[0])) {
            value = value * 10 + (text[0] - '0');
            if (value > std::int64_t{1} << 32) return std::nullopt;
            digits = true;
            text.remove_prefix(1);
        } else if (digits && (consume(text, ",") || consume(text, "，"))) {
            if (text.empty() || !isDigit(text[0])) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    if (negative) value = -value;
    // Not INT32_MIN: a refund's amount is the value's size.
    if (value < -INT32_MAX || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace orvo::statement
