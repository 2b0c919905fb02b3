// orvokakei-cli summary LEDGER.dat --year YYYY [--level 2]
// The year's expense and income by title and month as UTF-8 TSV (summary/SummaryTable.h).
// Titles as `report` finds them without --titles.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/Cp932.h"
#include "cli/CliCommand.h"
#include "cli/PrintCliSupport.h"
#include "cli/YearMonthOptions.h"
#include "settings/TitleFiles.h"
#include "summary/SummaryTable.h"

namespace orvo::cli {

namespace {

const char* const kUsage = "LEDGER.dat --year YYYY [--level 2]";

int runSummary(const std::vector<std::string>& args) {
    if (args.empty()) return usageOf("summary");
    std::optional<int> year;
    summary::TitleLevel level = summary::TitleLevel::One;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--year") {
            const std::optional<std::string> value = optionValue(args, i);
            if (!value) return kExitUsage;
            if (!(year = yearOption(*value))) return usageOf("summary");
        } else if (args[i] == "--level") {
            const std::optional<std::string> value = optionValue(args, i);
            if (!value) return kExitUsage;
            if (*value != "1" && *value != "2") return usageOf("summary");
            level = *value == "2" ? summary::TitleLevel::Two : summary::TitleLevel::One;
        } else {
            return usageOf("summary");
        }
    }
    if (!year) return usageOf("summary");

    std::optional<OrvoError> loadFault;
    const LedgerBook book = loadedBook(args[0], loadFault);
    TitleLists titles;
    ReadTitleLists(titles);
    const summary::YearSummary table = summary::SummarizeYear(book.records(), titles, *year);
    for (const std::vector<std::string>& line : summary::SummaryTableCells(table, level))
        printLine(cp932::toUtf8(summary::joinedTable({line}, "")));
    std::fflush(stdout);
    if (loadFault) throw *loadFault;
    return kExitOk;
}

const RegisterCommand registered({"summary", kUsage, &runSummary});

}  // namespace

}  // namespace orvo::cli
