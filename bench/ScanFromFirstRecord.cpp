#include "bench/ScanFromFirstRecord.h"

#include <string>
#include <vector>

#include "ledger/RecordLine.h"

namespace orvo::bench {

std::size_t scanFromFirstRecord(const LedgerRecords& records, const LedgerDate& day) {
    std::vector<std::string> fields;
    std::size_t found = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        splitRecordInto(records[i], fields);
        const auto date = LedgerDate::parse(fields[0]);
        if (!date || *date > day) break;
        if (*date == day) ++found;
    }
    return found;
}

}  // namespace orvo::bench
