#include "settings/TitleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TitleShape.h"
#include "settings/DefaultTitles.h"

namespace orvo {
namespace {

using orvo::errorOf;
using testing::abcForest;
using testing::shapeOf;
using testing::TempFolder;
using testing::titleNamed;

std::string fixture(const char* name) {
    return std::string(ORVO_FIXTURES) + "/titles/" + name;
}

TEST(TitleFiles, AbcTreeIsSavedFlatAndReloadsWithTwoLevels) {
    TempFolder dir;
    SaveTitleTree(abcForest(), dir.path());
    EXPECT_EQ(TempFolder::readFile(level1FilePath(dir.path())), "A\r\nB\r\nC\r\n");
    EXPECT_EQ(TempFolder::readFile(level2FilePath(dir.path())), "B1,1\r\nB1a,1\r\nB2,1\r\n");

    TitleForest back;
    LoadTitleTree(back, dir.path());
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
    TempFolder dir;
    SaveTitleTree(abcForest(), dir.path());
    SaveTitleTree(TitleForest{}, dir.path());
    EXPECT_EQ(TempFolder::readFile(level1FilePath(dir.path())), "");
    EXPECT_EQ(TempFolder::readFile(level2FilePath(dir.path())), "");
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
    TempFolder dir;
    SaveTitleTree(f, dir.path());
    for (auto path : {&level1FilePath, &level2FilePath})
        EXPECT_EQ(TempFolder::readFile(path(dir.path())),
                  TempFolder::readFile(path(fixture("trail-5c"))));
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
    TempFolder dir;
    std::filesystem::create_directory(level1FilePath(dir.path()));
    TitleLists lists;
    EXPECT_EQ(errorOf([&] { ReadTitleLists(lists, dir.path()); }),
              "ファイル 勘定科目1.txt は開けません");
}

TEST(TitleFiles, NeitherFileMeansTheBundledDefaultsAndNothingIsWritten) {
    TempFolder dir;
    TitleForest f;
    LoadTitleTree(f, dir.path());
    TitleLists lists;
    ReadTitleLists(lists, dir.path());
    EXPECT_EQ(lists, DefaultTitleLists());
    EXPECT_EQ(TitleListsOf(f), DefaultTitleLists());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(TitleFiles, FailedWritesLeaveTheOldFile) {
    TempFolder dir;
    SaveTitleTree(abcForest(), dir.path());
    const std::string old1 = TempFolder::readFile(level1FilePath(dir.path()));
    const std::string old2 = TempFolder::readFile(level2FilePath(dir.path()));
    TitleForest changed;
    changed.addLastChild(changed.addLastChild(kNoTitle, "X"), "X1");

    WriteFaults cutShort;
    cutShort.failAfterBytes = 1;
    WriteFaults noRename;
    noRename.failRename = true;

    EXPECT_EQ(errorOf([&] { SaveTitleTree(changed, dir.path(), cutShort); }),
              "ファイル 勘定科目1.txt を作成できません");
    EXPECT_EQ(TempFolder::readFile(level1FilePath(dir.path())), old1);
    EXPECT_EQ(TempFolder::readFile(level2FilePath(dir.path())), old2);

    // The level-1 file written first stays written.
    EXPECT_EQ(errorOf([&] { SaveTitleTree(changed, dir.path(), {}, noRename); }),
              "ファイル 勘定科目2.txt を作成できません");
    EXPECT_EQ(TempFolder::readFile(level1FilePath(dir.path())), "X\r\n");
    EXPECT_EQ(TempFolder::readFile(level2FilePath(dir.path())), old2);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);

    EXPECT_EQ(errorOf([&] { SaveTitleTree(changed, dir.path() + "/no-such-folder"); }),
              "ファイル 勘定科目1.txt を作成できません");
}

}  // namespace
}  // namespace orvo
