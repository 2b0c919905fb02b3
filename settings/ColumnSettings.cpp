#include "settings/ColumnSettings.h"

#include "base/Amount.h"
#include "base/OrvoError.h"

namespace orvo {

ColumnLists ColumnListsFromGrid(const LedgerTable& grid) {
    ColumnLists lists;
    for (int c = 1; c < grid.columnCount(); ++c) {
        lists.titles.push_back(grid.rowCount() > 0 ? grid.cell(c, 0) : std::string());
        lists.displayWidths.push_back(std::to_string(grid.columnWidth(c)));
    }
    return lists;
}

void ApplyColumnSettings(LedgerTable& grid, const ColumnLists& lists) {
    for (std::size_t i = 0; i < lists.titles.size(); ++i) {
        const int column = static_cast<int>(i) + 1;
        if (column >= grid.columnCount()) return;
        if (grid.rowCount() > 0) grid.setCell(column, 0, lists.titles[i]);
        if (i >= lists.displayWidths.size()) throw listIndexOutOfBounds(static_cast<long long>(i));
        grid.setColumnWidth(column, amountOrThrow(lists.displayWidths[i]));
    }
}

std::string editPromptCaption(SettingsList list) {
    switch (list) {
        case SettingsList::Titles:
            return "項目変更";
        case SettingsList::DisplayWidths:
            return "表示時の項目幅";
        case SettingsList::PrintWidths:
            return "印刷時の項目幅";
    }
    return {};
}

std::string editPromptText() {
    return "新しい値を入力してください";
}

std::string editedRow(const std::string& row, const std::string& answer) {
    return answer.empty() ? row : answer;
}

}  // namespace orvo
