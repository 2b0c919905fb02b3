#pragma once
// The column settings of the settings window's first tab, held as the texts of
// its three lists. Row i of each list belongs to grid column i + 1.

#include <string>
#include <vector>

#include "ledger/LedgerTable.h"

namespace orvo {

struct ColumnLists {
    std::vector<std::string> titles;         // row 0 of the grid
    std::vector<std::string> displayWidths;  // on-screen widths in pixels, as text
    bool operator==(const ColumnLists&) const = default;
};

// The titles and on-screen widths of grid columns 1 to n - 1.
ColumnLists ColumnListsFromGrid(const LedgerTable& grid);

// For each row i: the title of grid column i + 1, then its width, the integer
// value of displayWidths[i]. A width that is no integer throws
// "'%s' は整数ではありません" with the columns before it (and that column's
// title) applied. Rows beyond the grid's last column are left out, since the
// lists follow the grid only at their next refresh; a width row missing for a
// title row throws "リストのインデックスが範囲を超えています (%d)".
void ApplyColumnSettings(LedgerTable& grid, const ColumnLists& lists);

// The input prompt that edits one row of a list.
enum class SettingsList { Titles, DisplayWidths, PrintWidths };
// "項目変更", "表示時の項目幅" or "印刷時の項目幅".
std::string editPromptCaption(SettingsList list);
// "新しい値を入力してください"
std::string editPromptText();
// The row's text after the prompt: an empty answer (Cancel gives the old text,
// a cleared field the empty one) leaves it; anything else replaces it unchecked.
std::string editedRow(const std::string& row, const std::string& answer);

}  // namespace orvo
