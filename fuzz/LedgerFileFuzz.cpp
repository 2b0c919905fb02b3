// The ledger data file as "開く" loads it: header, sizes, titles and records,
// then the day view of the first record's day and its write-back; and the
// record count the backup list shows for a copy.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzFiles.h"
#include "base/OrvoError.h"
#include "ledger/BackupGenerations.h"
#include "ledger/LedgerBook.h"
#include "ledger/LedgerDate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = orvo::fuzz::scratchFolder() + "/ledger.dat";
    orvo::fuzz::writeFile(path, {reinterpret_cast<const char*>(data), size});
    (void)orvo::recordCountOf(path);
    orvo::LedgerBook book;
    book.startNewLedger();
    book.setPickedDay(orvo::LedgerDate{2026, 9, 10});
    try {
        book.openDataFile(path);
        if (!book.records().empty()) {
            if (auto day = orvo::LedgerDate::parse(book.records()[0].substr(0, 10))) {
                book.markDayViewChanged();
                book.goToDay(*day);
            }
        }
    } catch (const orvo::OrvoError&) {
        // The load's faults are messages for the user; anything else is a finding.
    }
    return 0;
}
