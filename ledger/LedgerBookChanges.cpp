// LedgerBook: the changes of the ledger's content, each one step.

#include <algorithm>

#include "ledger/LedgerBook.h"
#include "ledger/RecordAmountSums.h"

namespace orvo {

namespace {

// Up to this many rewritten records are moved one by one; more, and the list
// is rebuilt in one pass, which costs the same for one record or a million.
constexpr std::size_t kMovesOneByOne = 1024;

// The changed records leave the list in one pass and come back as if added
// one by one.
void rebuild(LedgerRecords& records, const std::vector<RecordRewrite>& rewrites) {
    std::vector<std::size_t> indices;
    indices.reserve(rewrites.size());
    std::vector<std::string> added;
    added.reserve(rewrites.size());
    for (const RecordRewrite& r : rewrites) {
        indices.push_back(r.index);
        added.push_back(r.line);
    }
    records.removeAll(indices);
    records.addAll(added);
}

}  // namespace

void LedgerBook::changeDayView(StepKind kind, const std::function<void(LedgerTable&)>& change) {
    StepScope step(*this, kind);
    change(table_);
}

void LedgerBook::editCell(int col, int row, std::string text, StepKind kind) {
    if (!table_.contains(col, row)) return;
    changeDayView(kind, [&](LedgerTable& t) { t.setCell(col, row, std::move(text)); });
}

void LedgerBook::rewriteRecords(std::vector<RecordRewrite> rewrites, StepKind kind) {
    StepScope step(*this, kind);
    if (rewrites.size() <= kMovesOneByOne) {
        for (auto it = rewrites.rbegin(); it != rewrites.rend(); ++it) removeRecordAt(it->index);
        for (const RecordRewrite& r : rewrites) addRecord(r.line);
    } else {
        rebuild(recordsAsWhole(), rewrites);
    }
    recountTotalsAndShowDay();
}

void LedgerBook::removeRecords(const std::vector<std::size_t>& indices, StepKind kind) {
    StepScope step(*this, kind);
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) removeRecordAt(*it);
    recountTotalsAndShowDay();
}

void LedgerBook::addRecords(const std::vector<std::string>& lines, StepKind kind) {
    StepScope step(*this, kind);
    // The day view first: it would otherwise drop the added records of its day.
    Recalculate();
    if (lines.size() <= kMovesOneByOne)
        for (const std::string& line : lines) addRecord(line);
    else
        recordsAsWhole().addAll(lines);
    AmountSums sums{totals_.allOut, totals_.allIn};
    for (const std::string& line : lines) addRecordAmounts(line, sums);
    setCumulativeTotals(sums.expense, sums.income);
    ShowDay();
}

void LedgerBook::replaceWithImported(LedgerRecords records, int columns,
                                     const std::vector<std::string>& titles, std::int32_t allOut,
                                     std::int32_t allIn) {
    StepScope step(*this, StepKind::CsvImport);
    // A new ledger without a file, but the one it replaces can be had back.
    dataFileName_.clear();
    lock_.reset();
    readOnly_ = false;
    resetToNewLedger();
    if (columns > table_.columnCount()) table_.setColumnCount(columns);
    for (std::size_t i = 0; i < titles.size(); ++i)
        table_.setCell(static_cast<int>(i) + 1, 0, titles[i]);
    recordsAsWhole() = std::move(records);
    setCumulativeTotals(allOut, allIn);
    table_.clearChanged();
    ShowDay();
}

void LedgerBook::recountTotalsAndShowDay() {
    const AmountSums sums = sumRecordAmounts(records_);
    setCumulativeTotals(sums.expense, sums.income);
    ShowDay();
}

}  // namespace orvo
