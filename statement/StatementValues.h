#pragma once
// The dates and amounts of statement cells (CP932), in the forms banks and
// card companies write them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ledger/LedgerDate.h"

namespace orvo::statement {

// A date cell read: a whole date, or a month and day whose year the
// statement's other lines must give.
struct CellDate {
    std::optional<LedgerDate> date;  // set for a whole, possible date
    int month = 0;                   // with `yearMissing`
    int day = 0;
    bool yearMissing = false;
};

// Reads "2025/1/5", "2025-01-05", "2025.1.5", "20250105", "2025年1月5日",
// "25/01/05", the eras "R7.1.5", "令和7年1月5日" (元年 too), H and 平成, S and
// 昭和, and without the year "1/5", "01月05日"; full-width digits too. Nothing
// for any other text or an impossible date.
std::optional<CellDate> parseCellDate(std::string_view text);

// Whether month/day exists in `year`.
std::optional<LedgerDate> dateIn(int year, int month, int day);

// Reads "1280", "1,280", "￥1,280", "\1,280", "1,280円", full-width digits and
// commas, and the negatives "-1,280", "△1,280", "▲1,280", "(1,280)". An empty
// cell is 0. Nothing for other text, decimals or a value beyond 32 bits.
std::optional<std::int32_t> parseCellAmount(std::string_view text);

}  // namespace orvo::statement
