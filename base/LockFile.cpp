#include "base/LockFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace orvo {

namespace {

struct LockRecord {
    LockOwner owner;
    std::string machineId;
    std::string bootId;
};

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    return s;
}

// The first line of a small file, "" when it cannot be read.
std::string firstLineOf(const char* path) {
    std::FILE* f = std::fopen(path, "re");
    if (!f) return {};
    char line[256];
    std::string text = std::fgets(line, sizeof line, f) ? line : "";
    std::fclose(f);
    return trimmed(std::move(text));
}

std::string machineId() {
    std::string id = firstLineOf("/etc/machine-id");
    return id.empty() ? firstLineOf("/var/lib/dbus/machine-id") : id;
}

std::string bootId() {
    return firstLineOf("/proc/sys/kernel/random/boot_id");
}

std::string hostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file name of the program process `pid` runs; nothing when the system
// has no /proc to tell, "" when it does not tell for this process.
std::optional<std::string> programNameOf(long long pid) {
    if (::access("/proc/self/exe", F_OK) != 0) return std::nullopt;
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    std::vector<char> target(PATH_MAX + 1);
    const ssize_t n = ::readlink(link.c_str(), target.data(), target.size() - 1);
    if (n <= 0) return std::string();
    std::string path(target.data(), static_cast<std::size_t>(n));
    const std::string deleted = " (deleted)";  // the program was replaced since it started
    if (path.size() > deleted.size() && path.ends_with(deleted))
        path.resize(path.size() - deleted.size());
    return baseName(path);
}

std::string lockContents() {
    const long long pid = ::getpid();
    return std::to_string(pid) + '\n' + programNameOf(pid).value_or("") + '\n' + hostName() + '\n' +
           machineId() + '\n' + bootId() + '\n';
}

// Opened without waiting and without following a link: whoever can make a
// file beside the ledger could put a FIFO there.
int openLockFileToRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<LockRecord> readRecord(const std::string& path) {
    const int fd = openLockFileToRead(path);
    if (fd < 0) return std::nullopt;
    char bytes[8192];  // five short lines
    std::size_t got = 0;
    for (ssize_t n = 0; got < sizeof bytes; got += static_cast<std::size_t>(n)) {
        n = ::read(fd, bytes + got, sizeof bytes - got);
        if (n < 0 && errno == EINTR)
            n = 0;
        else if (n <= 0)
            break;
    }
    ::close(fd);
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < got && lines.size() <= 5; ++i) {
        if (bytes[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += bytes[i];
    }
    for (std::string& line : lines) line = trimmed(std::move(line));
    lines.resize(5);
    char* end = nullptr;
    errno = 0;
    const long long pid = std::strtoll(lines[0].c_str(), &end, 10);
    if (lines[0].empty() || *end != '\0' || errno != 0 || pid <= 0 || pid > INT_MAX)
        return std::nullopt;
    return LockRecord{{pid, lines[1], lines[2]}, lines[3], lines[4]};
}

// Whether the process that wrote `record` still runs. A process of another
// user that cannot be looked at counts as gone here, as for QLockFile: its
// flock, which no one else can take while it runs, is what keeps its lock.
bool ownerRuns(const LockRecord& record) {
    const auto pid = static_cast<pid_t>(record.owner.pid);
    if (::kill(pid, 0) == -1 && errno == ESRCH) return false;
    const std::optional<std::string> program = programNameOf(pid);
    return !program || *program == baseName(record.owner.programName);
}

// Whether the lock file at `path` was left by an owner that is gone, or
// names none (its owner ended between making it and writing its lines; one
// still at it holds the flock, which the removal looks at). An owner on
// another machine cannot be looked at, so its lock is never stale.
bool looksStale(const std::string& path) {
    const std::optional<LockRecord> record = readRecord(path);
    if (!record) return true;
    const std::string ourMachine = machineId();
    const bool sameMachine =
        !record->machineId.empty() && !ourMachine.empty()
            ? record->machineId == ourMachine
            : record->owner.hostName.empty() || record->owner.hostName == hostName();
    if (!sameMachine) return false;
    if (!record->machineId.empty() && !record->bootId.empty() && record->bootId != bootId())
        return true;  // written before the machine was last started
    return !ownerRuns(*record);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the lock file at `path` when its owner is gone and its flock is
// free; true when it is gone (and the lock may be tried again).
bool removeIfStale(const std::string& path) {
    if (!looksStale(path)) return false;
    // Only one process removes it: another one could otherwise remove the
    // lock that the first has just made in its place.
    LockFile removal(path + ".rmlock");
    if (removal.tryLock() != LockOutcome::Locked || !looksStale(path)) return false;
    const int fd = openLockFileToRead(path);
    if (fd < 0) return errno == ENOENT;  // gone already
    struct stat held {};
    struct stat named {};
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
                         ::stat(path.c_str(), &named) == 0 && sameFile(held, named) &&
                         ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

// Why what is at `path`, which exists, can be no lock file; "" when it can.
std::string whyUnusable(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return {};
    if (S_ISLNK(st.st_mode)) {
        struct stat target {};
        return ::stat(path.c_str(), &target) != 0 ? "壊れたシンボリックリンクです"
                                                  : "シンボリックリンクです";
    }
    if (S_ISDIR(st.st_mode)) return "フォルダーです";
    if (!S_ISREG(st.st_mode)) return "通常のファイルではありません";
    const int fd = openLockFileToRead(path);
    if (fd < 0) return errno == ENOENT ? std::string() : "読み取れません";
    ::close(fd);
    return {};
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

LockFile::LockFile(std::string path) : path_(std::move(path)) {}

LockFile::~LockFile() {
    unlock();
}

LockOutcome LockFile::tryLock() {
    if (fd_ >= 0) return LockOutcome::Locked;
    // Made first: running out of memory between creating the file and
    // writing it would leave a lock that names this live process behind.
    const std::string contents = lockContents();
    // Once more after a stale lock was removed; a third failure means that
    // someone else is taking it at the same time.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // A file system without flock still has the lock file and the
            // owner it names, as for QLockFile. An flock held already is a
            // removal's that took the new, still empty file for a stale one:
            // it goes, and the lock is tried again.
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
                ::close(fd);
                continue;
            }
            if (!writeAll(fd, contents)) {  // a full disk
                ::close(fd);
                ::unlink(path_.c_str());
                return LockOutcome::Unavailable;
            }
            (void)::fdatasync(fd);
            fd_ = fd;
            return LockOutcome::Locked;
        }
        if (errno != EEXIST) return LockOutcome::Unavailable;
        unusableReason_ = whyUnusable(path_);
        if (!unusableReason_.empty()) return LockOutcome::Unusable;
        if (!removeIfStale(path_)) return LockOutcome::HeldByOther;
    }
    return LockOutcome::HeldByOther;
}

void LockFile::unlock() {
    if (fd_ < 0) return;
    // Removed while the flock is still held, and only if it is still ours:
    // someone may have removed it by hand and another owner made a new one.
    if (holds(path_)) ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

bool LockFile::holds(const std::string& path) const {
    struct stat held {};
    struct stat named {};
    return fd_ >= 0 && ::fstat(fd_, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           sameFile(held, named);
}

std::optional<LockOwner> LockFile::ownerOf(const std::string& path) {
    if (std::optional<LockRecord> record = readRecord(path)) return record->owner;
    return std::nullopt;
}

}  // namespace orvo
