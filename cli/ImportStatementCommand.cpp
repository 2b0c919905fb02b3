// orvokakei-cli import-statement LEDGER.dat STATEMENT [--layout NAME|FILE]
//   [--rules FILE] [--dry-run]
// A bank or card statement into the ledger, as "明細の取り込み" imports it: one
// line per statement row (new, duplicate, error), then the counts. Without
// --dry-run the new rows are added and the ledger saved as Save saves it.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/OrvoError.h"
#include "cli/CliCommand.h"
#include "cli/CsvSearchCommon.h"
#include "statement/StatementImport.h"

namespace orvo::cli {

namespace {

using namespace statement;

const char* const kUsage = "LEDGER.dat STATEMENT [--layout NAME|FILE] [--rules FILE] [--dry-run]";

StatementLayout layoutFor(const std::string& nameOrFile) {
    const std::vector<StatementLayout> layouts = availableLayouts();
    if (const auto name = argumentAsCp932(nameOrFile))
        if (const StatementLayout* layout = layoutNamed(layouts, *name)) return *layout;
    std::error_code ec;
    if (std::filesystem::is_regular_file(nameOrFile, ec)) return readLayoutFile(nameOrFile);
    throw OrvoError("明細の形式 " + argumentAsCp932(nameOrFile).value_or(std::string()) +
                    " が見つかりません");
}

const char* stateWord(RowState state) {
    switch (state) {
        case RowState::New:
            return "new";
        case RowState::Duplicate:
            return "duplicate";
        case RowState::Error:
            return "error";
    }
    return "";
}

void printRow(const PreviewRow& row) {
    std::string line = stateWord(row.state);
    line += '\t';
    if (row.state == RowState::Error) {
        line += std::to_string(row.row.line) + "\t" + cp932::toUtf8(row.row.error);
    } else {
        line += row.row.date.format() + "\t" + recordTextForPrint(row.title1) + "\t" +
                recordTextForPrint(row.title2) + "\t" + std::to_string(row.row.expense) + "\t" +
                std::to_string(row.row.income) + "\t" + recordTextForPrint(row.row.description);
    }
    std::printf("%s\n", line.c_str());
}

int runImportStatement(const std::vector<std::string>& args) {
    if (args.size() < 2) return usageOf("import-statement");
    std::optional<std::string> layoutArg;
    std::optional<std::string> rulesArg;
    bool dryRun = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--dry-run") {
            dryRun = true;
        } else if ((args[i] == "--layout" || args[i] == "--rules") && i + 1 < args.size()) {
            (args[i] == "--layout" ? layoutArg : rulesArg) = args[i + 1];
            ++i;
        } else {
            return usageOf("import-statement");
        }
    }
    // Everything that can refuse comes before the ledger changes.
    const std::string bytes = readWholeFile(args[1]);
    ReadChoices choices;
    if (layoutArg) choices.layout = layoutFor(*layoutArg);
    const ReadStatement statement = readStatement(bytes, availableLayouts(), choices);
    const std::vector<ImportRule> rules = readRules(rulesArg ? *rulesArg : rulesFilePath());

    LedgerBook book;
    book.startNewLedger();
    book.setPickedDay(todayForCommands());
    // Locked even for a dry run: its answer must hold for the import that follows.
    book.openDataFile(args[0], LedgerBook::OpenMode::ForWriting);
    const std::vector<PreviewRow> rows = preview(statement, book.records(), rules);
    if (!dryRun && addTickedRows(book, rows) > 0) book.SaveLedger();

    for (const PreviewRow& row : rows) printRow(row);
    const StatementCounts counts = countRows(rows);
    std::printf("summary\tnew=%zu\tduplicate=%zu\terror=%zu\n", counts.added, counts.duplicates,
                counts.errors);
    return kExitOk;
}

const RegisterCommand registered({"import-statement", kUsage, &runImportStatement});

}  // namespace

}  // namespace orvo::cli
