#pragma once
// The Edit menu's commands that reshape the day view or blank a block of it:
// insert, delete and append rows and columns, and erase. Each acts on the
// table's selected block; none touches the records or runs the write-back.
//
// The table marks itself changed when its texts or shape change. A block
// that is not made of data cells (rows 1.., columns 1..) leaves the table as
// it is.

#include <functional>
#include <string>

#include "ledger/LedgerTable.h"

namespace orvo {

// Width of a column made by insert columns, and the grid's default column
// width, which append gives. An inserted row has the standard height.
inline constexpr int kInsertedColumnWidth = 20;
inline constexpr int kDefaultColumnWidth = 64;

// Asks the delete question (CP932 text) as a warning with Yes, No and Cancel;
// true only for Yes.
using ConfirmDelete = std::function<bool(const std::string& question)>;

// True when `block` lies inside the table's data cells, not in row 0 or column 0.
bool isDataBlock(const LedgerTable& table, const CellBlock& block);

// "T行目からB行目までを削除しますか？" and "L列目からR列目までを削除しますか？", in CP932.
std::string deleteRowsQuestion(const CellBlock& block);
std::string deleteColumnsQuestion(const CellBlock& block);

// As many empty rows, 20 high, as the block has rows, put where the block
// starts; the block's rows and those below move down with their heights.
void insertRows(LedgerTable& table);

// Deletes the block's rows if the answer is Yes. Row heights stay with the row positions. Deleting every data
// row leaves one empty data row. The selection is then kept inside the table.
void deleteRows(LedgerTable& table, const ConfirmDelete& confirm);

// One empty row at the end, of the default row height.
void appendRow(LedgerTable& table);

// As many empty columns (titles too), 20 wide, as the block has columns, put
// where the block starts; the columns from there move right with their widths.
void insertColumns(LedgerTable& table);

// Deletes the block's columns if the answer is Yes.
// Widths stay with the column positions. Deleting every data column leaves
// one empty column without a title. The selection is then kept inside the table.
void deleteColumns(LedgerTable& table, const ConfirmDelete& confirm);

// One empty column (title too) at the end, of the default column width.
void appendColumn(LedgerTable& table);

// Empties every cell of the block; the shape stays.
void erase(LedgerTable& table);

}  // namespace orvo
