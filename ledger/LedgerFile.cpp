// The ledger data file: window size, table shape, row heights, column widths,
// titles and record lines, CP932, every line ended by CR LF.

#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Amount.h"
#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "base/ReadFile.h"
#include "ledger/DataFileCheck.h"
#include "ledger/LedgerBook.h"
#include "ledger/LedgerFileBytes.h"
#include "ledger/LedgerLock.h"
#include "ledger/PickedDayLines.h"
#include "ledger/RecordAmountSums.h"
#include "ledger/RecordLine.h"
#include "ledger/RecordListBuilder.h"

namespace orvo {

namespace {

// Bounds that keep a damaged header from asking for an absurd table_.
constexpr int kMaxRows = 1'000'000;
constexpr int kMaxColumns = 10'000;
// and a tiny damaged file from making the program allocate gigabytes.
constexpr long long kMaxCells = 4'000'000;
// Bytes of record lines handed to the file at a time by a save.
constexpr std::size_t kSavePieceSize = 1 << 18;

int headerInteger(LedgerFileBytes& in, std::string& line) {
    line = in.nextLine();
    return amountOrThrow(line);
}

int tableSize(LedgerFileBytes& in, std::string& line, int min, int max) {
    const int n = headerInteger(in, line);
    if (n < min || n > max) throw tableSizeOutOfRange(n);
    return n;
}

}  // namespace

void LedgerBook::SaveLedger(const WriteFaults& faults) {
    if (dataFileName_.empty()) throw cannotCreateFile("");
    std::shared_ptr<LockFile> lock = lockLedger(dataFileName_, lock_);
    // Under the lock no other save of this file runs: what matches its
    // temporary names was left by saves that were cut off.
    if (lock) removeInterruptedSaves(dataFileName_);
    table_.markChanged();  // a save always writes the day view back
    Recalculate();
    backups_.keepBefore(dataFileName_);

    AtomicFileWriter out(dataFileName_, faults, Backup::KeepPrevious);
    const int rows = table_.rowCount();
    const int cols = table_.columnCount();
    out.writeLine(std::to_string(windowWidth_));
    out.writeLine(std::to_string(windowHeight_));
    out.writeLine(std::to_string(rows));
    out.writeLine(std::to_string(cols));
    for (int r = 0; r < rows; ++r) out.writeLine(std::to_string(table_.rowHeight(r)));
    for (int c = 0; c < cols; ++c) out.writeLine(std::to_string(table_.columnWidth(c)));
    std::string titles;
    for (int c = 1; c < cols; ++c) {
        if (c > 1) titles += kFieldSeparator;
        titles += PackLineBreaks(table_.cell(c, 0));
    }
    // A line no load could read back stops the save; the file stays as it was.
    const auto checkReadable = [this](std::string_view line) {
        if (line.size() > kLongestLine)
            throw lineTooLongToWrite(cp932::fromUtf8(dataFileName_).bytes);
    };
    checkReadable(titles);
    out.writeLine(titles);
    // The records_ go out in large pieces, each line and its end appended to
    // one buffer: a write per line would cost more than the copy.
    std::string piece;
    piece.reserve(kSavePieceSize + 4096);
    records_.forEach([&](std::string_view line) {
        checkReadable(line);
        piece.append(line);
        piece.append("\r\n", 2);
        if (piece.size() >= kSavePieceSize) {
            out.write(piece);
            piece.clear();
        }
    });
    out.write(piece);
    out.commit();
    fileStamp_ = FileStamp::of(dataFileName_);
    lock_ = std::move(lock);  // a Save As lets go of the previous file's lock here
    readOnly_ = false;
    history_.markClean();
}

void LedgerBook::SaveLedgerAs(std::string fileName, const WriteFaults& faults) {
    std::string previous = std::exchange(dataFileName_, std::move(fileName));
    try {
        SaveLedger(faults);
    } catch (...) {
        dataFileName_ = std::move(previous);
        throw;
    }
}

void LedgerBook::LoadLedger() {
    OwnedFile file = openForReading(dataFileName_);
    LedgerFileBytes in(::fileno(file.get()));
    loadLedgerFrom(in, LoadScope::WholeLedger);
}

void LedgerBook::loadLedgerFrom(LedgerFileBytes& in, LoadScope scope) {
    try {
        loadLedgerLines(in, scope);
    } catch (const OverlongLine&) {
        // Met only in a pipe (a file is checked before): what was read is
        // shown without the name, so no save replaces the source unasked.
        const std::string name = std::exchange(dataFileName_, std::string());
        throw lineTooLongIn(name);
    }
}

void LedgerBook::loadLedgerLines(LedgerFileBytes& in, LoadScope scope) {
    std::string line;

    line = in.nextLine();
    if (line.empty() || line[0] < '1' || line[0] > '9') {
        ShowDay();
        return;
    }
    int rows = 0;
    int cols = 0;
    try {
        windowWidth_ = amountOrThrow(line);
        windowHeight_ = headerInteger(in, line);
        rows = tableSize(in, line, LedgerTable::kFixedRows + 1, kMaxRows);
        cols = tableSize(in, line, LedgerTable::kFixedCols + 1, kMaxColumns);
        if (static_cast<long long>(rows) * cols > kMaxCells)
            throw tableSizeOutOfRange(rows * 1LL * cols);
        // The sizes are read before the table takes its shape: a short file
        // that claims a huge table stops at its end, not after the allocation.
        std::vector<int> heights;
        std::vector<int> widths;
        for (int r = 0; r < rows; ++r) heights.push_back(headerInteger(in, line));
        for (int c = 0; c < cols; ++c) widths.push_back(headerInteger(in, line));
        table_.setRowCount(rows);
        table_.setColumnCount(cols);
        for (int r = 0; r < rows; ++r) table_.setRowHeight(r, heights[static_cast<std::size_t>(r)]);
        for (int c = 0; c < cols; ++c) table_.setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    } catch (...) {
        // Stopped in the header: the ledger holds only what was read, so it
        // lets go of the file's name, and a plain save cannot replace the
        // damaged file with it (the next save asks for a name).
        dataFileName_.clear();
        throw;
    }

    line = in.nextLine();
    SplitRecord(line);
    for (int c = 1; c < cols && static_cast<std::size_t>(c) <= recordFields_.size(); ++c)
        table_.setCell(c, 0, UnpackLineBreaks(recordFields_[static_cast<std::size_t>(c) - 1]));

    // Every record is read even past a bad one: stopping would leave the rest
    // out of the ledger, and the next save would lose them. The first fault is
    // reported once all is loaded; a bad amount counts as nothing.
    std::optional<OrvoError> firstFault;
    std::int32_t allOut = 0;
    std::int32_t allIn = 0;
    // The records are sorted as they are read, the list pointing into the
    // bytes read (a line the loaded bytes do not hold is copied).
    RecordListBuilder builder(records_, in.loadedBytes());
    std::optional<PickedDayLines> dayLines;
    if (scope == LoadScope::PickedDay) dayLines.emplace(pickedDay_);
    for (;;) {
        in.skipControlsAndBlanks();
        if (in.atEnd()) break;
        const std::string_view record = in.nextLine();
        // Field 3, then field 4, each missing or not a whole number: the first
        // fault in the order the fields are read.
        // (Written out rather than looped over a table of the two fields:
        // this runs for every record, and the table cost a stall each time.)
        const AmountFields a = amountFieldsOf(record);
        const auto addUp = [&firstFault](std::string_view text, std::int32_t& total) {
            if (!addAmount(text, total) && !firstFault) firstFault = notAnInteger(text);
        };
        if (a.fieldCount <= 3) {
            if (!firstFault) firstFault = listIndexOutOfBounds(3);
        } else {
            addUp(a.expense, allOut);
            if (a.fieldCount <= 4) {
                if (!firstFault) firstFault = listIndexOutOfBounds(4);
            } else {
                addUp(a.income, allIn);
            }
        }
        if (!dayLines || dayLines->keeps(record)) builder.add(record);
    }
    if (dayLines && dayLines->firstLater()) builder.add(*dayLines->firstLater());
    builder.finish();
    setCumulativeTotals(allOut, allIn);

    try {
        ShowDay();
    } catch (const OrvoError&) {
        if (!firstFault) throw;
    }
    if (firstFault) throw *firstFault;
}

}  // namespace orvo
