#include "ledger/LedgerLock.h"

#include "base/AtomicFile.h"
#include "base/Cp932.h"

namespace orvo {

namespace {

LedgerInUse ledgerInUse(const std::string& dataFileName, const std::optional<LockOwner>& owner) {
    const std::string name = cp932::fromUtf8(dataFileName).bytes;
    if (!owner) return LedgerInUse("ファイル " + name + " はほかのプログラムが使用中です");
    return LedgerInUse("ファイル " + name + " は " + cp932::fromUtf8(owner->programName).bytes +
                       " (ホスト " + cp932::fromUtf8(owner->hostName).bytes + "、プロセス " +
                       std::to_string(owner->pid) + ") が使用中です");
}

}  // namespace

std::string ledgerLockName(const std::string& dataFileName) {
    return saveTargetOf(dataFileName) + ".lock";
}

std::shared_ptr<LockFile> lockLedger(const std::string& dataFileName,
                                     const std::shared_ptr<LockFile>& held) {
    const std::string name = ledgerLockName(dataFileName);
    if (held && held->holds(name)) return held;
    auto lock = std::make_shared<LockFile>(name);
    switch (lock->tryLock()) {
        case LockOutcome::Locked:
            return lock;
        case LockOutcome::Unavailable:
            return nullptr;
        case LockOutcome::Unusable:
            throw LedgerInUse("ロックファイル " + cp932::fromUtf8(name).bytes + " を使えません (" +
                              lock->unusableReason() +
                              ")。ほかのプログラムが使っていなければ、これを削除してください");
        case LockOutcome::HeldByOther:
            break;
    }
    throw ledgerInUse(dataFileName, LockFile::ownerOf(name));
}

}  // namespace orvo
