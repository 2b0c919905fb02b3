#pragma once
// The CSV export: every record of the ledger as one CSV line.

#include <string>

#include "base/AtomicFile.h"
#include "ledger/LedgerBook.h"
#include "ledger/Progress.h"

namespace orvo {

// Writes every record line, in list order, as a CSV line (TAB → comma, CR LF,
// nothing quoted) to `path`, replacing the file whole. Progress counts records;
// a cancelled export returns false and leaves the file as it was.
bool writeCsv(const LedgerRecords& records, const std::string& path,
              const ProgressCallback& progress = {}, const WriteFaults& faults = {});

// The export as the window runs it: the file is created, the day view is
// written back (`dayViewChanged` set, `Recalculate`), then `writeCsv`. A
// write-back that stops leaves the file as it was.
bool exportCsv(LedgerBook& book, const std::string& path, const ProgressCallback& progress = {});

}  // namespace orvo
