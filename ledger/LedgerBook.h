#pragma once
// The cash book as the main window owns it: the day view (`LedgerTable`), the
// whole ledger (`LedgerRecords`), the data file's name, the picked day and the
// six totals. The window shows this state; every rule about it lives here.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/AtomicFile.h"
#include "ledger/BackupGenerations.h"
#include "ledger/FileStamp.h"
#include "ledger/LedgerDate.h"
#include "ledger/LedgerHistory.h"
#include "ledger/LedgerRecords.h"
#include "ledger/LedgerTable.h"
#include "ledger/StepKind.h"

namespace orvo {

class CheckedDataFile;
class LedgerFileBytes;
class LockFile;
class LedgerInUse;

// Standard sizes of a new ledger.
inline constexpr int kInitialWindowWidth = 572;
inline constexpr int kInitialWindowHeight = 390;
inline constexpr int kMinimumWindowWidth = 572;
inline constexpr int kMinimumWindowHeight = 321;

// The column roles, fixed by position.
inline constexpr int kColTitle1 = 1;
inline constexpr int kColTitle2 = 2;
inline constexpr int kColExpense = 3;
inline constexpr int kColIncome = 4;
inline constexpr int kColDescription = 5;

// A record's new line, for LedgerBook::rewriteRecords.
struct RecordRewrite {
    std::size_t index;
    std::string line;
};

class LedgerBook {
public:
    LedgerBook();

    // The state of a new ledger: 6 by 6 table, rows 20 high, the five titles,
    // all totals 0. Leaves the records, the file name, the widths and the day.
    void ResetLedgerTable();

    // Cuts a record line into `recordFields`.
    void SplitRecord(std::string_view line);
    const std::vector<std::string>& recordFields() const { return recordFields_; }

    // Fills the day view with the picked day's records and the daily totals.
    void ShowDay();

    // Writes the day view back into the records when `dayViewChanged()` is set and
    // brings the totals up to date. An amount that is no whole number stops it
    // before anything changes (the error names the cell); `dayViewChanged` stays set.
    void Recalculate();

    // Writes the data file `dataFileName()` (which must be set) after a write-back.
    // The old file stays as it was unless the new one is complete. The file's
    // lock is taken first (LedgerInUse, and nothing changes, when another
    // process holds it) and kept: this ledger is that file's writer now.
    // Under the lock, the temporary files of its interrupted saves are removed
    // and the day's copy is kept (backups(); a copy that fails stops no save).
    void SaveLedger(const WriteFaults& faults = {});

    // Saves under `fileName`, which becomes the ledger's file only once it has
    // been written: after a failure the ledger still names the file it had, so
    // the next save does not fail the same way or go where the user did not choose.
    void SaveLedgerAs(std::string fileName, const WriteFaults& faults = {});

    // Reads the data file `dataFileName()`, adding to the records (callers empty
    // them and reset the table first: openDataFile).
    void LoadLedger();

    // How a ledger file is opened: for writing, its lock taken (another
    // process cannot write it meanwhile), or only read (nothing locked; the
    // front ends that only read, and the window when the user chose to look
    // at a ledger another instance has open).
    enum class OpenMode { ForReading, ForWriting };

    // The steps every front end runs, each written once.

    // A new ledger as start-up and "新規作成" leave it: no records, the state
    // of a new ledger, the standard sizes.
    void startNewLedger();
    // Opens the data file `fileName` in place of the ledger: empties the
    // records, resets the table, loads and shows the picked day. The window
    // size read from the file keeps the window's minimum, even when the load
    // stops with an error part way. For writing, the file's lock is taken
    // before anything changes (LedgerInUse when another process holds it);
    // the previous file's lock goes.
    void openDataFile(std::string fileName, OpenMode mode = OpenMode::ForReading);
    // The same for a file already read and checked (CheckedDataFile), which a
    // window reads first so that a refused file changes nothing on screen either.
    void openDataFile(std::string fileName, CheckedDataFile& file, OpenMode mode);
    // Opens the file `fileName` for a look at the picked day alone: the day
    // view, the totals and the faults an open gives, but of the records only
    // those the view reads are kept (PickedDayLines), so the file may be
    // streamed (FileReading::Streamed). The ledger keeps no file name: no save
    // can write the part over the file.
    void openPickedDay(std::string fileName, CheckedDataFile& file);
    // Opens the file `path` (a backup copy) as a new ledger without a name, so
    // that its first save asks where: nothing is overwritten by itself. A file
    // that is no ledger changes nothing (NotALedgerFile).
    void openAsUnnamed(const std::string& path);
    // Makes `lock`, which the caller took with lockLedger, this ledger's: a
    // command that reads something else first and then saves to the locked
    // file holds the lock from before its read to the end of the save.
    void adoptLock(std::shared_ptr<LockFile> lock) { lock_ = std::move(lock); }
    // The refusal an open of `fileName` for writing would meet now, if any:
    // for a front end that asks before it changes anything.
    std::optional<LedgerInUse> heldElsewhere(const std::string& fileName) const;
    // Opened for reading only and not saved since: the window asks for a new
    // name at the next save, as for a ledger without a file.
    bool readOnly() const { return readOnly_; }
    // Moves the day view to `day`: writes the day view back under the day its
    // edits were made on, then shows `day`. A write-back that fails leaves the
    // picked day as it was.
    void goToDay(const LedgerDate& day);

    // --- What the ledger holds. Read here; changed only through the methods
    // below, so that every change is seen (the day view's flag, the history).
    const LedgerTable& table() const { return table_; }
    const LedgerRecords& records() const { return records_; }
    // A native path; empty while the ledger has no file.
    const std::string& dataFileName() const { return dataFileName_; }
    // Names the file the next SaveLedger writes (the CLI's writing commands).
    void setDataFileName(std::string fileName) { dataFileName_ = std::move(fileName); }
    // Whether the day view holds edits not yet written back into the records.
    bool dayViewChanged() const { return table_.changed(); }
    // Entering the grid counts as an edit of the day view.
    void markDayViewChanged() { table_.markChanged(); }
    const LedgerDate& pickedDay() const { return pickedDay_; }
    // Picks the day the next ShowDay shows, without a write-back (goToDay
    // writes back first).
    void setPickedDay(const LedgerDate& day) { pickedDay_ = day; }
    int windowWidth() const { return windowWidth_; }
    int windowHeight() const { return windowHeight_; }
    void setWindowSize(int width, int height);

    // --- The grid's layout: sizes and selection, no change of the ledger's content.
    void setSelection(const CellBlock& block) { table_.setSelection(block); }
    void selectTopLeft() { table_.selectTopLeft(); }
    void setColumnWidth(int col, int width) { table_.setColumnWidth(col, width); }
    void setRowHeight(int row, int height) { table_.setRowHeight(row, height); }
    // "標準列幅行高" and "選択行ｻｲｽﾞを元に".
    void applyStandardSizes();
    void restoreRowHeights(int top, int bottom);

    // --- Changes of the ledger, each one step of the kind given.

    // Makes the changes `change` makes through the methods below one step.
    void asOneStep(StepKind kind, const std::function<void()>& change);

    // Runs `change` on the day view; the table marks itself changed.
    void changeDayView(StepKind kind, const std::function<void(LedgerTable&)>& change);
    // One cell's new text (a committed cell edit, a title picked, a value sent).
    void editCell(int col, int row, std::string text, StepKind kind = StepKind::CellEdit);
    // Puts new lines in place of the records at the given indices (ascending,
    // each once), the records keeping their sort order; then the cumulative
    // totals and the day view of the picked day follow.
    void rewriteRecords(std::vector<RecordRewrite> rewrites,
                        StepKind kind = StepKind::RewriteRecords);
    // Removes the records at the given indices (ascending, each once); then
    // the totals and the day view of the picked day follow.
    void removeRecords(const std::vector<std::size_t>& indices,
                       StepKind kind = StepKind::RemoveRecords);
    // Adds record lines at their sorted places after writing the day view
    // back; then the totals and the day view of the picked day follow.
    void addRecords(const std::vector<std::string>& lines, StepKind kind = StepKind::AddRecords);
    // The ledger becomes a new one without a file holding `records`: the
    // state of a new ledger, at least `columns` columns titled `titles` from
    // column 1, the cumulative totals given, the picked day shown (CSV import).
    void replaceWithImported(LedgerRecords records, int columns,
                             const std::vector<std::string>& titles, std::int32_t allOut,
                             std::int32_t allIn);

    const Totals& totals() const { return totals_; }
    // The six labels' texts: "0" as a new ledger shows them, the display form
    // once a day has been shown (daily) or the ledger loaded or written back.
    std::string dayOutText() const;
    std::string dayInText() const;
    std::string dayZanText() const;
    std::string allOutText() const;
    std::string allInText() const;
    std::string allZanText() const;

    // Sets the cumulative totals (the CSV import does, as the load does).
    void setCumulativeTotals(std::int32_t allOut, std::int32_t allIn);

    // Whether `dataFileName()` was changed on disk (by someone else) since this
    // ledger last read or wrote it; a save would then replace their change.
    bool fileChangedOnDisk() const;

    // The daily copies the saves keep, and what they could not keep.
    BackupGenerations& backups() { return backups_; }

    // --- The history of changes. It starts empty at a new ledger and an open
    // and survives a save; a save is no step.
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    // The kinds of the steps Undo and Redo would take back or bring again.
    std::optional<StepKind> undoKind() const { return history_.undoKind(); }
    std::optional<StepKind> redoKind() const { return history_.redoKind(); }
    // Takes back the last step (with the day changes that followed it): the
    // ledger, the day view and the totals are as they were before it, its
    // day shown with the cells it changed selected.
    void undo();
    void redo();
    // Whether the ledger differs from the one last opened or saved (the
    // history decides: undoing back to it leaves the document unchanged).
    bool modified() const { return !history_.atClean(); }
    const LedgerHistory& history() const { return history_; }

private:
    void recountTotalsAndShowDay();

    // Every change of the ledger runs inside one: the outermost makes the
    // changes one step of its kind (changes only of what is shown, a silent
    // one). Nested scopes join the outer step.
    class StepScope {
    public:
        StepScope(LedgerBook& book, StepKind kind);
        ~StepScope();
        StepScope(const StepScope&) = delete;
        StepScope& operator=(const StepScope&) = delete;

    private:
        LedgerBook& book_;
    };
    void openStep(StepKind kind);
    void closeStep() noexcept;
    DayViewState viewState() const;
    void setViewState(DayViewState state);
    void applyStep(Step& step, Direction direction);
    // The ways the records change, each noted in the open step.
    void addRecord(std::string_view line);
    void removeRecordAt(std::size_t index);
    void replaceRecordAt(std::size_t index, std::string_view line);
    // Before the list changes as a whole.
    LedgerRecords& recordsAsWhole();
    // The new ledger's state without touching the history (which its callers decide).
    void resetToNewLedger();

    // The lock an open in `mode` takes: none when it only reads.
    std::shared_ptr<LockFile> lockFor(const std::string& fileName, OpenMode mode) const;
    // Which records a load keeps.
    enum class LoadScope { WholeLedger, PickedDay };
    void openChecked(std::string fileName, CheckedDataFile& file, std::shared_ptr<LockFile> lock,
                     OpenMode mode, LoadScope scope = LoadScope::WholeLedger);
    void loadLedgerFrom(LedgerFileBytes& in, LoadScope scope);
    void loadLedgerLines(LedgerFileBytes& in, LoadScope scope);

    // The row's cells (joined by TAB) -> the record it shows, for the day's
    // records that have more fields than the day view has columns: shown
    // folded into the last column, they are written back as they were unless
    // the user changed the row.
    std::unordered_multimap<std::string, std::string> foldedRecords_;
    std::string rowKey(int row) const;

    LedgerTable table_;
    LedgerRecords records_;
    std::vector<std::string> recordFields_;  // scratch: the record last split
    std::string dataFileName_;
    LedgerDate pickedDay_;
    int windowWidth_ = kInitialWindowWidth;
    int windowHeight_ = kInitialWindowHeight;
    FileStamp fileStamp_;             // of `dataFileName_` when last read or written
    std::shared_ptr<LockFile> lock_;  // of `dataFileName`, while this ledger may write it
    BackupGenerations backups_;
    bool readOnly_ = false;
    Totals totals_;
    bool dailyLabelsSet_ = false;
    bool cumulativeLabelsSet_ = false;

    LedgerHistory history_;
    Step pending_;  // the step being made while stepDepth_ > 0
    int stepDepth_ = 0;
};

}  // namespace orvo
