#pragma once
// A file opened as a ledger is read whole and checked before anything of the
// ledger in hand changes: a file that is plainly something else, or one no
// ledger could be (a line longer than any record), is refused, so the next
// save cannot replace someone's file with an empty or cut-down ledger.

#include <memory>
#include <string>

#include "base/OrvoError.h"
#include "base/ReadFile.h"
#include "ledger/FileStamp.h"
#include "ledger/LedgerFileBytes.h"

namespace orvo {

// "ファイル %s は家計簿のデータではありません", or a line too long to read: the
// front ends show it as a warning, and nothing has changed.
class NotALedgerFile : public OrvoError {
public:
    using OrvoError::OrvoError;
};

// The two refusals' texts for `path` (a native path).
NotALedgerFile notALedgerFile(const std::string& path);
NotALedgerFile lineTooLongIn(const std::string& path);

// The bytes of a data file about to be opened. Throws NotALedgerFile when
// `path` (a native path) is a non-empty file whose first character is not a
// digit from "1" to "9", as a ledger's is, or that holds a line longer than
// LedgerFileBytes::kLongestLine (a pipe's overlong line stops its load
// instead). A missing or unreadable file, or one that is no regular file
// (a FIFO only where `pipes` allows it), holds nothing (the load gives it its
// own message); an empty file passes. The file stays open for the load.
class CheckedDataFile {
public:
    explicit CheckedDataFile(const std::string& path, PipeUse pipes = PipeUse::Refused,
                             FileReading reading = FileReading::Loaded);

    // Null when the file could not be opened.
    LedgerFileBytes* bytes() { return bytes_.get(); }
    // The file as it was when it was read.
    const FileStamp& stamp() const { return stamp_; }

private:
    OwnedFile file_;
    std::unique_ptr<LedgerFileBytes> bytes_;
    FileStamp stamp_;
};

}  // namespace orvo
