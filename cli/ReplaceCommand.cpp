// orvokakei-cli replace LEDGER.dat KEYWORD NEWTEXT OUT.dat: the search, the
// bulk replace of every listed record, then Save to OUT.dat.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CsvSearchCommon.h"
#include "cli/SaveLedgerTo.h"
#include "ledger/SearchList.h"

namespace orvo::cli {

namespace {

int runReplace(const std::vector<std::string>& args) {
    if (args.size() != 4) return usageOf("replace");
    if (args[1].empty()) {
        printMessage(searchKeywordMissingMessage());
        return kExitError;
    }
    if (args[2].empty()) {
        printMessage(replaceTextMissingMessage());
        return kExitError;
    }
    const auto newText = argumentAsCp932(args[2]);
    if (!newText) {
        std::fprintf(stderr, "NEWTEXT holds a character CP932 cannot hold.\n");
        return kExitUsage;
    }
    // In place, the lock comes before the read and stays to the end of the
    // save, so that no other save comes in between and is lost.
    std::error_code ec;
    const bool inPlace = std::filesystem::equivalent(args[0], args[3], ec);
    LedgerBook book = loadedLikeWindow(
        args[0], inPlace ? LedgerBook::OpenMode::ForWriting : LedgerBook::OpenMode::ForReading);
    book.Recalculate();  // as opening the search window does
    SearchList list;
    const auto keyword = argumentAsCp932(args[1]);
    if (keyword) list.search(book.records(), *keyword);
    if (list.empty()) printMessage(searchNothingFoundMessage());
    replaceListed(book, list, keyword.value_or(std::string()), *newText);
    saveLedgerTo(book, args[3]);
    return kExitOk;
}

const RegisterCommand registered({"replace", "LEDGER.dat KEYWORD NEWTEXT OUT.dat", &runReplace});

}  // namespace

}  // namespace orvo::cli
