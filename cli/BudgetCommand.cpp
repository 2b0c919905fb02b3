// orvokakei-cli budget LEDGER.dat --year YYYY --month M [--budgets 予算.txt]
// Per budgeted title, in title-list order: TITLE, BUDGET, SPENT (the month's
// expense), REMAINING; then the totals. Budgets from the file given, else
// "予算.txt" beside the title files (the working folder).

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/Cp932.h"
#include "cli/CliCommand.h"
#include "cli/PrintCliSupport.h"
#include "cli/YearMonthOptions.h"
#include "settings/TitleFiles.h"
#include "summary/Budgets.h"

namespace orvo::cli {

namespace {

// UTF-8, as the usage text is printed as it stands.
const char* const kUsage =
    reinterpret_cast<const char*>(u8"LEDGER.dat --year YYYY --month M [--budgets 予算.txt]");

void printRow(const summary::BudgetRow& row) {
    printLine(cp932::toUtf8(row.title) + "\t" + std::to_string(row.budget) + "\t" +
              std::to_string(row.spent) + "\t" + std::to_string(row.remaining));
}

int runBudget(const std::vector<std::string>& args) {
    if (args.empty()) return usageOf("budget");
    std::optional<int> year;
    std::optional<int> month;
    std::optional<std::string> budgetsFile;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--year" || args[i] == "--month") {
            const bool isYear = args[i] == "--year";
            const std::optional<std::string> value = optionValue(args, i);
            if (!value) return kExitUsage;
            std::optional<int>& into = isYear ? year : month;
            if (!(into = isYear ? yearOption(*value) : monthOption(*value)))
                return usageOf("budget");
        } else if (args[i] == "--budgets") {
            if (!(budgetsFile = optionValue(args, i))) return kExitUsage;
        } else {
            return usageOf("budget");
        }
    }
    if (!year || !month) return usageOf("budget");

    std::optional<OrvoError> loadFault;
    const LedgerBook book = loadedBook(args[0], loadFault);
    TitleLists titles;
    ReadTitleLists(titles);
    // A line that cannot be read is reported after the others are shown.
    std::vector<summary::Budget> budgets;
    std::optional<OrvoError> budgetFault;
    try {
        summary::ReadBudgets(budgets, budgetsFile ? *budgetsFile : summary::budgetFilePath({}));
    } catch (const OrvoError& e) {
        budgetFault = e;
    }
    const summary::YearSummary table = summary::SummarizeYear(book.records(), titles, *year);
    const summary::MonthBudget monthBudget =
        summary::BudgetOfMonth(table, budgets, titles.level1, *month);
    for (const summary::BudgetRow& row : monthBudget.rows) printRow(row);
    printRow(monthBudget.total);
    std::fflush(stdout);
    if (loadFault) throw *loadFault;
    if (budgetFault) throw *budgetFault;
    return kExitOk;
}

const RegisterCommand registered({"budget", kUsage, &runBudget});

}  // namespace

}  // namespace orvo::cli
