#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "base/WriteTarget.h"

namespace orvo {

namespace {

std::string nameForMessage(const std::string& path) {
    return cp932::fromUtf8(path).bytes;
}

// Writes through a symbolic link to the file it names, so the link stays;
// also a link whose file does not exist yet (as base/WriteTarget.h allows).
std::string resolvedTarget(const std::string& path) {
    return writeTargetOf(path);
}

// A temporary name in the target's folder short enough for any target name:
// the full name plus a suffix would pass the 255-byte limit of long names.
std::string temporaryPattern(const std::string& target) {
    const std::filesystem::path p(target);
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a of the file name
    for (const unsigned char c : p.filename().string()) hash = (hash ^ c) * 1099511628211ull;
    char name[64];
    std::snprintf(name, sizeof name, ".orvo-%016llx-XXXXXX", static_cast<unsigned long long>(hash));
    return (p.parent_path() / name).string();
}
constexpr std::size_t kTemporaryPatternEnd = 6;  // the X's, which mkstemp replaces

// Whether `name` is a temporary file of a save whose pattern's file name
// part is `pattern`: mkstemp's letters in place of the X's, or those and the
// ".bak" of the backup's second name.
bool isTemporaryOf(std::string_view name, std::string_view pattern) {
    const std::string_view start = pattern.substr(0, pattern.size() - kTemporaryPatternEnd);
    if (!name.starts_with(start)) return false;
    name.remove_prefix(start.size());
    if (name.ends_with(".bak")) name.remove_suffix(4);
    if (name.size() != kTemporaryPatternEnd) return false;
    for (const char c : name)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

// Neither this user nor anyone else may write it: the user protected it.
bool writeProtected(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool syncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path, WriteFaults faults, Backup backup)
    : path_(resolvedTarget(path)), faults_(faults), backup_(backup) {
    struct stat old {};
    const bool exists = ::stat(path_.c_str(), &old) == 0;
    if (exists && writeProtected(path_, old)) throw cannotCreateFile(nameForMessage(path));
    const std::string name = temporaryPattern(path_);
    std::vector<char> pattern(name.begin(), name.end());
    pattern.push_back('\0');
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw cannotCreateFile(nameForMessage(path));
    tempPath_ = pattern.data();
    // The new file keeps the old one's owner (where this process may set it)
    // and permissions, so its owner can still open it after an admin's save.
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) {
        ::close(fd);
        ::unlink(tempPath_.c_str());
        throw cannotCreateFile(nameForMessage(path));
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : modeForNewFile();
    if (::fchmod(fd, mode) != 0) {
        ::close(fd);
        ::unlink(tempPath_.c_str());
        throw cannotCreateFile(nameForMessage(path));
    }
    fd_ = fd;
    pending_.reserve(kPendingLimit + 4096);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (committed_) return;
    if (fd_ >= 0) ::close(fd_);
    ::unlink(tempPath_.c_str());
}

void AtomicFileWriter::fail() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(tempPath_.c_str());
    committed_ = true;  // nothing left for the destructor
    throw cannotWriteFile(nameForMessage(path_));
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (faults_.failAfterBytes && written_ + bytes.size() > *faults_.failAfterBytes) {
        pending_.append(bytes.substr(0, *faults_.failAfterBytes - written_));
        flushPending();
        fail();
    }
    // Collected here: a ledger is written a short line at a time, and one
    // large write costs less than many small ones. A large piece goes to the
    // file as it is.
    written_ += bytes.size();
    if (bytes.size() >= kPendingLimit) {
        flushPending();
        writeOut(bytes);
        return;
    }
    pending_.append(bytes);
    if (pending_.size() >= kPendingLimit) flushPending();
}

void AtomicFileWriter::flushPending() {
    writeOut(pending_);
    pending_.clear();
}

// Straight to the file. Every few megabytes the system is asked to start
// putting them on disk, so that the sync at the end has less left to wait
// for (it still waits for all of them).
void AtomicFileWriter::writeOut(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fail();
        bytes.remove_prefix(static_cast<std::size_t>(n));
        handedOut_ += static_cast<std::uint64_t>(n);
    }
#ifdef SYNC_FILE_RANGE_WRITE
    constexpr std::uint64_t kWriteBackStep = std::uint64_t{8} << 20;
    if (handedOut_ - writtenBack_ >= kWriteBackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(writtenBack_),
                          static_cast<off_t>(handedOut_ - writtenBack_), SYNC_FILE_RANGE_WRITE);
        writtenBack_ = handedOut_;
    }
#endif
}

void AtomicFileWriter::commit() {
    flushPending();
    if (::fsync(fd_) != 0) fail();
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) fail();
    if (backup_ == Backup::KeepPrevious) keepBackup();
    if (faults_.failRename || ::rename(tempPath_.c_str(), path_.c_str()) != 0) fail();
    // The rename is only durable once the folder is on disk too; until then a
    // power cut may bring the old file back, so the save is not done yet.
    if (faults_.failFolderSync || !syncFolderOf(path_)) fail();
    committed_ = true;
}

void AtomicFileWriter::keepBackup() {
    // A second name for the old file, then moved over the older backup in one
    // step: the old file itself is never copied or changed.
    const std::string backup = path_ + ".bak";
    const std::string link = tempPath_ + ".bak";
    if (::access(path_.c_str(), F_OK) != 0) return;  // nothing to keep yet
    struct stat old {};
    if (::lstat(backup.c_str(), &old) == 0 && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) {
        ::unlink(tempPath_.c_str());
        committed_ = true;
        throw notARegularFile(nameForMessage(backup));
    }
    if (faults_.failBackup || ::link(path_.c_str(), link.c_str()) != 0 ||
        ::rename(link.c_str(), backup.c_str()) != 0) {
        ::unlink(link.c_str());
        ::unlink(tempPath_.c_str());
        committed_ = true;
        throw cannotCreateFile(nameForMessage(backup));
    }
}

std::string saveTargetOf(const std::string& path) {
    return resolvedTarget(path);
}

bool canReplaceFile(const std::string& path) {
    const std::string target = resolvedTarget(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && writeProtected(target, st)) return false;
    std::string folder = std::filesystem::path(target).parent_path().string();
    if (folder.empty()) folder = ".";
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

void removeInterruptedSaves(const std::string& path) {
    const std::filesystem::path pattern(temporaryPattern(resolvedTarget(path)));
    std::filesystem::path folder = pattern.parent_path();
    if (folder.empty()) folder = ".";
    const std::string patternName = pattern.filename().string();
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        // One that cannot be removed now goes at a later save.
        if (isTemporaryOf(it->path().filename().string(), patternName))
            ::unlink(it->path().c_str());
    }
}

void writeFileAtomically(const std::string& path, std::string_view contents, WriteFaults faults) {
    AtomicFileWriter w(path, faults);
    w.write(contents);
    w.commit();
}

}  // namespace orvo
