#pragma once
// One writer per ledger: while a ledger may be written, the lock file
// "NAME.dat.lock" beside the file its saves write says who has it (see
// base/LockFile.h), and no other instance or command writes that file.

#include <memory>
#include <optional>
#include <string>

#include "base/LockFile.h"
#include "base/OrvoError.h"

namespace orvo {

// Another live process holds the ledger's lock: "ファイル %s は %s (ホスト %s、
// プロセス %d) が使用中です", or "ファイル %s はほかのプログラムが使用中です"
// when its lock file does not say who; "ロックファイル %s を使えません (...)。
// ほかのプログラムが使っていなければ、これを削除してください" when something that
// is no lock file is in its place.
class LedgerInUse : public OrvoError {
public:
    using OrvoError::OrvoError;
};

// The lock file of the ledger `dataFileName` (a native path): beside the file
// a save writes (through a symbolic link, the file it names).
std::string ledgerLockName(const std::string& dataFileName);

// The lock of `dataFileName`: `held` when that is already this file's lock,
// else a new one; nullptr when no lock can be made beside the file (a
// read-only folder: the ledger can still be read, and a save there fails on
// its own). Throws LedgerInUse when another process holds it.
std::shared_ptr<LockFile> lockLedger(const std::string& dataFileName,
                                     const std::shared_ptr<LockFile>& held);

}  // namespace orvo
