#pragma once
// The baseline a day lookup is measured against: walk the records from the
// first, splitting each and reading its date, until one is later than the day.

#include <cstddef>

#include "ledger/LedgerDate.h"
#include "ledger/LedgerRecords.h"

namespace orvo::bench {

// The number of records of `day` found by the walk.
std::size_t scanFromFirstRecord(const LedgerRecords& records, const LedgerDate& day);

}  // namespace orvo::bench
