// The safe writer keeps what the user set on the file it replaces: write
// protection, owner, links, a backup of the previous version; and it can save
// under any name the folder can hold.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "CoreTestSupport.h"
#include "base/AtomicFile.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

class SafeWriter : public ::testing::Test {
protected:
    // Names left in the folder besides `keep`.
    std::vector<std::string> leftovers(std::initializer_list<std::string> keep) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (std::find(keep.begin(), keep.end(), name) == keep.end()) names.push_back(name);
        }
        return names;
    }
    testing::ScratchFolder scratch{"writer"};
    const fs::path dir = scratch.path();
};

TEST_F(SafeWriter, AWriteProtectedFileIsRefusedAndLeftAsItWas) {
    const fs::path target = dir / "old.dat";
    writeFile(target, "old");
    ::chmod(target.c_str(), 0444);
    EXPECT_NE(errorOf([&] { writeFileAtomically(target.string(), "new"); }), "");
    EXPECT_EQ(readFile(target), "old");
    EXPECT_TRUE(leftovers({"old.dat"}).empty());
}

TEST_F(SafeWriter, ANameAsLongAsTheFolderAllowsCanBeSaved) {
    std::string name;
    for (int i = 0; i < 81; ++i) name += "\xe6\xbc\xa2";  // a kanji in UTF-8, as paths are
    name += ".dat";
    ASSERT_EQ(name.size(), 247u);
    writeFileAtomically((dir / name).string(), "ledger");
    writeFileAtomically((dir / name).string(), "ledger 2");
    EXPECT_EQ(readFile(dir / name), "ledger 2");
}

TEST_F(SafeWriter, ALinkToAFileNotYetThereStaysALink) {
    fs::create_symlink("real.dat", dir / "link.dat");
    writeFileAtomically((dir / "link.dat").string(), "through the link");
    EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
    EXPECT_EQ(readFile(dir / "real.dat"), "through the link");
}

TEST_F(SafeWriter, TheOwnerOfTheReplacedFileIsKept) {
    if (::geteuid() != 0) GTEST_SKIP() << "only a superuser can save another user's file";
    const fs::path target = dir / "theirs.dat";
    writeFile(target, "old");
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    ::chmod(target.c_str(), 0640);
    writeFileAtomically(target.string(), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(SafeWriter, ABackupKeepsThePreviousVersionOrTheSaveStops) {
    const std::string target = (dir / "book.dat").string();
    auto save = [&](const std::string& text, WriteFaults faults = {}) {
        AtomicFileWriter w(target, faults, Backup::KeepPrevious);
        w.write(text);
        w.commit();
    };
    save("v1");
    EXPECT_FALSE(fs::exists(target + ".bak"));  // nothing to keep yet
    save("v2");
    save("v3");
    EXPECT_EQ(readFile(target), "v3");
    EXPECT_EQ(readFile(target + ".bak"), "v2");

    WriteFaults noBackup;
    noBackup.failBackup = true;
    EXPECT_EQ(errorOf([&] { save("v4", noBackup); }),
              "ファイル " + (dir / "book.dat.bak").string() + " を作成できません");
    EXPECT_EQ(readFile(target), "v3");
    EXPECT_EQ(readFile(target + ".bak"), "v2");
    EXPECT_TRUE(leftovers({"book.dat", "book.dat.bak"}).empty());
}

}  // namespace
}  // namespace orvo
