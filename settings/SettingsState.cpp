#include "settings/SettingsState.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/OrvoError.h"
#include "base/SystemReason.h"
#include "settings/PrintWidths.h"
#include "settings/TitleFiles.h"

namespace orvo {

namespace {

bool holdsBytes(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) || ec) return false;
    // A file whose size cannot be told may hold titles; count it as holding some.
    const auto size = std::filesystem::file_size(path, ec);
    return ec || size > 0;
}

}  // namespace

TitleTreeLoad LoadTitleTreeNoting(TitleForest& forest, const std::string& folder) {
    TitleTreeLoad load;
    try {
        LoadTitleTree(forest, folder);
    } catch (const OrvoError& e) {
        load.error = e.what();
        // The level-1 titles are in the tree once it holds any; then only the
        // level-2 file can hold titles the tree lacks (a missing one holds none).
        // An empty tree took nothing from either file.
        std::error_code ec;
        if (forest.empty())
            load.complete =
                !holdsBytes(level1FilePath(folder)) && !holdsBytes(level2FilePath(folder));
        else
            load.complete = !std::filesystem::exists(level2FilePath(folder), ec) && !ec;
    }
    return load;
}

std::string titleOverwriteQuestion(const TitleTreeLoad& load) {
    return "起動時に勘定科目ファイルを最後まで読み込めませんでした (" + load.error +
           ")。\r\n\r\n上書きすると、読み込めなかった勘定科目は失われます。"
           "\r\n勘定科目ファイルを上書きしてもよろしいですか？";
}

SettingsState::SettingsState(std::string printWidthsPath, std::string titleFolder)
    : printWidthsPath_(std::move(printWidthsPath)), titleFolder_(std::move(titleFolder)) {}

std::vector<std::string> SettingsState::create(const LedgerTable& grid) {
    std::vector<std::string> errors;
    confirmed_ = false;
    page = PageSettings{};
    columns = ColumnListsFromGrid(grid);
    printWidths = DefaultPrintWidths(grid.columnCount());
    try {
        printWidths = ReadPrintWidths(printWidthsPath_, grid.columnCount());
    } catch (const OrvoError& e) {
        errors.emplace_back(e.what());
    }
    titleLoad_ = LoadTitleTreeNoting(titles, titleFolder_);
    if (!titleLoad_.error.empty()) errors.push_back(titleLoad_.error);
    return errors;
}

void SettingsState::applyOnly(LedgerTable& grid) {
    confirmed_ = false;
    ApplyColumnSettings(grid, columns);
}

void SettingsState::confirm(LedgerTable& grid, const ConfirmHooks& hooks) {
    confirmed_ = true;
    ApplyColumnSettings(grid, columns);
    try {
        WritePrintWidths(printWidthsPath_, printWidths);
    } catch (const OrvoError& e) {
        // The user can mend permissions or space only when told which it is.
        throw OrvoError(std::string(e.what()) + " (" + reasonCannotWrite(printWidthsPath_, errno) +
                        ")");
    }
    if (hooks.emptyPickLists) hooks.emptyPickLists();
    const bool overwrite =
        titleLoad_.complete || (hooks.allowTitleOverwrite && hooks.allowTitleOverwrite());
    if (overwrite) {
        SaveTitleTree(titles, titleFolder_);
        titleLoad_ = TitleTreeLoad{};  // the files now hold the tree
    }
    if (hooks.reloadPickLists) hooks.reloadPickLists();
}

}  // namespace orvo
