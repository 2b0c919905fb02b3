// orvokakei-cli csv-export LEDGER.dat OUT.csv: loads the ledger as the window
// does (today picked) and exports every record as the export does, after the
// write-back of today's day view.

#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CsvSearchCommon.h"
#include "ledger/CsvExport.h"

namespace orvo::cli {

namespace {

int runCsvExport(const std::vector<std::string>& args) {
    if (args.size() != 2) return usageOf("csv-export");
    LedgerBook book = loadedLikeWindow(args[0]);
    exportCsv(book, args[1]);
    return kExitOk;
}

const RegisterCommand registered({"csv-export", "LEDGER.dat OUT.csv", &runCsvExport});

}  // namespace

}  // namespace orvo::cli
