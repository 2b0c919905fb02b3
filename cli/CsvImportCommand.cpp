// orvokakei-cli csv-import IN.csv OUT.dat [--titles]: a new ledger, the import
// as the window runs it (--titles answers Yes to the title question), saved as
// Save would save it. A fault writes nothing.

#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CsvSearchCommon.h"
#include "cli/SaveLedgerTo.h"
#include "ledger/CsvImport.h"
#include "ledger/LedgerLock.h"

namespace orvo::cli {

namespace {

int runCsvImport(const std::vector<std::string>& args) {
    if (args.size() != 2 && !(args.size() == 3 && args[2] == "--titles"))
        return usageOf("csv-import");
    const bool titles = args.size() == 3;
    // OUT is locked before IN is read, and to the end: it may be IN itself.
    const std::shared_ptr<LockFile> lock = lockLedger(args[1], nullptr);
    LedgerBook book;
    book.startNewLedger();
    book.setPickedDay(todayForCommands());
    CsvImportHooks hooks;
    hooks.firstLineHoldsTitles = [titles] { return titles; };
    const CsvImportResult result = importCsv(book, args[0], hooks);
    if (result.fault) throw *result.fault;
    if (result.emptyTitleRecords > 0) printMessage(emptyTitleNotice(result));
    if (result.badAmountRecords > 0) printMessage(badAmountNotice(result));
    book.adoptLock(lock);
    saveLedgerTo(book, args[1]);
    return kExitOk;
}

const RegisterCommand registered({"csv-import", "IN.csv OUT.dat [--titles]", &runCsvImport});

}  // namespace

}  // namespace orvo::cli
