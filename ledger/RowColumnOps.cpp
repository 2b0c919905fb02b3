#include "ledger/RowColumnOps.h"

#include <algorithm>

namespace orvo {
namespace {

void copyRowTexts(LedgerTable& table, int from, int to) {
    for (int c = 0; c < table.columnCount(); ++c) table.setCell(c, to, table.cell(c, from));
}

void copyColumnTexts(LedgerTable& table, int from, int to) {
    for (int r = 0; r < table.rowCount(); ++r) table.setCell(to, r, table.cell(from, r));
}

void clearColumn(LedgerTable& table, int col) {
    for (int r = 0; r < table.rowCount(); ++r) table.setCell(col, r, std::string());
}

// A delete keeps the block where it was, pulled back inside the smaller table.
void keepSelectionInside(LedgerTable& table) {
    CellBlock b = table.selection();
    const int lastCol = std::max(table.columnCount() - 1, 0);
    const int lastRow = std::max(table.rowCount() - 1, 0);
    b.left = std::min(b.left, lastCol);
    b.right = std::min(b.right, lastCol);
    b.top = std::min(b.top, lastRow);
    b.bottom = std::min(b.bottom, lastRow);
    table.setSelection(b);
}

}  // namespace

bool isDataBlock(const LedgerTable& table, const CellBlock& block) {
    return block.left >= LedgerTable::kFixedCols && block.top >= LedgerTable::kFixedRows &&
           block.left <= block.right && block.top <= block.bottom &&
           block.right < table.columnCount() && block.bottom < table.rowCount();
}

std::string deleteRowsQuestion(const CellBlock& block) {
    return std::to_string(block.top) + "行目から" + std::to_string(block.bottom) +
           "行目までを削除しますか？";
}

std::string deleteColumnsQuestion(const CellBlock& block) {
    return std::to_string(block.left) + "列目から" + std::to_string(block.right) +
           "列目までを削除しますか？";
}

void insertRows(LedgerTable& table) {
    const CellBlock block = table.selection();
    if (!isDataBlock(table, block)) return;
    const int n = block.bottom - block.top + 1;
    table.setRowCount(table.rowCount() + n);
    for (int r = table.rowCount() - 1; r >= block.top + n; --r) {
        copyRowTexts(table, r - n, r);
        table.setRowHeight(r, table.rowHeight(r - n));
    }
    for (int r = block.top; r < block.top + n; ++r) {
        table.clearRow(r);
        table.setRowHeight(r, kStandardRowHeight);
    }
}

void deleteRows(LedgerTable& table, const ConfirmDelete& confirm) {
    const CellBlock block = table.selection();
    if (!isDataBlock(table, block)) return;
    if (!confirm(deleteRowsQuestion(block))) return;
    const int count = block.bottom - block.top + 1;
    if (count == table.rowCount() - LedgerTable::kFixedRows) {
        table.setRowCount(LedgerTable::kFixedRows + 1);
        table.clearRow(1);
    } else {
        for (int r = block.bottom + 1; r < table.rowCount(); ++r) copyRowTexts(table, r, r - count);
        table.setRowCount(table.rowCount() - count);
    }
    keepSelectionInside(table);
}

void appendRow(LedgerTable& table) {
    // The table gives a new row empty cells and the default height.
    table.setRowCount(table.rowCount() + 1);
}

void insertColumns(LedgerTable& table) {
    const CellBlock block = table.selection();
    if (!isDataBlock(table, block)) return;
    const int n = block.right - block.left + 1;
    table.setColumnCount(table.columnCount() + n, kInsertedColumnWidth);
    for (int c = table.columnCount() - 1; c >= block.left + n; --c) {
        copyColumnTexts(table, c - n, c);
        table.setColumnWidth(c, table.columnWidth(c - n));
    }
    for (int c = block.left; c < block.left + n; ++c) {
        clearColumn(table, c);
        table.setColumnWidth(c, kInsertedColumnWidth);
    }
}

void deleteColumns(LedgerTable& table, const ConfirmDelete& confirm) {
    const CellBlock block = table.selection();
    if (!isDataBlock(table, block)) return;
    if (!confirm(deleteColumnsQuestion(block))) return;
    const int count = block.right - block.left + 1;
    if (count == table.columnCount() - LedgerTable::kFixedCols) {
        table.setColumnCount(LedgerTable::kFixedCols + 1);
        clearColumn(table, 1);
    } else {
        for (int c = block.right + 1; c < table.columnCount(); ++c)
            copyColumnTexts(table, c, c - count);
        table.setColumnCount(table.columnCount() - count);
    }
    keepSelectionInside(table);
}

void appendColumn(LedgerTable& table) {
    table.setColumnCount(table.columnCount() + 1, kDefaultColumnWidth);
}

void erase(LedgerTable& table) {
    const CellBlock block = table.selection();
    if (!isDataBlock(table, block)) return;
    for (int r = block.top; r <= block.bottom; ++r)
        for (int c = block.left; c <= block.right; ++c) table.setCell(c, r, std::string());
}

}  // namespace orvo
