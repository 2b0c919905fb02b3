#pragma once
// A statement made ready for the ledger: each row's titles (rules, then the
// ledger's history, then "未分類"), its state (new, duplicate, error) and
// whether it is ticked for the import.

#include <cstddef>
#include <string>
#include <vector>

#include "ledger/LedgerRecords.h"
#include "statement/ImportRules.h"
#include "statement/StatementReader.h"

namespace orvo {
class LedgerBook;
}

namespace orvo::statement {

enum class RowState { New, Duplicate, Error };

struct PreviewRow {
    StatementRow row;
    std::string title1;  // CP932
    std::string title2;
    RowState state = RowState::New;
    bool ticked = false;  // new rows are, the others not
};

struct StatementCounts {
    std::size_t added = 0;  // new
    std::size_t duplicates = 0;
    std::size_t errors = 0;
};

// The level-1 title of rows nothing else assigns a title to.
std::string unclassifiedTitle();

// Titles for every row that can be imported: the first matching rule, else
// the title pair the ledger uses most often for the same shop (the latest of
// equally frequent pairs), else "未分類" with no level-2 title.
void assignTitles(std::vector<PreviewRow>& rows, const LedgerRecords& records,
                  const std::vector<ImportRule>& rules);

// Marks rows the ledger already holds: a record of the same day, expense and
// income whose folded description holds the row's folded description, each
// record matched to one row at most. Reads only the days the rows touch.
void markDuplicates(std::vector<PreviewRow>& rows, const LedgerRecords& records);

// The rows of `statement` with titles and states, ticked as new.
std::vector<PreviewRow> preview(const ReadStatement& statement, const LedgerRecords& records,
                                const std::vector<ImportRule>& rules);

StatementCounts countRows(const std::vector<PreviewRow>& rows);

// The window's counts line: "新規 N件・重複 M件・エラー K件".
std::string countsText(const StatementCounts& counts);

// The record line of a row: yyyy/mm/dd TAB title1 TAB title2 TAB expense TAB income TAB
// description.
std::string recordLineOf(const PreviewRow& row);

// Adds the ticked rows that can be imported to `book`: the one way the import
// changes a ledger. The day view's edits are written back first; the records
// are added (nothing replaced), the cumulative totals follow, and the first
// added day is shown. Returns the number added; a ledger is left as it was
// when the write-back fails.
std::size_t addTickedRows(LedgerBook& book, const std::vector<PreviewRow>& rows);

// "N件の明細を取り込みました"
std::string importedMessage(std::size_t count);

}  // namespace orvo::statement
