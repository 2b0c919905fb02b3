// One writer per ledger: the lock beside the ledger, taken by an open for
// writing and by every save, refused while another process holds it, taken
// over from an owner that is gone; and the saves' leftovers removed under it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "CoreTestSupport.h"
#include "base/AtomicFile.h"
#include "base/LockFile.h"
#include "ledger/LedgerBook.h"
#include "ledger/LedgerLock.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;
using OpenMode = LedgerBook::OpenMode;

const std::string kLedger =
    "640\r\n480\r\n2\r\n6\r\n20\r\n20\r\n20\r\n90\r\n90\r\n90\r\n90\r\n160\r\n"
    "A\tB\tC\tD\tE\r\n2026/10/15\tx\t\t5\t0\t\r\n";

class LedgerLock : public ::testing::Test {
protected:
    void SetUp() override {
        ledger = (dir / "book.dat").string();
        writeFile(ledger, kLedger);
    }

    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
        return out;
    }

    // Runs `work` in a child process that then ends without cleaning up, as a
    // program cut off there would.
    template <class F>
    static void inProcessThatDies(F&& work) {
        const pid_t child = ::fork();
        if (child == 0) {
            work();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
    }

    testing::ScratchFolder scratch{"lock"};
    const fs::path dir = scratch.path();
    std::string ledger;
};

TEST_F(LedgerLock, ASecondWriterIsRefusedWithTheOwnerAndNothingChanges) {
    LedgerBook first;
    first.openDataFile(ledger, OpenMode::ForWriting);
    EXPECT_TRUE(fs::exists(ledger + ".lock"));

    LedgerBook second;
    second.startNewLedger();
    const std::string refusal = errorOf([&] { second.openDataFile(ledger, OpenMode::ForWriting); });
    const LockOwner owner = LockFile::ownerOf(ledger + ".lock").value();
    EXPECT_EQ(owner.programName, "core_tests");
    const std::string expected = "ファイル " + ledger + " は core_tests (ホスト " + owner.hostName +
                                 "、プロセス " + std::to_string(::getpid()) + ") が使用中です";
    EXPECT_EQ(refusal, expected);
    EXPECT_EQ(second.dataFileName(), "");

    // Read only, it opens; its save of the same file is refused, byte for byte.
    second.openDataFile(ledger, OpenMode::ForReading);
    EXPECT_TRUE(second.readOnly());
    EXPECT_EQ(second.records().size(), 1u);
    EXPECT_EQ(errorOf([&] { second.SaveLedger(); }), refusal);
    EXPECT_EQ(readFile(ledger), kLedger);

    // Once the writer lets go (New), the other may write it.
    first.startNewLedger();
    EXPECT_FALSE(fs::exists(ledger + ".lock"));
    second.SaveLedger();
    EXPECT_FALSE(second.readOnly());
    EXPECT_TRUE(fs::exists(ledger + ".lock"));
}

TEST_F(LedgerLock, SaveAsMovesTheLockAndIsRefusedWhereAnotherHoldsIt) {
    const std::string other = (dir / "other.dat").string();
    LockFile theirs(other + ".lock");
    ASSERT_EQ(theirs.tryLock(), LockOutcome::Locked);

    LedgerBook book;
    book.openDataFile(ledger, OpenMode::ForWriting);
    EXPECT_NE(errorOf([&] { book.SaveLedgerAs(other); }), "");
    EXPECT_EQ(book.dataFileName(), ledger);
    EXPECT_FALSE(fs::exists(other));
    EXPECT_TRUE(fs::exists(ledger + ".lock"));

    const std::string moved = (dir / "moved.dat").string();
    book.SaveLedgerAs(moved);
    EXPECT_FALSE(fs::exists(ledger + ".lock"));
    EXPECT_TRUE(fs::exists(moved + ".lock"));
}

TEST_F(LedgerLock, ALockWhoseOwnerIsGoneIsTakenOverUnlessItsFlockIsHeld) {
    inProcessThatDies([&] {
        LockFile* leaked = new LockFile(ledger + ".lock");  // never unlocked
        leaked->tryLock();
    });
    ASSERT_TRUE(fs::exists(ledger + ".lock"));
    const std::string deadOwner = readFile(ledger + ".lock");

    // The owner's process is gone, but something still holds the flock.
    const int fd = ::open((ledger + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    LedgerBook book;
    EXPECT_NE(errorOf([&] { book.openDataFile(ledger, OpenMode::ForWriting); }), "");
    EXPECT_EQ(readFile(ledger + ".lock"), deadOwner);
    ::close(fd);

    book.openDataFile(ledger, OpenMode::ForWriting);
    EXPECT_EQ(LockFile::ownerOf(ledger + ".lock")->pid, ::getpid());
    EXPECT_FALSE(fs::exists(ledger + ".lock.rmlock"));
}

// Without any flock on it, a lock file is judged by what it says: one naming
// this running process on this machine since its last start is held; one
// written before the machine last started is stale and taken over.
TEST_F(LedgerLock, AHandWrittenLockIsHeldByALiveOwnerAndStaleFromAnotherBoot) {
    const auto firstLine = [](const char* file) {
        std::string line = readFile(file);
        return line.substr(0, line.find('\n'));
    };
    const std::string machine = firstLine("/etc/machine-id");
    if (machine.empty()) GTEST_SKIP() << "no machine id to name";
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string program = fs::read_symlink("/proc/self/exe").filename().string();
    const std::string lock = ledger + ".lock";
    for (const std::string& boot : {firstLine("/proc/sys/kernel/random/boot_id"),
                                    std::string("00000000-0000-0000-0000-000000000000")}) {
        writeFile(lock, std::to_string(::getpid()) + "\n" + program + "\n" + host + "\n" + machine +
                            "\n" + boot + "\n");
        LockFile taker(lock);
        const bool thisBoot = boot != "00000000-0000-0000-0000-000000000000";
        EXPECT_EQ(taker.tryLock(), thisBoot ? LockOutcome::HeldByOther : LockOutcome::Locked)
            << boot;
        fs::remove(lock);
    }
}

TEST_F(LedgerLock, NoLockBesideTheFileDoesNotStopOpeningOrSaving) {
    // A name with room for ".bak" (the backup), but not for ".lock".
    const std::string longName = (dir / (std::string(247, 'n') + ".dat")).string();
    writeFile(longName, kLedger);
    LedgerBook book;
    book.openDataFile(longName, OpenMode::ForWriting);
    EXPECT_EQ(book.records().size(), 1u);
    book.SaveLedger();
    EXPECT_EQ(readFile(longName), kLedger);
}

TEST_F(LedgerLock, ASaveRemovesOnlyTheLeftoversOfItsOwnLedgersInterruptedSaves) {
    // Saves cut off before their commit(), of a neighbour and of the ledger.
    auto cutOffSave = [&](const std::string& target) {
        const std::set<std::string> before = names();
        inProcessThatDies([&] { (new AtomicFileWriter(target))->write("partial"); });
        for (const std::string& n : names())
            if (!before.count(n)) return n;
        return std::string();
    };
    const std::string neighbours = cutOffSave((dir / "neighbour.dat").string());
    const std::string own = cutOffSave(ledger);
    ASSERT_NE(neighbours, "");
    ASSERT_NE(own, "");
    // The backup's second name is its own too; names only like it are not.
    const std::string stem = own.substr(0, own.size() - 6);
    for (const std::string& n : {own + ".bak", stem + "abc12", stem + "abcdefg", own + ".tmp"})
        writeFile(dir / n, "x");

    LockFile theirs(ledger + ".lock");  // a save in progress elsewhere
    ASSERT_EQ(theirs.tryLock(), LockOutcome::Locked);
    LedgerBook book;
    book.openDataFile(ledger, OpenMode::ForReading);
    EXPECT_NE(errorOf([&] { book.SaveLedger(); }), "");
    EXPECT_TRUE(fs::exists(dir / own));

    theirs.unlock();
    book.SaveLedger();
    const std::set<std::string> expected = {"book.dat",         "book.dat.bak", "book.dat.lock",
                                            "book.dat.backups", neighbours,     stem + "abc12",
                                            stem + "abcdefg",   own + ".tmp"};
    EXPECT_EQ(names(), expected);
}

}  // namespace
}  // namespace orvo
