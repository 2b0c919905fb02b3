#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/Cp932.h"
#include "base/OrvoError.h"

namespace orvo {

namespace {

std::string nameForMessage(const std::string& path) {
    return cp932::fromUtf8(path).bytes;
}

// Writes through a symbolic link to the file it names, so the link stays.
std::string resolvedTarget(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p(path);
    if (std::filesystem::is_symlink(p, ec)) {
        auto target = std::filesystem::canonical(p, ec);
        if (!ec) return target.string();
    }
    return path;
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

AtomicFileWriter::AtomicFileWriter(std::string path, WriteFaults faults)
    : path_(resolvedTarget(path)), faults_(faults) {
    std::vector<char> pattern(path_.begin(), path_.end());
    const std::string suffix = ".~tmpXXXXXX";
    pattern.insert(pattern.end(), suffix.begin(), suffix.end());
    pattern.push_back('\0');
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw cannotCreateFile(nameForMessage(path));
    tempPath_ = pattern.data();
    // The new file keeps the old one's permissions.
    struct stat old {};
    const mode_t mode = ::stat(path_.c_str(), &old) == 0 ? (old.st_mode & 07777) : modeForNewFile();
    file_ = ::fchmod(fd, mode) == 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!file_) {
        ::close(fd);
        ::unlink(tempPath_.c_str());
        throw cannotCreateFile(nameForMessage(path));
    }
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    pending_.reserve(kPendingLimit + 4096);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (committed_) return;
    if (file_) std::fclose(file_);
    ::unlink(tempPath_.c_str());
}

void AtomicFileWriter::fail() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
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
    // large write costs less than many small ones through stdio.
    pending_.append(bytes);
    written_ += bytes.size();
    if (pending_.size() >= kPendingLimit) flushPending();
}

void AtomicFileWriter::flushPending() {
    if (!pending_.empty() &&
        std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
        pending_.clear();
        fail();
    }
    pending_.clear();
}

void AtomicFileWriter::commit() {
    flushPending();
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) fail();
    if (std::fclose(file_) != 0) {
        file_ = nullptr;
        fail();
    }
    file_ = nullptr;
    if (faults_.failRename || ::rename(tempPath_.c_str(), path_.c_str()) != 0) fail();
    // The rename is only durable once the folder is on disk too; until then a
    // power cut may bring the old file back, so the save is not done yet.
    if (faults_.failFolderSync || !syncFolderOf(path_)) fail();
    committed_ = true;
}

void writeFileAtomically(const std::string& path, std::string_view contents, WriteFaults faults) {
    AtomicFileWriter w(path, faults);
    w.write(contents);
    w.commit();
}

}  // namespace orvo
