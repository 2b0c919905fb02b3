#include "settings/SettingsState.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "CoreTestSupport.h"
#include "TitleShape.h"
#include "base/SystemReason.h"
#include "settings/PrintWidths.h"
#include "settings/TitleFiles.h"

namespace orvo {
namespace {

using testing::ScratchFolder;

struct Confirming {
    ScratchFolder dir{"settings"};
    LedgerTable grid;
    SettingsState state{dir.str() + "/Prin.ini", dir.str()};
    std::string steps;  // the hooks, in the order they ran
    ConfirmHooks hooks(bool allow) {
        return {[this] { steps += "empty;"; },
                [this, allow] {
                    steps += "ask;";
                    return allow;
                },
                [this] { steps += "reload;"; }};
    }
    Confirming() {
        grid.setColumnCount(6, 64);
        grid.setRowCount(2);
    }
};

TEST(SettingsState, ATitleFileThatStoppedAtABadLineIsOnlyOverwrittenWhenTheUserAllows) {
    Confirming c;
    const std::string level2 = "B1,1\r\nB2,x\r\nB3,1\r\n";
    writeFile(level1FilePath(c.dir.str()), "A\r\nB\r\n");
    writeFile(level2FilePath(c.dir.str()), level2);
    EXPECT_EQ(c.state.create(c.grid), std::vector<std::string>{"'x' は整数ではありません"});
    EXPECT_FALSE(c.state.titleLoad().complete);
    EXPECT_NE(titleOverwriteQuestion(c.state.titleLoad()).find("'x' は整数ではありません"),
              std::string::npos);

    c.state.columns.titles[0] = "日付2";
    c.state.confirm(c.grid, c.hooks(false));
    EXPECT_TRUE(c.state.confirmed());
    EXPECT_EQ(c.steps, "empty;ask;reload;");
    EXPECT_EQ(c.grid.cell(1, 0), "日付2");
    EXPECT_EQ(readFile(c.dir.str() + "/Prin.ini"), printWidthsFileText(DefaultPrintWidths(6)));
    EXPECT_EQ(readFile(level2FilePath(c.dir.str())), level2);

    c.steps.clear();
    c.state.confirm(c.grid, c.hooks(true));
    EXPECT_EQ(c.steps, "empty;ask;reload;");
    EXPECT_EQ(readFile(level2FilePath(c.dir.str())), "B1,1\r\n");
    // Once the files hold the tree, later confirms write without asking.
    c.steps.clear();
    c.state.confirm(c.grid, c.hooks(false));
    EXPECT_EQ(c.steps, "empty;reload;");
}

TEST(SettingsState, WhatCountsAsACompleteTitleLoad) {
    struct Case {
        const char* level1;  // nullptr: no such file
        const char* level2;
        bool complete;
    };
    const Case cases[] = {
        {"A\r\n", nullptr, true},      // a missing level-2 file holds nothing to lose
        {nullptr, "B1,0\r\n", false},  // the level-2 titles were never read
        {"", "", true},                // empty files: nothing to lose
        {"", "B1,0\r\n", false},
        {"A\r\n", "B1,0\r\n", true},
    };
    for (const Case& k : cases) {
        ScratchFolder dir{"settings"};
        if (k.level1) writeFile(level1FilePath(dir.str()), k.level1);
        if (k.level2) writeFile(level2FilePath(dir.str()), k.level2);
        TitleForest forest;
        EXPECT_EQ(LoadTitleTreeNoting(forest, dir.str()).complete, k.complete)
            << (k.level1 ? k.level1 : "-") << " / " << (k.level2 ? k.level2 : "-");
    }
}

TEST(SettingsState, ABadDisplayWidthStopsTheConfirmBeforeAnythingIsWritten) {
    Confirming c;
    c.state.create(c.grid);
    c.state.columns.displayWidths[1] = "wide";
    EXPECT_EQ(errorOf([&] { c.state.confirm(c.grid, c.hooks(true)); }),
              "'wide' は整数ではありません");
    EXPECT_TRUE(c.state.confirmed());
    EXPECT_EQ(c.steps, "");
    EXPECT_FALSE(std::filesystem::exists(c.dir.str() + "/Prin.ini"));

    // "設定のみ" fails the same way and leaves the showing unconfirmed.
    EXPECT_EQ(errorOf([&] { c.state.applyOnly(c.grid); }), "'wide' は整数ではありません");
    EXPECT_FALSE(c.state.confirmed());
}

}  // namespace
}  // namespace orvo

namespace orvo {
namespace {

// A "Prin.ini" that cannot be written says why; as root only a folder that is
// no folder refuses every user, so that stands for the system's refusals.
TEST(SettingsState, APrintSettingsFileThatCannotBeWrittenNamesTheReason) {
    testing::ScratchFolder dir{"settings"};
    writeFile(dir.str() + "/file", "");
    LedgerTable grid;
    grid.setColumnCount(6, 64);
    grid.setRowCount(2);
    SettingsState state(dir.str() + "/file/Prin.ini", dir.str());
    state.create(grid);
    const std::string error = errorOf([&] { state.confirm(grid, {}); });
    EXPECT_NE(error.find("を作成できません (途中の名前がフォルダではありません)"),
              std::string::npos)
        << error;
    EXPECT_EQ(systemReason(EACCES), "アクセスが拒否されました");
    EXPECT_EQ(systemReason(EROFS), "読み取り専用のファイルシステムです");
    EXPECT_EQ(systemReason(ENOSPC), "ディスクの空きが足りません");
    EXPECT_EQ(systemReason(EBADF).rfind("エラー 9: ", 0), 0u);
}

}  // namespace
}  // namespace orvo
