// orvokakei-cli resave IN.dat OUT.dat [yyyy/mm/dd]: loads and saves as the
// program does, the write-back acting on the given day (today by default).

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/SaveLedgerTo.h"
#include "ledger/LedgerBook.h"

namespace orvo::cli {

namespace {

// Not <chrono>: its literals cannot be compiled into CP932 text.
LedgerDate today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int runResave(const std::vector<std::string>& args) {
    if (args.size() != 2 && args.size() != 3) return usageOf("resave");
    LedgerBook book;
    book.startNewLedger();
    book.setPickedDay(today());
    if (args.size() == 3) {
        auto day = LedgerDate::parse(args[2]);
        if (!day) {
            std::fprintf(stderr, "'%s' is no date (yyyy/mm/dd).\n", args[2].c_str());
            return kExitUsage;
        }
        book.setPickedDay(*day);
    }
    // Only OUT is locked: it is what is written (the save takes its lock and
    // refuses when another instance holds it), while IN is read as a second
    // instance may read it. Saved in place, the lock comes before the read,
    // so that no other save can come between the two.
    std::error_code ec;
    const bool inPlace = std::filesystem::equivalent(args[0], args[1], ec);
    book.openDataFile(
        args[0], inPlace ? LedgerBook::OpenMode::ForWriting : LedgerBook::OpenMode::ForReading);
    saveLedgerTo(book, args[1]);
    return kExitOk;
}

const RegisterCommand registered({"resave", "IN.dat OUT.dat [yyyy/mm/dd]", &runResave});

}  // namespace

}  // namespace orvo::cli
