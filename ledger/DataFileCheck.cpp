#include "ledger/DataFileCheck.h"

#include <cstdio>

#include "base/Cp932.h"

namespace orvo {

NotALedgerFile notALedgerFile(const std::string& path) {
    return NotALedgerFile("ファイル " + cp932::fromUtf8(path).bytes +
                          " は家計簿のデータではありません");
}

NotALedgerFile lineTooLongIn(const std::string& path) {
    return NotALedgerFile(lineTooLong(cp932::fromUtf8(path).bytes).what());
}

CheckedDataFile::CheckedDataFile(const std::string& path, PipeUse pipes, FileReading reading) {
    // Noted before the read, so a change made while it runs counts as a change.
    stamp_ = FileStamp::of(path);
    try {
        file_ = openForReading(path, nullptr, pipes);
    } catch (const OrvoError&) {
        return;
    }
    bytes_ = std::make_unique<LedgerFileBytes>(::fileno(file_.get()), reading);
    // A ledger is recognised by its first character, the window width's first digit.
    const int first = bytes_->peek();
    if (first != -1 && (first < '1' || first > '9')) throw notALedgerFile(path);
    if (bytes_->hasOverlongLine()) throw lineTooLongIn(path);
}

}  // namespace orvo
