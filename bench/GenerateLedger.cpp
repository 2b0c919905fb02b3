// generate-ledger [--shuffled-days|--reversed|--random] OUT.dat RECORDS [yyyy/mm/dd [MIN MAX
// [SEED]]]: writes a realistic ledger data file for benchmarks and samples; the records in the
// order the program saves them unless an option says otherwise.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "base/AtomicFile.h"
#include "bench/LedgerGenerator.h"

int main(int argc, char** argv) {
    orvo::bench::GeneratorOptions o;
    using orvo::bench::RecordOrder;
    const std::pair<const char*, RecordOrder> orders[] = {
        {"--shuffled-days", RecordOrder::ShuffledWithinDays},
        {"--reversed", RecordOrder::Reversed},
        {"--random", RecordOrder::Random},
    };
    for (const auto& [flag, order] : orders) {
        if (argc > 1 && std::strcmp(argv[1], flag) == 0) {
            o.order = order;
            --argc;
            ++argv;
            break;
        }
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: generate-ledger [--shuffled-days|--reversed|--random] OUT.dat RECORDS "
                     "[yyyy/mm/dd [MIN MAX [SEED]]]\n");
        return 2;
    }
    o.records = std::strtoull(argv[2], nullptr, 10);
    if (argc > 3) {
        auto d = orvo::LedgerDate::parse(argv[3]);
        if (!d) return 2;
        o.firstDay = *d;
    }
    if (argc > 5) {
        o.minPerDay = std::atoi(argv[4]);
        o.maxPerDay = std::atoi(argv[5]);
    }
    if (argc > 6) o.seed = static_cast<std::uint32_t>(std::strtoul(argv[6], nullptr, 10));
    orvo::writeFileAtomically(argv[1], orvo::bench::generateLedgerFile(o));
    return 0;
}
