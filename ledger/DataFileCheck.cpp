#include "ledger/DataFileCheck.h"

#include <cstdio>

#include "base/Cp932.h"

namespace orvo {

CheckedDataFile::CheckedDataFile(const std::string& path) {
    // Noted before the read, so a change made while it runs counts as a change.
    stamp_ = FileStamp::of(path);
    try {
        file_ = openForReading(path);
    } catch (const OrvoError&) {
        return;
    }
    bytes_ = std::make_unique<LedgerFileBytes>(::fileno(file_.get()));
    const std::string name = cp932::fromUtf8(path).bytes;
    // A ledger is recognised by its first character, the window width's first digit.
    const char* first = bytes_->position();
    if (!bytes_->atEnd() && (*first < '1' || *first > '9'))
        throw NotALedgerFile("ファイル " + name + " は家計簿のデータではありません");
    if (bytes_->hasOverlongLine())
        throw NotALedgerFile("ファイル " + name +
                             " には長すぎる行 (16 MB 超) があり、読み込めません");
}

}  // namespace orvo
