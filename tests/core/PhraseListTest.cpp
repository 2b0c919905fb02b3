#include "settings/PhraseList.h"

#include <gtest/gtest.h>

#include "TitleShape.h"
#include "settings/PhraseFile.h"

namespace orvo {
namespace {

using testing::ScratchFolder;
using Phrases = std::vector<std::string>;

TEST(PhraseFile, ReadingRules) {
    struct Case {
        std::string bytes;
        Phrases phrases;
    };
    const Case cases[] = {
        {"  スーパー\r\n\r\n交通費\r\n", {"スーパー", "交通費"}},
        {"\t a\nb  \r\n\n  c \x1A"
         "d\r\n",
         {"a", "b  ", "c "}},
        {"x\ry\nlast", {"x\ry", "last"}},  // only CR LF or LF end a line
        {"\x1A"
         "hidden\r\n",
         {}},
        {" \r\n \t\r\n", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(parsePhrases(c.bytes), c.phrases) << c.bytes;
}

TEST(PhraseFile, WritesListOrderWithCrLfAndReadsItBack) {
    ScratchFolder dir{"settings"};
    const std::string path = phraseFilePath(dir.str());
    Phrases read;
    ReadPhraseFile(read, path);
    EXPECT_TRUE(read.empty());
    const Phrases phrases{"交通費", "b  ", "a"};
    WritePhraseFile(path, phrases);
    EXPECT_EQ(readFile(path), "交通費\r\nb  \r\na\r\n");
    ReadPhraseFile(read, path);
    EXPECT_EQ(read, phrases);
}

TEST(PhraseList, DuplicatesAreEqualWhenAsciiLettersAreFolded) {
    EXPECT_TRUE(samePhrase("Tax Free", "tax FREE"));
    EXPECT_FALSE(samePhrase("Tax", "Taxi"));
    EXPECT_FALSE(samePhrase("ＡＢＣ", "ａｂｃ"));  // full-width letters are not folded
    // Trail bytes 0x41 and 0x61 are no letters: two different katakana.
    EXPECT_FALSE(samePhrase("\x83\x41", "\x83\x61"));
}

TEST(PhraseList, AddRefusesDuplicatesButAlwaysMarksModified) {
    PhraseList list;
    list.load({"b", "B", "a"});  // read phrases are taken as they are
    EXPECT_EQ(list.phrases(), (Phrases{"a", "B", "b"}));
    EXPECT_FALSE(list.modified());

    EXPECT_EQ(list.add("").outcome, PhraseList::AddOutcome::NothingEntered);
    EXPECT_EQ(list.add(" \t").outcome, PhraseList::AddOutcome::NothingEntered);
    EXPECT_FALSE(list.modified());

    const PhraseList::AddResult dup = list.add("A");
    EXPECT_EQ(dup.outcome, PhraseList::AddOutcome::AlreadyListed);
    EXPECT_EQ(dup.index, 0u);
    EXPECT_TRUE(list.modified());
    EXPECT_EQ(list.size(), 3u);

    const PhraseList::AddResult added = list.add("  Ab\r\nc");
    EXPECT_EQ(added.outcome, PhraseList::AddOutcome::Added);
    EXPECT_EQ(list.phrases(), (Phrases{"a", "Ab  c", "B", "b"}));
    EXPECT_EQ(added.index, 1u);

    list.remove(0);
    EXPECT_EQ(list.phrases(), (Phrases{"Ab  c", "B", "b"}));
    EXPECT_EQ(errorOf([&] { list.remove(3); }), "リストのインデックスが範囲を超えています (3)");
}

TEST(PhraseList, APhraseIsCutAt255CharactersNeverInsideADoubleByteCharacter) {
    std::string answer = "a";
    for (int i = 0; i < 300; ++i) answer += "費";
    PhraseList list;
    list.add(answer);
    const std::string& stored = list.at(0);
    EXPECT_EQ(stored.size(), 1u + 254u * 2u);
    EXPECT_EQ(stored.substr(stored.size() - 2), "費");
}

TEST(PhraseList, AModifiedListIsWrittenEvenWhenNoFileExistedAndAFailedWriteKeepsTheFile) {
    ScratchFolder dir{"settings"};
    const std::string path = phraseFilePath(dir.str());
    PhraseList list;
    EXPECT_FALSE(list.saveIfModified(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    list.add("社員食堂");
    EXPECT_TRUE(list.saveIfModified(path));
    EXPECT_EQ(readFile(path), "社員食堂\r\n");

    list.add("昼食");
    WriteFaults cutShort;
    cutShort.failAfterBytes = 3;
    EXPECT_THROW(list.saveIfModified(path, {}, cutShort), OrvoError);
    EXPECT_TRUE(list.modified());
    EXPECT_EQ(readFile(path), "社員食堂\r\n");
}

TEST(PhraseList, AFileThatCouldNotBeReadIsOnlyOverwrittenWhenTheUserAllows) {
    ScratchFolder dir{"settings"};
    const std::string unreadable = dir.str() + "/folder";
    std::filesystem::create_directories(unreadable);
    const std::string path = phraseFilePath(dir.str());
    PhraseList list;
    EXPECT_EQ(list.loadFile(unreadable), "ファイル 定型句.dat は開けません");
    EXPECT_FALSE(list.fileReadWhole());
    list.add("交通費");
    int asked = 0;
    EXPECT_FALSE(list.saveIfModified(path, [&] { return ++asked > 1; }));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(list.saveIfModified(path, [&] { return ++asked > 1; }));
    EXPECT_EQ(readFile(path), "交通費\r\n");
    EXPECT_TRUE(list.saveIfModified(path, [&] { return ++asked > 5; }));  // not asked again
    EXPECT_EQ(asked, 2);
}

TEST(PhraseList, AppendsToTheDescriptionCellOfTheSelectionsTopRow) {
    LedgerTable grid;
    grid.setColumnCount(6);
    grid.setRowCount(4);
    grid.setCell(5, 2, "昼食");
    const std::string phrase = "社員食堂";

    grid.setSelection({5, 2, 5, 3});
    EXPECT_EQ(AppendPhraseToDescription(grid, &phrase, AppendStyle::InParentheses),
              AppendOutcome::Appended);
    EXPECT_EQ(grid.cell(5, 2), "昼食(社員食堂)");
    EXPECT_EQ(grid.cell(5, 3), "");
    grid.setCell(5, 2, "昼食");
    AppendPhraseToDescription(grid, &phrase, AppendStyle::Plain);
    EXPECT_EQ(grid.cell(5, 2), "昼食社員食堂");

    grid.setSelection({4, 1, 5, 1});
    EXPECT_EQ(AppendPhraseToDescription(grid, &phrase, AppendStyle::Plain),
              AppendOutcome::NoDescriptionCellSelected);
    // No phrase selected is reported first, whatever cell is selected.
    EXPECT_EQ(AppendPhraseToDescription(grid, nullptr, AppendStyle::Plain),
              AppendOutcome::NoPhraseSelected);
    grid.selectTopLeft();
    EXPECT_EQ(AppendPhraseToDescription(grid, &phrase, AppendStyle::Plain),
              AppendOutcome::NoDescriptionCellSelected);
    EXPECT_EQ(grid.cell(5, 1), "");
    EXPECT_EQ(appendWarningText(AppendOutcome::NoDescriptionCellSelected),
              "摘要欄が選択されていません。\r\n\r\n"
              "挿入したい摘要欄をｸﾘｯｸしてから再度操作してください");
    EXPECT_EQ(deletePhraseQuestion("交通費"), "交通費を削除してもよろしいですか？");
}

}  // namespace
}  // namespace orvo
