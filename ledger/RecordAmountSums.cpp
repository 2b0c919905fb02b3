#include "ledger/RecordAmountSums.h"

#include "base/Amount.h"

namespace orvo {

void addRecordAmounts(std::string_view line, AmountSums& sums) {
    const AmountFields a = amountFieldsOf(line);
    addAmountFields(a.expense, a.income, sums);
}

void addAmountFields(std::string_view expense, std::string_view income, AmountSums& sums) {
    addAmount(expense, sums.expense);
    addAmount(income, sums.income);
}

AmountSums sumRecordAmounts(const LedgerRecords& records) {
    AmountSums sums;
    records.forEach([&](std::string_view line) { addRecordAmounts(line, sums); });
    return sums;
}

}  // namespace orvo
