#pragma once
// The settings window ("環境設定") without its widgets: the texts of its lists
// and fields, the account-title tree, `confirmed`, and the steps of its buttons.
// The window shows these values, edits them through the public members, and
// runs the steps; everything here lives from program start to program end.

#include <functional>
#include <string>
#include <vector>

#include "ledger/LedgerTable.h"
#include "settings/ColumnSettings.h"
#include "settings/PageSettings.h"
#include "settings/TitleForest.h"

namespace orvo {

// How the title tree's load at creation ended.
struct TitleTreeLoad {
    // False when a title file holds titles the tree did not take (a file that
    // could not be read, or a level-2 file that stopped at a bad line): saving
    // the tree then would drop them, so the confirm asks first.
    bool complete = true;
    std::string error;  // the load's error text, empty when it had none
};

// Runs LoadTitleTree and notes how it ended instead of throwing OrvoError.
TitleTreeLoad LoadTitleTreeNoting(TitleForest& forest, const std::string& folder);

// The warning (Yes/No) asked before overwriting title files after an incomplete load.
std::string titleOverwriteQuestion(const TitleTreeLoad& load);

// The parts of the confirm that belong to other windows or to the user.
struct ConfirmHooks {
    std::function<void()> emptyPickLists;
    // Asked only after an incomplete title load, with titleOverwriteQuestion();
    // true for Yes. No keeps both title files and goes on with the rest.
    std::function<bool()> allowTitleOverwrite;
    std::function<void()> reloadPickLists;
};

class SettingsState {
public:
    // `printWidthsPath`: "Prin.ini" where the last-file record lives;
    // `titleFolder`: where the title files are (empty: the current directory).
    SettingsState(std::string printWidthsPath, std::string titleFolder);

    // Window creation: every value to its default, the column lists from the
    // grid, the print widths from "Prin.ini" (or the defaults), the title tree
    // from the title files. Returns the error texts to show, in order; what
    // could be read stays.
    std::vector<std::string> create(const LedgerTable& grid);

    // "環境設定" refreshes the titles and on-screen widths; the print widths stay.
    void refreshFromGrid(const LedgerTable& grid) { columns = ColumnListsFromGrid(grid); }

    // Every showing starts unconfirmed.
    void beginShowing() { confirmed_ = false; }
    bool confirmed() const { return confirmed_; }

    // "設定のみ": unconfirmed, the column settings applied; throws as
    // ApplyColumnSettings does.
    void applyOnly(LedgerTable& grid);

    // The confirm button ("登録終了" / "印刷実行"), whichever caption it has:
    // confirmed; column settings applied; "Prin.ini" written; pick lists
    // emptied; title files written (after an incomplete load only if the user
    // allows it); pick lists reloaded. The first error stops the sequence and
    // is thrown; the window then stays open. Closing is the window's.
    void confirm(LedgerTable& grid, const ConfirmHooks& hooks);

    const TitleTreeLoad& titleLoad() const { return titleLoad_; }
    const std::string& printWidthsPath() const { return printWidthsPath_; }

    ColumnLists columns;
    std::vector<std::string> printWidths;
    PageSettings page;
    TitleForest titles;

private:
    std::string printWidthsPath_;
    std::string titleFolder_;
    TitleTreeLoad titleLoad_;
    bool confirmed_ = false;
};

}  // namespace orvo
