// orvokakei-cli search LEDGER.dat KEYWORD: the result list of the search
// window, one line per record found, in list order.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CsvSearchCommon.h"
#include "ledger/SearchList.h"

namespace orvo::cli {

namespace {

int runSearch(const std::vector<std::string>& args) {
    if (args.size() != 2) return usageOf("search");
    if (args[1].empty()) {
        printMessage(searchKeywordMissingMessage());
        return kExitError;
    }
    LedgerBook book = loadedLikeWindow(args[0]);
    book.Recalculate();  // as opening the search window does
    SearchList list;
    // A keyword CP932 cannot hold occurs in no CP932 ledger.
    if (auto keyword = argumentAsCp932(args[1])) list.search(book.records(), *keyword);
    if (list.empty()) {
        printMessage(searchNothingFoundMessage());
        return kExitError;
    }
    for (std::size_t k = 0; k < list.size(); ++k) {
        const std::string line = recordTextForPrint(list.resultLine(k));
        std::fwrite(line.data(), 1, line.size(), stdout);  // a field may hold a NUL byte
        std::fputc('\n', stdout);
    }
    return kExitOk;
}

const RegisterCommand registered({"search", "LEDGER.dat KEYWORD", &runSearch});

}  // namespace

}  // namespace orvo::cli
