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
    table_.setColumnCount(kNewLedgerColumns);
    table_.setRowCount(kNewLedgerRows);
    for (int r = 0; r < kNewLedgerRows; ++r) {
        table_.clearRow(r);
        table_.setRowHeight(r, kStandardRowHeight);
    }
    totals_ = Totals{};
    foldedRecords_.clear();
    dailyLabelsSet_ = false;
    cumulativeLabelsSet_ = false;
    for (int c = 0; c < kNewLedgerColumns; ++c) table_.setCell(c, 0, kNewLedgerTitles[c]);
    table_.setDefaultRowHeight(kStandardRowHeight);
    table_.clearChanged();
}

void LedgerBook::SplitRecord(std::string_view line) {
    splitRecordInto(line, recordFields_);
}

void LedgerBook::ShowDay() {
    StepScope step(*this, StepKind::ShowDay);
    const int cols = table_.columnCount();
    for (int r = LedgerTable::kFixedRows; r < table_.rowCount(); ++r) table_.clearRow(r);

    std::int32_t dayOut = 0;
    std::int32_t dayIn = 0;
    std::optional<OrvoError> badAmount;
    int row = LedgerTable::kFixedRows;
    foldedRecords_.clear();
    for (std::size_t index : records_.indicesOfDay(pickedDay_)) {
        SplitRecord(records_[index]);
        if (table_.rowCount() <= row) table_.setRowCount(row + 1);
        for (int c = 1; c < cols; ++c)
            table_.setCell(c, row, cellTextFromFields(recordFields_, c, cols));
        if (recordFields_.size() > static_cast<std::size_t>(cols))
            foldedRecords_.emplace(rowKey(row), std::string(records_[index]));
        // Every record of the day is shown even when an amount is bad, so that a
        // later write-back cannot drop the ones below it.
        for (auto [field, total] :
             {std::pair{kColExpense, &dayOut}, std::pair{kColIncome, &dayIn}}) {
            const auto f = static_cast<std::size_t>(field);
            if (f < recordFields_.size() && !addAmount(recordFields_[f], *total) && !badAmount)
                badAmount = notAnInteger(recordFields_[f], CellRef{field, row});
        }
        ++row;
    }
    totals_.dayOut = dayOut;
    totals_.dayIn = dayIn;
    dailyLabelsSet_ = true;
    table_.selectTopLeft();
    table_.clearChanged();  // it shows what the records hold

    if (badAmount) throw *badAmount;
    if (const std::string* undated = records_.undatedRecordBefore(pickedDay_)) {
        SplitRecord(*undated);
        throw notADate(recordFields_[0]);
    }
}

void LedgerBook::Recalculate() {
    if (!table_.changed()) return;
    StepScope step(*this, StepKind::WriteBack);
    const int cols = table_.columnCount();
    const int rows = table_.rowCount();
    auto stored = [&](int r) { return cols > kColTitle1 && !table_.cell(kColTitle1, r).empty(); };

    // Check every amount first: a bad one stops the write-back before any
    // record of the day is removed, and the day view stays marked as changed.
    for (int r = LedgerTable::kFixedRows; r < rows; ++r) {
        if (!stored(r)) continue;
        for (int c : {kColExpense, kColIncome}) {
            if (c >= cols) continue;
            const std::string& text = table_.cell(c, r);
            if (!text.empty() && !parseAmount(text)) throw notAnInteger(text, CellRef{c, r});
        }
    }

    table_.selectTopLeft();
    const Totals previous = totals_;

    const std::vector<std::size_t> old = records_.indicesOfDay(pickedDay_);
    std::vector<std::string> oldLines;
    for (std::size_t i : old) oldLines.emplace_back(records_[i]);
    const std::size_t journalBefore = pending_.records.entries.size();
    for (auto it = old.rbegin(); it != old.rend(); ++it) removeRecordAt(*it);

    std::unordered_multimap<std::string, std::string> stillFolded;
    const std::string date = pickedDay_.format();
    std::int32_t dayOut = 0;
    std::int32_t dayIn = 0;
    for (int r = LedgerTable::kFixedRows; r < rows; ++r) {
        if (!stored(r)) continue;
        for (int c : {kColExpense, kColIncome})
            if (c < cols && table_.cell(c, r).empty()) table_.setCell(c, r, "0");
        std::string line;
        if (auto folded = foldedRecords_.find(rowKey(r)); folded != foldedRecords_.end()) {
            line = std::move(folded->second);  // unchanged: every field as it was
            stillFolded.emplace(folded->first, line);
            foldedRecords_.erase(folded);
        } else {
            line = date;
            for (int c = 1; c < cols; ++c) {
                line += kFieldSeparator;
                line += PackLineBreaks(table_.cell(c, r));
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
            if (f < recordFields_.size()) addAmount(recordFields_[f], *total);
        }
        addRecord(line);
    }
    // The rows still show their records folded: the next write-back (a
    // second save) must keep their fields too, not merge them into one.
    foldedRecords_ = std::move(stillFolded);
    // The day written back as it stood (a save writes back an unedited day
    // too): the records did not change, and the history need not hold it.
    if (records_.indicesOfDay(pickedDay_) == old && !pending_.records.whole &&
        std::equal(old.begin(), old.end(), oldLines.begin(),
                   [&](std::size_t i, const std::string& line) { return records_[i] == line; }))
        pending_.records.entries.resize(journalBefore);
    table_.clearChanged();  // the "0"s filled in above are what the records hold

    totals_.dayOut = dayOut;
    totals_.dayIn = dayIn;
    totals_.allOut = wrapAdd(wrapSub(previous.allOut, previous.dayOut), dayOut);
    totals_.allIn = wrapAdd(wrapSub(previous.allIn, previous.dayIn), dayIn);
    dailyLabelsSet_ = true;
    cumulativeLabelsSet_ = true;
}

std::string LedgerBook::rowKey(int row) const {
    std::string key;
    for (int c = 1; c < table_.columnCount(); ++c) {
        key += table_.cell(c, row);
        key += '\t';
    }
    return key;
}

void LedgerBook::startNewLedger() {
    // A new ledger has no file until it has been saved.
    dataFileName_.clear();
    lock_.reset();
    readOnly_ = false;
    resetToNewLedger();
    history_.clear();
}

void LedgerBook::resetToNewLedger() {
    recordsAsWhole().clear();
    ResetLedgerTable();
    orvo::applyStandardSizes(table_);
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

void LedgerBook::openPickedDay(std::string fileName, CheckedDataFile& file) {
    try {
        openChecked(std::move(fileName), file, nullptr, OpenMode::ForReading, LoadScope::PickedDay);
    } catch (...) {
        dataFileName_.clear();
        throw;
    }
    dataFileName_.clear();
}

void LedgerBook::openAsUnnamed(const std::string& path) {
    CheckedDataFile file(path);
    try {
        openChecked(path, file, nullptr, OpenMode::ForReading);
    } catch (...) {
        history_.clear();
        dataFileName_.clear();
        readOnly_ = false;
        throw;
    }
    dataFileName_.clear();
    readOnly_ = false;
    history_.clear();
}

std::shared_ptr<LockFile> LedgerBook::lockFor(const std::string& fileName, OpenMode mode) const {
    return mode == OpenMode::ForWriting ? lockLedger(fileName, lock_) : nullptr;
}

void LedgerBook::openChecked(std::string fileName, CheckedDataFile& file,
                             std::shared_ptr<LockFile> lock, OpenMode mode, LoadScope scope) {
    // The window cannot be smaller than its minimum size, so it shows and
    // later writes at least that.
    auto keepMinimum = [this] {
        windowWidth_ = std::max(windowWidth_, kMinimumWindowWidth);
        windowHeight_ = std::max(windowHeight_, kMinimumWindowHeight);
    };
    try {
        records_.clear();
        ResetLedgerTable();  // the day view that was there is discarded
        dataFileName_ = std::move(fileName);
        lock_ = std::move(lock);
        readOnly_ = mode == OpenMode::ForReading;
        fileStamp_ = file.stamp();
        if (file.bytes())
            loadLedgerFrom(*file.bytes(), scope);
        else
            LoadLedger();  // which says why it cannot be read
    } catch (const OrvoError&) {
        keepMinimum();
        history_.clear();
        throw;
    } catch (...) {
        // Not the file's fault (out of memory, say): the ledger may stop
        // anywhere, so it must not be saved over any file under its name.
        keepMinimum();
        dataFileName_.clear();
        lock_.reset();
        readOnly_ = false;
        history_.clear();
        throw;
    }
    keepMinimum();
    history_.clear();
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
    if (dataFileName_.empty() || !fileStamp_.exists) return false;
    return FileStamp::of(dataFileName_) != fileStamp_;
}

void LedgerBook::goToDay(const LedgerDate& day) {
    StepScope step(*this, StepKind::DayChange);
    Recalculate();
    pickedDay_ = day;
    ShowDay();
}

void LedgerBook::setWindowSize(int width, int height) {
    windowWidth_ = width;
    windowHeight_ = height;
}

void LedgerBook::applyStandardSizes() {
    orvo::applyStandardSizes(table_);
}

void LedgerBook::restoreRowHeights(int top, int bottom) {
    orvo::restoreRowHeights(table_, top, bottom);
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
