#pragma once
// An exclusive lock that a file beside the locked one stands for, telling
// other processes who holds it. The protocol is the one Qt's QLockFile keeps
// on Unix, so that the program, its command-line front and any Qt program
// honour each other's locks:
// - the lock file is created with O_CREAT | O_EXCL; it exists while the lock
//   is held;
// - it holds the owner's process id, program name (the executable's file
//   name), host name, machine id and boot id, one per line;
// - the owner keeps an flock() on it, which the system lets go of when the
//   owner ends, however it ends.
// A lock whose owner is gone (on this machine: its process no longer runs,
// or the machine was restarted since), or that names no owner (its owner
// ended while making it), and whose flock is free is stale and is taken
// over. Two processes taking over the same stale lock agree through a second
// lock, "NAME.rmlock", as Qt does. Something other than a regular file in the
// lock file's place (a folder, a link, a FIFO), or one that cannot be read,
// is never taken over: it stays in the way until someone removes it.

#include <optional>
#include <string>

namespace orvo {

// Who holds a lock, as its lock file says.
struct LockOwner {
    long long pid = 0;
    std::string programName;  // as the file system names it (UTF-8 on this system)
    std::string hostName;
};

enum class LockOutcome {
    Locked,       // this object holds the lock now
    HeldByOther,  // a live owner holds it
    Unavailable,  // no lock file can be made there (read-only folder, name too long, ...)
    Unusable,     // something that is no readable lock file is in its place
};

class LockFile {
public:
    // Does not lock yet; `path` is the lock file's own name.
    explicit LockFile(std::string path);
    ~LockFile();  // unlocks
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Never waits: a held lock is reported at once.
    LockOutcome tryLock();
    // Removes the lock file and lets go of the flock.
    void unlock();
    bool isLocked() const { return fd_ >= 0; }
    // What is in the lock file's place after Unusable, as a phrase for a
    // message (CP932): "フォルダーです", "壊れたシンボリックリンクです", ...
    const std::string& unusableReason() const { return unusableReason_; }
    const std::string& path() const { return path_; }
    // Whether this object holds the lock file named `path` (the same file,
    // whichever way it is named).
    bool holds(const std::string& path) const;

    // The owner the lock file at `path` names; nothing when it is missing,
    // unreadable or not (yet) filled in.
    static std::optional<LockOwner> ownerOf(const std::string& path);

private:
    std::string path_;
    std::string unusableReason_;
    int fd_ = -1;
};

}  // namespace orvo
