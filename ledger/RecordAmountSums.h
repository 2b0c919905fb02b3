#pragma once
// Sums of the amount fields of record lines, as the cumulative totals count
// them: fields 3 (expense) and 4 (income), an empty or unreadable one adding nothing.

#include <cstdint>
#include <string_view>

#include "ledger/LedgerRecords.h"

namespace orvo {

struct AmountSums {
    std::int32_t expense = 0;
    std::int32_t income = 0;
};

// Adds the amounts of one record line to `sums` (32-bit, wrapping).
void addRecordAmounts(std::string_view line, AmountSums& sums);
// The same for fields 3 and 4 already cut out.
void addAmountFields(std::string_view expense, std::string_view income, AmountSums& sums);

// The sums over every record of the ledger.
AmountSums sumRecordAmounts(const LedgerRecords& records);

}  // namespace orvo
