#include "ledger/RecordAmountSums.h"

#include <cstring>

#include "base/Amount.h"
#include "ledger/RecordLine.h"

namespace orvo {

namespace {

// The field after the TAB at `from - 1`, or nothing when there is no such TAB.
std::string_view nextField(std::string_view line, std::size_t& from) {
    const char* start = line.data() + from;
    const char* tab =
        static_cast<const char*>(std::memchr(start, kFieldSeparator, line.size() - from));
    const std::size_t length = tab ? static_cast<std::size_t>(tab - start) : line.size() - from;
    from += length + 1;
    return std::string_view(start, length);
}

void addAmount(std::string_view text, std::int32_t& total) {
    if (text.empty()) return;
    // Plain digits, as nearly every amount is, without the general reading.
    if (text.size() <= 9) {
        std::int32_t value = 0;
        std::size_t i = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            value = value * 10 + (text[i] - '0');
        if (i == text.size()) {
            total = wrapAdd(total, value);
            return;
        }
    }
    if (auto v = parseAmount(text)) total = wrapAdd(total, *v);
}

}  // namespace

void addRecordAmounts(std::string_view line, AmountSums& sums) {
    std::size_t from = 0;
    for (int field = 0; field <= 4; ++field) {
        if (from > line.size()) return;  // the line has fewer fields
        const std::string_view text = nextField(line, from);
        if (field == 3) addAmount(text, sums.expense);
        if (field == 4) addAmount(text, sums.income);
    }
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
