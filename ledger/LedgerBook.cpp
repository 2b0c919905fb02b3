#include "ledger/LedgerBook.h"

#include <algorithm>

#include "base/Amount.h"
#include "base/OrvoError.h"
#include "ledger/DataFileCheck.h"
#include "ledger/LedgerLock.h"
#include "ledger/RecordLine.h"
#include "ledger/StandardSizes.h"

namespace orvo {

namespace {

constexpr int kNewLedgerColumns = 6;
constexpr int kNewLedgerRows = 6;

const char* const kNewLedgerTitles[kNewLedgerColumns] = {"",     "勘定科目1", "勘定科目２",
                                                         "支出", "収入",      "摘要"};

// The text a record field puts into column `col` of a table of `cols` columns.
// The last column also takes any fields the table has no column for, one per
// line, so that a write-back keeps their text.
std::string cellTextFromFields(const std::vector<std::string>& fields, int col, int cols) {
    const auto c = static_cast<std::size_t>(col);
    std::string text = c < fields.size() ? UnpackLineBreaks(fields[c]) : std::string();
    if (col == cols - 1) {
        for (std::size_t extra = c + 1; extra < fields.size(); ++extra) {
            text += "\r\n";
            text += UnpackLineBreaks(fields[extra]);
        }
    }
    return text;
}

// A label not set since the reset shows the plain "0" of a new ledger.
std::string labelText(bool set, std::int32_t value) {
    return set ? formatYen(value) : "0";
}

}  // namespace

std::int32_t Totals::dayZan() const {
    return wrapSub(dayIn, dayOut);
}
std::int32_t Totals::allZan() const {
    return wrapSub(allIn, allOut);
}

LedgerBook::LedgerBook() = default;

void LedgerBook::ResetLedgerTable() {
    table.setColumnCount(kNewLedgerColumns);
    table.setRowCount(kNewLedgerRows);
    for (int r = 0; r < kNewLedgerRows; ++r) {
        table.clearRow(r);
        table.setRowHeight(r, kStandardRowHeight);
    }
    totals_ = Totals{};
    foldedRecords_.clear();
    dailyLabelsSet_ = false;
    cumulativeLabelsSet_ = false;
    for (int c = 0; c < kNewLedgerColumns; ++c) table.setCell(c, 0, kNewLedgerTitles[c]);
    table.setDefaultRowHeight(kStandardRowHeight);
}

void LedgerBook::SplitRecord(std::string_view line) {
    splitRecordInto(line, recordFields);
}

void LedgerBook::ShowDay() {
    const int cols = table.columnCount();
    for (int r = LedgerTable::kFixedRows; r < table.rowCount(); ++r) table.clearRow(r);

    std::int32_t dayOut = 0;
    std::int32_t dayIn = 0;
    std::optional<OrvoError> badAmount;
    int row = LedgerTable::kFixedRows;
    foldedRecords_.clear();
    for (std::size_t index : records.indicesOfDay(pickedDay)) {
        SplitRecord(records[index]);
        if (table.rowCount() <= row) table.setRowCount(row + 1);
        for (int c = 1; c < cols; ++c)
            table.setCell(c, row, cellTextFromFields(recordFields, c, cols));
        if (recordFields.size() > static_cast<std::size_t>(cols))
            foldedRecords_.emplace(rowKey(row), std::string(records[index]));
        // Every record of the day is shown even when an amount is bad, so that a
        // later write-back cannot drop the ones below it.
        for (auto [field, total] :
             {std::pair{kColExpense, &dayOut}, std::pair{kColIncome, &dayIn}}) {
            const auto f = static_cast<std::size_t>(field);
            if (f < recordFields.size() && !addAmount(recordFields[f], *total) && !badAmount)
                badAmount = notAnInteger(recordFields[f], CellRef{field, row});
        }
        ++row;
    }
    totals_.dayOut = dayOut;
    totals_.dayIn = dayIn;
    dailyLabelsSet_ = true;
    table.selectTopLeft();

    if (badAmount) throw *badAmount;
    if (const std::string* undated = records.undatedRecordBefore(pickedDay)) {
        SplitRecord(*undated);
        throw notADate(recordFields[0]);
    }
}

void LedgerBook::Recalculate() {
    if (!dayViewChanged) return;
    const int cols = table.columnCount();
    const int rows = table.rowCount();
    auto stored = [&](int r) { return cols > kColTitle1 && !table.cell(kColTitle1, r).empty(); };

    // Check every amount first: a bad one stops the write-back before any
    // record of the day is removed, and the day view stays marked as changed.
    for (int r = LedgerTable::kFixedRows; r < rows; ++r) {
        if (!stored(r)) continue;
        for (int c : {kColExpense, kColIncome}) {
            if (c >= cols) continue;
            const std::string& text = table.cell(c, r);
            if (!text.empty() && !parseAmount(text)) throw notAnInteger(text, CellRef{c, r});
        }
    }

    dayViewChanged = false;
    table.selectTopLeft();
    const Totals previous = totals_;

    const std::vector<std::size_t> old = records.indicesOfDay(pickedDay);
    for (auto it = old.rbegin(); it != old.rend(); ++it) records.removeAt(*it);

    const std::string date = pickedDay.format();
    std::int32_t dayOut = 0;
    std::int32_t dayIn = 0;
    for (int r = LedgerTable::kFixedRows; r < rows; ++r) {
        if (!stored(r)) continue;
        for (int c : {kColExpense, kColIncome})
            if (c < cols && table.cell(c, r).empty()) table.setCell(c, r, "0");
        std::string line;
        if (auto folded = foldedRecords_.find(rowKey(r)); folded != foldedRecords_.end()) {
            line = std::move(folded->second);  // unchanged: every field as it was
            foldedRecords_.erase(folded);
        } else {
            line = date;
            for (int c = 1; c < cols; ++c) {
                line += kFieldSeparator;
                line += PackLineBreaks(table.cell(c, r));
            }
            // A day view narrower than the record layout still stores whole
            // records: the five fields, an amount it has no column for as "0".
            for (int c = cols; c <= kColDescription; ++c) {
                line += kFieldSeparator;
                if (c == kColExpense || c == kColIncome) line += '0';
            }
        }
        SplitRecord(line);
        for (auto [c, total] : {std::pair{kColExpense, &dayOut}, std::pair{kColIncome, &dayIn}}) {
            const auto f = static_cast<std::size_t>(c);
            if (f < recordFields.size()) addAmount(recordFields[f], *total);
        }
        records.add(std::move(line));
    }
    foldedRecords_.clear();

    totals_.dayOut = dayOut;
    totals_.dayIn = dayIn;
    totals_.allOut = wrapAdd(wrapSub(previous.allOut, previous.dayOut), dayOut);
    totals_.allIn = wrapAdd(wrapSub(previous.allIn, previous.dayIn), dayIn);
    dailyLabelsSet_ = true;
    cumulativeLabelsSet_ = true;
}

std::string LedgerBook::rowKey(int row) const {
    std::string key;
    for (int c = 1; c < table.columnCount(); ++c) {
        key += table.cell(c, row);
        key += '\t';
    }
    return key;
}

void LedgerBook::startNewLedger() {
    // A new ledger has no file until it has been saved.
    dataFileName.clear();
    lock_.reset();
    readOnly_ = false;
    dayViewChanged = false;  // the day view given up with the ledger is never written back
    records.clear();
    ResetLedgerTable();
    applyStandardSizes(table);
}

void LedgerBook::openDataFile(std::string fileName, OpenMode mode) {
    // Locked before it is read, so no other save comes in between.
    std::shared_ptr<LockFile> lock = lockFor(fileName, mode);
    // Before anything of this ledger changes; the command line may pipe a ledger in.
    CheckedDataFile file(fileName, PipeUse::Allowed);
    openChecked(std::move(fileName), file, std::move(lock), mode);
}

void LedgerBook::openDataFile(std::string fileName, CheckedDataFile& file, OpenMode mode) {
    std::shared_ptr<LockFile> lock = lockFor(fileName, mode);
    openChecked(std::move(fileName), file, std::move(lock), mode);
}

void LedgerBook::openAsUnnamed(const std::string& path) {
    CheckedDataFile file(path);
    try {
        openChecked(path, file, nullptr, OpenMode::ForReading);
    } catch (...) {
        dataFileName.clear();
        readOnly_ = false;
        throw;
    }
    dataFileName.clear();
    readOnly_ = false;
}

std::shared_ptr<LockFile> LedgerBook::lockFor(const std::string& fileName, OpenMode mode) const {
    return mode == OpenMode::ForWriting ? lockLedger(fileName, lock_) : nullptr;
}

void LedgerBook::openChecked(std::string fileName, CheckedDataFile& file,
                             std::shared_ptr<LockFile> lock, OpenMode mode) {
    // The window cannot be smaller than its minimum size, so it shows and
    // later writes at least that.
    auto keepMinimum = [this] {
        windowWidth = std::max(windowWidth, kMinimumWindowWidth);
        windowHeight = std::max(windowHeight, kMinimumWindowHeight);
    };
    try {
        records.clear();
        ResetLedgerTable();
        dayViewChanged = false;  // the day view that was there is discarded
        dataFileName = std::move(fileName);
        lock_ = std::move(lock);
        readOnly_ = mode == OpenMode::ForReading;
        fileStamp_ = file.stamp();
        if (file.bytes())
            loadLedgerFrom(*file.bytes());
        else
            LoadLedger();  // which says why it cannot be read
    } catch (const OrvoError&) {
        keepMinimum();
        throw;
    } catch (...) {
        // Not the file's fault (out of memory, say): the ledger may stop
        // anywhere, so it must not be saved over any file under its name.
        keepMinimum();
        dataFileName.clear();
        lock_.reset();
        readOnly_ = false;
        throw;
    }
    keepMinimum();
}

std::optional<LedgerInUse> LedgerBook::heldElsewhere(const std::string& fileName) const {
    try {
        lockLedger(fileName, lock_);  // a new lock goes again at once
    } catch (const LedgerInUse& inUse) {
        return inUse;
    }
    return std::nullopt;
}

bool LedgerBook::fileChangedOnDisk() const {
    if (dataFileName.empty() || !fileStamp_.exists) return false;
    return FileStamp::of(dataFileName) != fileStamp_;
}

void LedgerBook::goToDay(const LedgerDate& day) {
    Recalculate();
    pickedDay = day;
    ShowDay();
}

void LedgerBook::setCumulativeTotals(std::int32_t allOut, std::int32_t allIn) {
    totals_.allOut = allOut;
    totals_.allIn = allIn;
    cumulativeLabelsSet_ = true;
}

std::string LedgerBook::dayOutText() const {
    return labelText(dailyLabelsSet_, totals_.dayOut);
}
std::string LedgerBook::dayInText() const {
    return labelText(dailyLabelsSet_, totals_.dayIn);
}
std::string LedgerBook::dayZanText() const {
    return labelText(dailyLabelsSet_, totals_.dayZan());
}
std::string LedgerBook::allOutText() const {
    return labelText(cumulativeLabelsSet_, totals_.allOut);
}
std::string LedgerBook::allInText() const {
    return labelText(cumulativeLabelsSet_, totals_.allIn);
}
std::string LedgerBook::allZanText() const {
    return labelText(cumulativeLabelsSet_, totals_.allZan());
}

}  // namespace orvo
