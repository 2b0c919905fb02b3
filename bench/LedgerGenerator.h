#pragma once
// Realistic household ledgers for benchmarks and the bundled sample: 10 to 30
// entries a day (or as set), Japanese titles and descriptions, CP932.

#include <cstdint>
#include <string>
#include <vector>

#include "ledger/LedgerDate.h"

namespace orvo::bench {

// How the records stand in the file: as the program saves them, or as a CSV
// import, another program or a hand edit leaves them.
enum class RecordOrder {
    Saved,               // sorted
    ShuffledWithinDays,  // days in order, each day's records in random order
    Reversed,            // last record first
    Random,              // any record anywhere
};

struct GeneratorOptions {
    LedgerDate firstDay{2000, 1, 1};
    std::size_t records = 10'000;  // stops at this many records
    int minPerDay = 10;
    int maxPerDay = 30;
    std::uint32_t seed = 1;
    RecordOrder order = RecordOrder::Saved;
};

// Record lines in the order asked for (date order by default).
std::vector<std::string> generateRecords(const GeneratorOptions& options);

// A complete data file (header of the standard six-column table, titles, records).
std::string generateLedgerFile(const GeneratorOptions& options);

}  // namespace orvo::bench
