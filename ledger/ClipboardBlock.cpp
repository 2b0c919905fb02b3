#include "ledger/ClipboardBlock.h"

#include "ledger/RowColumnOps.h"

namespace orvo {

std::string blockText(const LedgerTable& table, const CellBlock& block) {
    std::string text;
    if (!table.contains(block.left, block.top) || !table.contains(block.right, block.bottom))
        return text;
    for (int r = block.top; r <= block.bottom; ++r) {
        for (int c = block.left; c <= block.right; ++c) {
            text += table.cell(c, r);
            if (c != block.right) text += kBlockCellSeparator;
        }
        text += kBlockRowEnd;
    }
    return text;
}

void pasteBlockText(LedgerTable& table, int anchorCol, int anchorRow, std::string_view text) {
    if (anchorCol < LedgerTable::kFixedCols || anchorRow < LedgerTable::kFixedRows) return;
    // Counted in full ints and stopped at the last row: a block of any size
    // lands where it belongs and never wraps into the title row or column 0.
    int row = anchorRow;
    for (std::size_t rowEnd = text.find(kBlockRowEnd);
         rowEnd != std::string_view::npos && row < table.rowCount();
         rowEnd = text.find(kBlockRowEnd), ++row) {
        std::string_view piece = text.substr(0, rowEnd);
        text.remove_prefix(rowEnd + 1);
        int col = anchorCol;
        for (std::size_t tab = piece.find(kBlockCellSeparator);
             tab != std::string_view::npos && col < table.columnCount();
             tab = piece.find(kBlockCellSeparator), ++col) {
            table.setCell(col, row, std::string(piece.substr(0, tab)));
            piece.remove_prefix(tab + 1);
        }
        if (col < table.columnCount()) table.setCell(col, row, std::string(piece));
    }
}

std::string copySelection(const LedgerTable& table) {
    return blockText(table, table.selection());
}

void pasteAtSelection(LedgerTable& table, std::string_view clipboardText) {
    const CellBlock& block = table.selection();
    pasteBlockText(table, block.left, block.top, clipboardText);
}

std::string moveSelection(LedgerTable& table) {
    std::string text = copySelection(table);
    erase(table);
    return text;
}

}  // namespace orvo
