#pragma once
// Writes a file so that it is either replaced whole or left as it was: the text
// goes to a temporary file in the same folder, which is flushed to disk and
// renamed over the old file only when complete; the folder is then synced, so
// that a file reported as written survives a power cut.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

// Test hooks: make the write fail after this many bytes, the final rename
// fail, or the sync of the folder after the rename.
struct WriteFaults {
    std::optional<std::size_t> failAfterBytes;
    bool failRename = false;
    bool failFolderSync = false;
    bool failBackup = false;
};

// Whether a save keeps the version it replaces as "NAME.bak".
enum class Backup { None, KeepPrevious };

class AtomicFileWriter {
public:
    // Creates the temporary file; "ファイル %s を作成できません" when it cannot,
    // or when the file exists and is write-protected (no one may write it, or
    // this user may not): renaming over it would bypass the protection. The
    // target is refused as base/WriteTarget.h says (another user's link, no
    // regular file) before anything is written.
    explicit AtomicFileWriter(std::string path, WriteFaults faults = {},
                              Backup backup = Backup::None);
    ~AtomicFileWriter();  // without commit(): removes the temporary file
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    void writeLine(std::string_view bytes) {
        write(bytes);
        write("\r\n");
    }
    // Flushes, syncs, keeps the backup and renames over the target;
    // "ファイル %s に書き込めません" on failure ("ファイル NAME.bak を
    // 作成できません" when the backup cannot be made; the file is then untouched).
    void commit();

private:
    [[noreturn]] void fail();
    void flushPending();
    void writeOut(std::string_view bytes);
    void keepBackup();

    static constexpr std::size_t kPendingLimit = 1 << 18;

    std::string path_;  // the file to replace
    std::string tempPath_;
    int fd_ = -1;  // the temporary file while open
    WriteFaults faults_;
    Backup backup_ = Backup::None;
    std::string pending_;  // written, not yet handed to the file
    std::size_t written_ = 0;
    std::uint64_t handedOut_ = 0;    // bytes handed to the file
    std::uint64_t writtenBack_ = 0;  // of those, bytes the system was asked to put on disk
    bool committed_ = false;
};

// The file a save of `path` replaces: `path` itself, or the file a symbolic
// link there names (writeTargetOf: its refusals are thrown).
std::string saveTargetOf(const std::string& path);

// Removes the temporary files that interrupted saves of `path` left in its
// folder: only the ones of its own name pattern. The caller must be sure that
// no save of `path` is running elsewhere (it holds the file's lock).
void removeInterruptedSaves(const std::string& path);

// Whether a save could replace `path` now: the file (when it exists) is not
// write-protected and its folder takes new files.
bool canReplaceFile(const std::string& path);

// Writes a whole text at once, safely as above.
void writeFileAtomically(const std::string& path, std::string_view contents,
                         WriteFaults faults = {});

}  // namespace orvo
