// Files in a folder others can write to: no write through another user's
// link, no device, FIFO or folder replaced, no read or lock that waits for
// ever or reads without end, and odd lock files reported as what they are.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>

#include "CoreTestSupport.h"
#include "base/AtomicFile.h"
#include "base/LineReader.h"
#include "base/LockFile.h"
#include "base/ReadFile.h"
#include "ledger/CsvImport.h"
#include "ledger/LedgerBook.h"
#include "ledger/LedgerLock.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 54321;

class SharedFolder : public ::testing::Test {
protected:
    std::string at(const std::string& name) const { return (dir / name).string(); }
    // A link at `name` to `target` that `owner` planted.
    std::string plantLink(const std::string& name, const std::string& target, uid_t owner) const {
        const std::string link = at(name);
        fs::create_symlink(target, link);
        EXPECT_EQ(::lchown(link.c_str(), owner, owner), 0);
        return link;
    }
    bool isFifo(const std::string& path) const {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    }

    testing::ScratchFolder scratch{"shared"};
    const fs::path& dir = scratch.path();
};

TEST_F(SharedFolder, ALinkIsFollowedOnlyAsTheProtectedSymlinksRuleAllows) {
    if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
    const std::string victim = at("secret.txt");
    writeFile(victim, "secret");
    const struct {
        const char* name;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    } cases[] = {
        {"another user's link in a sticky shared folder", 01777, 0, kOtherUser, false},
        {"own link in a sticky shared folder", 01777, 0, 0, true},
        {"another user's link in a folder without the sticky bit", 0777, 0, kOtherUser, true},
        {"another user's link in a sticky folder others cannot write", 01755, 0, kOtherUser, true},
        {"the folder owner's link in a sticky shared folder", 01777, kOtherUser, kOtherUser, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(victim, "secret");
        const fs::path folder = dir / "shared";
        fs::create_directory(folder);
        ASSERT_EQ(::chown(folder.c_str(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        const std::string link = plantLink("shared/book.dat", victim, c.linkOwner);
        const std::string dangling = plantLink("shared/new.dat", at("made.dat"), c.linkOwner);
        const std::string error = errorOf([&] { writeFileAtomically(link, "ledger"); });
        const std::string danglingError = errorOf([&] { writeFileAtomically(dangling, "x"); });
        if (c.followed) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(readFile(victim), "ledger");
            EXPECT_TRUE(fs::exists(at("made.dat")));
        } else {
            EXPECT_EQ(error, "ファイル " + link +
                                 " はほかのユーザーのシンボリックリンクのため、書き込めません");
            EXPECT_NE(danglingError, "");
            EXPECT_EQ(readFile(victim), "secret");
            EXPECT_FALSE(fs::exists(at("made.dat")));
            // Nor through a ledger's save, which would keep the old text as a backup.
            LedgerBook book;
            book.startNewLedger();
            book.setDataFileName(link);
            EXPECT_NE(errorOf([&] { book.SaveLedger(); }), "");
            EXPECT_FALSE(fs::exists(victim + ".bak"));
            EXPECT_FALSE(fs::exists(victim + ".lock"));
        }
        fs::remove_all(folder);
        fs::remove(at("made.dat"));
    }
}

TEST_F(SharedFolder, ATargetThatIsNoRegularFileIsRefusedAndLeftAsItIs) {
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0666), 0);
    fs::create_directory(at("folder"));
    fs::create_symlink(at("fifo"), at("link-to-fifo"));
    std::vector<std::string> names = {"fifo", "folder", "link-to-fifo"};
    if (::geteuid() == 0) {
        // A /dev/full of its own.
        ASSERT_EQ(::mknod(at("device").c_str(), S_IFCHR | 0666, ::makedev(1, 7)), 0);
        names.push_back("device");
    }
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(errorOf([&] { writeFileAtomically(at(name), "text"); }),
                  "ファイル " + at(name) + " は通常のファイルではありません");
    }
    EXPECT_TRUE(isFifo(at("fifo")));
    EXPECT_TRUE(fs::is_directory(at("folder")));
    if (::geteuid() == 0) {
        EXPECT_TRUE(fs::is_character_file(at("device")));
    }
    // Nor is a backup put over one.
    writeFile(at("book.dat"), "old");
    ASSERT_EQ(::mkfifo(at("book.dat.bak").c_str(), 0666), 0);
    AtomicFileWriter out(at("book.dat"), {}, Backup::KeepPrevious);
    out.write("new");
    EXPECT_NE(errorOf([&] { out.commit(); }), "");
    EXPECT_EQ(readFile(at("book.dat")), "old");
    EXPECT_TRUE(isFifo(at("book.dat.bak")));
}

TEST_F(SharedFolder, ReadingAFifoOrDeviceIsRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0666), 0);
    for (const std::string& path : {at("fifo"), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        const std::string refusal = "ファイル " + path + " は通常のファイルではありません";
        EXPECT_EQ(errorOf([&] { openForReading(path); }), refusal);
        EXPECT_EQ(errorOf([&] { readTextLines(path, path); }), refusal);
        LedgerBook book;
        book.startNewLedger();
        CsvImportHooks hooks;
        EXPECT_EQ(errorOf([&] { importCsv(book, path, hooks); }), refusal);
    }
    EXPECT_EQ(errorOf([&] { openForReading(at("none")); }),
              "ファイル " + at("none") + " が見つかりません");
}

TEST_F(SharedFolder, EveryReaderStopsAtALineLongerThanTheLedgersLimit) {
    writeFile(at("long.txt"), std::string(kLongestLine + 1, 'x') + "\r\na\r\n");
    const std::string refusal =
        "ファイル " + at("long.txt") + " には長すぎる行 (16 MB 超) があり、読み込めません";
    EXPECT_EQ(errorOf([&] { readTextLines(at("long.txt"), at("long.txt")); }), refusal);
    LedgerBook book;
    book.startNewLedger();
    CsvImportHooks hooks;
    EXPECT_EQ(errorOf([&] { importCsv(book, at("long.txt"), hooks); }), refusal);
    // A line of the limit itself is read.
    writeFile(at("limit.txt"), std::string(kLongestLine, 'x'));
    EXPECT_EQ(readTextLines(at("limit.txt"), "").at(0).size(), kLongestLine);
}

TEST_F(SharedFolder, ASaveThatWouldWriteALineNoLoadCanReadIsRefused) {
    LedgerBook book;
    book.startNewLedger();
    book.addRecords({"2026/01/05\tA\t\t5\t0\t" + std::string(kLongestLine, 'x')});
    book.setDataFileName(at("book.dat"));
    writeFile(book.dataFileName(), "old");
    EXPECT_EQ(
        errorOf([&] { book.SaveLedger(); }),
        "ファイル " + at("book.dat") + " に長すぎる行 (16 MB 超) ができるため、書き込めません");
    EXPECT_EQ(readFile(at("book.dat")), "old");
    EXPECT_FALSE(fs::exists(at("book.dat.bak")));
}

TEST_F(SharedFolder, ALockFileThatIsNoLockFileIsReportedAsWhatItIs) {
    const std::string data = at("book.dat");
    const std::string lock = data + ".lock";
    const struct {
        const char* reason;
        std::function<void()> plant;
    } cases[] = {
        {"通常のファイルではありません", [&] { ::mkfifo(lock.c_str(), 0666); }},
        {"フォルダーです", [&] { fs::create_directory(lock); }},
        {"壊れたシンボリックリンクです", [&] { fs::create_symlink(at("gone"), lock); }},
        {"シンボリックリンクです",
         [&] {
             ::mkfifo(at("fifo").c_str(), 0666);
             fs::create_symlink(at("fifo"), lock);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        c.plant();
        EXPECT_EQ(errorOf([&] { lockLedger(data, nullptr); }),
                  "ロックファイル " + lock + " を使えません (" + c.reason +
                      ")。ほかのプログラムが使っていなければ、これを削除してください");
        fs::remove_all(lock);
        fs::remove(at("fifo"));
    }
}

TEST_F(SharedFolder, AnEmptyLockFileIsStaleAtOnceUnlessItsFlockIsHeld) {
    const std::string lock = at("book.dat.lock");
    writeFile(lock, "");
    {
        // Its maker is still at it: between making the file and writing its lines.
        const int maker = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(maker, LOCK_EX | LOCK_NB), 0);
        LockFile other(lock);
        EXPECT_EQ(other.tryLock(), LockOutcome::HeldByOther);
        ::close(maker);
    }
    LockFile next(lock);
    EXPECT_EQ(next.tryLock(), LockOutcome::Locked);
    EXPECT_EQ(LockFile::ownerOf(lock)->pid, ::getpid());
}

}  // namespace
}  // namespace orvo
