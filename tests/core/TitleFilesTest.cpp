#include "settings/TitleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TitleShape.h"
#include "settings/DefaultTitles.h"
#include "support/SourceFolders.h"

namespace orvo {
namespace {

using orvo::errorOf;
using testing::abcForest;
using testing::ScratchFolder;
using testing::shapeOf;
using testing::titleNamed;

std::string fixture(const char* name) {
    return orvo::testing::fixturesFolder() + "/titles/" + name;
}

TEST(TitleFiles, AbcTreeIsSavedFlatAndReloadsWithTwoLevels) {
    const ScratchFolder scratch("titles");
    const std::string dir = scratch.path();
    SaveTitleTree(abcForest(), dir);
    EXPECT_EQ(readFile(level1FilePath(dir)), "A\r\nB\r\nC\r\n");
    EXPECT_EQ(readFile(level2FilePath(dir)), "B1,1\r\nB1a,1\r\nB2,1\r\n");

    TitleForest back;
    LoadTitleTree(back, dir);
    EXPECT_EQ(shapeOf(back), "A;B(B1,B1a,B2);C");
}

TEST(TitleFiles, ParentIndexesFollowTheTopLevelOrderAndNeverDecrease) {
    TitleForest f;
    for (const char* t : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"})
        f.addLastChild(kNoTitle, t);
    f.addLastChild(titleNamed(f, "d"), "d1");
    f.addLastChild(titleNamed(f, "k"), "k1");
    f.addLastChild(titleNamed(f, "k"), "k2");
    EXPECT_EQ(level2FileText(TitleListsOf(f)), "d1,3\r\nk1,10\r\nk2,10\r\n");
}

TEST(TitleFiles, AnEmptyTreeWritesTwoEmptyFilesOverTheOldOnes) {
    const ScratchFolder scratch("titles");
    const std::string dir = scratch.path();
    SaveTitleTree(abcForest(), dir);
    SaveTitleTree(TitleForest{}, dir);
    EXPECT_EQ(readFile(level1FilePath(dir)), "");
    EXPECT_EQ(readFile(level2FilePath(dir)), "");
}

TEST(TitleFiles, ReadsEveryLineEndAndSplitsAtTheLastComma) {
    TitleForest f;
    LoadTitleTree(f, fixture("line-ends"));
    EXPECT_EQ(shapeOf(f),
              "食費(ソフト代, 十日市,弁当 おにぎり);住居費(予備費, 表 );表具店(能楽鑑賞);日用品");
}

TEST(TitleFiles, TrailBackslashTitlesRoundTripByteForByte) {
    TitleForest f;
    LoadTitleTree(f, fixture("trail-5c"));
    EXPECT_EQ(shapeOf(f), "表計算ソフト(ソ連,表);十能(能);予算\\(十,予)");
    const ScratchFolder scratch("titles");
    const std::string dir = scratch.path();
    SaveTitleTree(f, dir);
    for (auto path : {&level1FilePath, &level2FilePath})
        EXPECT_EQ(readFile(path(dir)), readFile(path(fixture("trail-5c"))));
}

TEST(TitleFiles, ABadParentIndexStopsReadingAfterTheLinesBeforeIt) {
    TitleForest f;
    EXPECT_EQ(errorOf([&] { LoadTitleTree(f, fixture("bad-index")); }),
              "'x1' は整数ではありません");
    EXPECT_EQ(shapeOf(f), "食費(食料品);住居費(家賃)");

    TitleLists lists;
    EXPECT_EQ(errorOf([&] { ReadTitleLists(lists, fixture("bad-index")); }),
              "'x1' は整数ではありません");
    EXPECT_EQ(lists.level1.size(), 2u);
    EXPECT_EQ(lists.level2, (std::vector<Level2Title>{{"食料品", 0}, {"家賃", 1}}));
}

TEST(TitleFiles, EmptyParentIndexIsNoWholeNumber) {
    std::vector<Level2Title> into;
    EXPECT_EQ(errorOf([&] {
                  readLevel2Lines(into, {"a,1", "b,", "c,0"}, 2);
              }),
              "'' は整数ではありません");
    EXPECT_EQ(into, (std::vector<Level2Title>{{"a", 1}}));
}

TEST(TitleFiles, LooseLevel2LinesKeepEveryTitleUnderAParent) {
    // No comma: the parent of the line before (0 for the first); empty lines skipped;
    // parents below 0 or past the last level-1 title clamped to the first or the last.
    TitleForest f;
    LoadTitleTree(f, fixture("loose-lines"));
    EXPECT_EQ(shapeOf(f), "食費(外食,所得税);住居費(家賃,修繕費);税金(住民税,固定資産税)");

    TitleLists lists;
    ReadTitleLists(lists, fixture("loose-lines"));
    EXPECT_EQ(lists.level2, (std::vector<Level2Title>{{"外食", 0},
                                                      {"家賃", 1},
                                                      {"修繕費", 1},
                                                      {"所得税", 0},
                                                      {"住民税", 2},
                                                      {"固定資産税", 2}}));
    EXPECT_EQ(lists.level2Under(2), (std::vector<std::string>{"住民税", "固定資産税"}));
}

TEST(TitleFiles, MissingOrEmptyFilesFailAsTheUserIsTold) {
    struct Case {
        const char* folder;
        const char* error;
        const char* shape;
    } cases[] = {
        {"empty-level1", "リストのインデックスが範囲を超えています (0)", ""},
        {"level1-only", "ファイル 勘定科目2.txt は開けません", "食費;住居費"},
        {"level2-only", "ファイル 勘定科目1.txt は開けません", ""},
    };
    for (const Case& c : cases) {
        TitleForest f = abcForest();
        EXPECT_EQ(errorOf([&] { LoadTitleTree(f, fixture(c.folder)); }), c.error) << c.folder;
        EXPECT_EQ(shapeOf(f), c.shape) << c.folder;
    }
}

TEST(TitleFiles, PickListsReadTheSameFiles) {
    TitleLists lists;
    ReadTitleLists(lists, fixture("line-ends"));
    EXPECT_EQ(lists.level1, (std::vector<std::string>{"食費", "住居費", "表具店", "日用品"}));
    EXPECT_EQ(lists.level2Under(0),
              (std::vector<std::string>{"ソフト代, 十日市", "弁当 おにぎり"}));

    // An empty level-1 file is no error for the pick lists; there is nothing to clamp to.
    ReadTitleLists(lists, fixture("empty-level1"));
    EXPECT_TRUE(lists.level1.empty());
    EXPECT_EQ(lists.level2, (std::vector<Level2Title>{{"食料品", 0}}));

    EXPECT_EQ(errorOf([&] { ReadTitleLists(lists, fixture("level1-only")); }),
              "ファイル 勘定科目2.txt は開けません");
    EXPECT_EQ(lists.level1.size(), 2u);
}

TEST(TitleFiles, UnreadableFileCannotBeOpened) {
    const ScratchFolder scratch("titles");
    const std::string dir = scratch.path();
    std::filesystem::create_directory(level1FilePath(dir));
    TitleLists lists;
    EXPECT_EQ(errorOf([&] { ReadTitleLists(lists, dir); }), "ファイル 勘定科目1.txt は開けません");
}

TEST(TitleFiles, NeitherFileMeansTheBundledDefaultsAndNothingIsWritten) {
    const ScratchFolder scratch("titles");
    const std::string dir = scratch.path();
    TitleForest f;
    LoadTitleTree(f, dir);
    TitleLists lists;
    ReadTitleLists(lists, dir);
    EXPECT_EQ(lists, DefaultTitleLists());
    EXPECT_EQ(TitleListsOf(f), DefaultTitleLists());
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

TEST(TitleFiles, FailedWritesLeaveTheOldFile) {
    const ScratchFolder scratch("titles");
    const std::string dir = scratch.path();
    SaveTitleTree(abcForest(), dir);
    const std::string old1 = readFile(level1FilePath(dir));
    const std::string old2 = readFile(level2FilePath(dir));
    TitleForest changed;
    changed.addLastChild(changed.addLastChild(kNoTitle, "X"), "X1");

    WriteFaults cutShort;
    cutShort.failAfterBytes = 1;
    WriteFaults noRename;
    noRename.failRename = true;

    EXPECT_EQ(errorOf([&] { SaveTitleTree(changed, dir, cutShort); }),
              "ファイル 勘定科目1.txt を作成できません");
    EXPECT_EQ(readFile(level1FilePath(dir)), old1);
    EXPECT_EQ(readFile(level2FilePath(dir)), old2);

    // The level-1 file written first stays written.
    EXPECT_EQ(errorOf([&] { SaveTitleTree(changed, dir, {}, noRename); }),
              "ファイル 勘定科目2.txt を作成できません");
    EXPECT_EQ(readFile(level1FilePath(dir)), "X\r\n");
    EXPECT_EQ(readFile(level2FilePath(dir)), old2);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);

    EXPECT_EQ(errorOf([&] { SaveTitleTree(changed, dir + "/no-such-folder"); }),
              "ファイル 勘定科目1.txt を作成できません");
}

}  // namespace
}  // namespace orvo
