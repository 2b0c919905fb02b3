// orvokakei-cli resave IN.dat OUT.dat: loads and saves as the program does.

#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "ledger/LedgerBook.h"

namespace orvo::cli {

namespace {

int runResave(const std::vector<std::string>& args) {
    if (args.size() != 2) return kExitUsage;
    LedgerBook book;
    book.ResetLedgerTable();
    book.dataFileName = args[0];
    book.LoadLedger();
    book.dataFileName = args[1];
    book.SaveLedger();
    return kExitOk;
}

const RegisterCommand registered({"resave", "IN.dat OUT.dat", &runResave});

}  // namespace

}  // namespace orvo::cli
