#pragma once
// Sums of the amount fields of record lines, as the cumulative totals count
// them: fields 3 (expense) and 4 (income), an empty or unreadable one adding nothing.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "ledger/LedgerRecords.h"
#include "ledger/RecordLine.h"

namespace orvo {

struct AmountSums {
    std::int32_t expense = 0;
    std::int32_t income = 0;
};

// Fields 3 and 4 of a record line, found without splitting the whole of it,
// and how many fields it has (counted up to six).
struct AmountFields {
    std::size_t fieldCount = 0;
    std::string_view expense;
    std::string_view income;
};

// Eight bytes at a time: this runs for every record of a load, and most
// fields are too short for a library search to pay off.
inline AmountFields amountFieldsOf(std::string_view line) {
    std::size_t tabs[5];
    std::size_t found = 0;
    std::size_t i = 0;
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    for (; std::endian::native == std::endian::little && i + 8 <= line.size() && found < 5;
         i += 8) {
        std::uint64_t word;
        std::memcpy(&word, line.data() + i, 8);
        const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(kFieldSeparator));
        // A high bit for every zero byte of x, that is every TAB (exact: no borrow across bytes).
        std::uint64_t zeros = ~(((x & ~kHighs) + ~kHighs) | x | ~kHighs);
        while (zeros && found < 5) {
            const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(zeros)) / 8;
            tabs[found++] = at;
            zeros &= zeros - 1;
        }
    }
    for (; i < line.size() && found < 5; ++i)
        if (line[i] == kFieldSeparator) tabs[found++] = i;
    AmountFields a;
    a.fieldCount = found + 1;  // at least, when five TABs were found
    if (found >= 3)
        a.expense = line.substr(tabs[2] + 1, (found >= 4 ? tabs[3] : line.size()) - tabs[2] - 1);
    if (found >= 4)
        a.income = line.substr(tabs[3] + 1, (found >= 5 ? tabs[4] : line.size()) - tabs[3] - 1);
    return a;
}

// Adds the amounts of one record line to `sums` (32-bit, wrapping).
void addRecordAmounts(std::string_view line, AmountSums& sums);
// The same for fields 3 and 4 already cut out.
void addAmountFields(std::string_view expense, std::string_view income, AmountSums& sums);

// The sums over every record of the ledger.
AmountSums sumRecordAmounts(const LedgerRecords& records);

}  // namespace orvo
