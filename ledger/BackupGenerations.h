#pragma once
// The copies a save keeps of a ledger file beside its "NAME.dat.bak": the
// first save of a day keeps the file as it was before into the folder
// "NAME.dat.backups", named by the day ("NAME.2026-12-09.dat"). The last 7
// copies stay, and the first copy of each of the last 12 months; older ones go.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/OrvoError.h"
#include "ledger/LedgerDate.h"

namespace orvo {

struct BackupCopy {
    LedgerDate day;
    std::string path;  // native
    std::uintmax_t size = 0;
};

// The folder of the copies of `dataFile` (a native path), beside the file a
// save replaces (the one a symbolic link names).
std::string backupFolderOf(const std::string& dataFile);
// The copy of `dataFile` kept on `day`.
std::string backupCopyOf(const std::string& dataFile, const LedgerDate& day);
// The copies of `dataFile` there are, newest first. Other files in the folder
// are not copies and are left alone.
std::vector<BackupCopy> backupCopiesOf(const std::string& dataFile);

// Of copies kept on `days`, the days whose copy stays on `today`, newest
// first: the 7 newest, and the oldest of each month from 11 months before
// today's up to today's.
std::vector<LedgerDate> backupDaysToKeep(std::vector<LedgerDate> days, const LedgerDate& today);

// The number of records in the ledger file `path`, as a load would read them;
// none when it cannot be read or is no ledger.
std::optional<std::size_t> recordCountOf(const std::string& path);

// The day by the computer's clock, in its time zone.
LedgerDate localToday();

// What a ledger's saves do about the copies: each save calls keepBefore().
class BackupGenerations {
public:
    using Clock = std::function<LedgerDate()>;

    // The day copies are named by; the computer's clock unless a test sets one.
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // Before a save replaces `dataFile`: on the first save of the day, keeps
    // the file as it is now as the day's copy, then removes the copies the
    // rule no longer keeps. Nothing when the file does not exist yet or is no
    // plain file. Never throws: a copy that cannot be made is kept for
    // takeFailure() ("ファイル COPY を作成できません") and tried again at the next save.
    void keepBefore(const std::string& dataFile);

    // The copy the last keepBefore() could not make, once for each file and
    // day: the saves after it that fail the same way report nothing.
    std::optional<OrvoError> takeFailure();

private:
    Clock clock_ = localToday;
    std::optional<OrvoError> failure_;
    std::string reported_;  // the copy whose failure was reported
};

}  // namespace orvo
