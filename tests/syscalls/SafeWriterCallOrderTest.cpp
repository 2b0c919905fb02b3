// The safe writer's promise rests on the order of its system calls: the new
// file complete and synced before it is renamed over the old one, and the
// folder synced after the rename. The calls are interposed here (this binary's
// definitions come before the C library's) and checked against what they saw.

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "support/ScratchFolder.h"

namespace {

struct Call {
    enum Kind { SyncFile, SyncFolder, Rename } kind;
    ino_t inode = 0;     // the file synced or renamed, the folder synced
    off_t size = 0;      // of the file synced or renamed, at that moment
    std::string target;  // of a rename
};

bool tracing = false;
std::vector<Call> calls;

template <class F>
F real(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

void noteSync(int fd) {
    struct stat st {};
    if (!tracing || ::fstat(fd, &st) != 0) return;
    calls.push_back(
        {S_ISDIR(st.st_mode) ? Call::SyncFolder : Call::SyncFile, st.st_ino, st.st_size, {}});
}

}  // namespace

extern "C" int fsync(int fd) {
    noteSync(fd);
    return real<int (*)(int)>("fsync")(fd);
}

extern "C" int fdatasync(int fd) {
    noteSync(fd);
    return real<int (*)(int)>("fdatasync")(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    struct stat st {};
    if (tracing && ::stat(from, &st) == 0)
        calls.push_back({Call::Rename, st.st_ino, st.st_size, to});
    return real<int (*)(const char*, const char*)>("rename")(from, to);
}

namespace orvo {
namespace {

namespace fs = std::filesystem;

TEST(SafeWriterCallOrder, DataSyncedBeforeTheRenameAndTheFolderAfterIt) {
    const testing::ScratchFolder scratch("writer-call-order");
    const fs::path& dir = scratch.path();
    const std::string target = (dir / "ledger.dat").string();
    std::string contents;
    for (int i = 0; i < 50000; ++i) contents += "2026/12/08\tline " + std::to_string(i) + "\r\n";
    writeFileAtomically(target, "old\r\n");

    for (const Backup backup : {Backup::None, Backup::KeepPrevious}) {
        calls.clear();
        tracing = true;
        {
            AtomicFileWriter out(target, {}, backup);
            out.write(contents);
            out.commit();
        }
        tracing = false;

        std::size_t renamed = calls.size();
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].kind == Call::Rename && calls[i].target == target) renamed = i;
        ASSERT_LT(renamed, calls.size()) << "no rename onto the file";
        const Call& rename = calls[renamed];
        EXPECT_EQ(rename.size, static_cast<off_t>(contents.size()));
        bool syncedWhole = false;
        for (std::size_t i = 0; i < renamed; ++i)
            syncedWhole |= calls[i].kind == Call::SyncFile && calls[i].inode == rename.inode &&
                           calls[i].size == rename.size;
        EXPECT_TRUE(syncedWhole) << "the complete file was not synced before the rename";
        struct stat folder {};
        ASSERT_EQ(::stat(dir.c_str(), &folder), 0);
        bool folderSynced = false;
        for (std::size_t i = renamed + 1; i < calls.size(); ++i)
            folderSynced |= calls[i].kind == Call::SyncFolder && calls[i].inode == folder.st_ino;
        EXPECT_TRUE(folderSynced) << "the folder was not synced after the rename";
    }
}

}  // namespace
}  // namespace orvo
