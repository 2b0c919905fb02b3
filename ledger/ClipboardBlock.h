#pragma once
// The clipboard block: the text form in which copy, paste and move carry a
// block of cells. Cells of a row are joined by TAB and every row ends with
// ESC, so line breaks inside a cell pass through unchanged. Text from other
// programs (rows ended by line breaks, no ESC) pastes nothing.

#include <string>
#include <string_view>

#include "ledger/LedgerTable.h"

namespace orvo {

inline constexpr char kBlockCellSeparator = '\t';
inline constexpr char kBlockRowEnd = '\x1B';

// The block text of `block`'s cells, taken unchanged. Empty when the block
// does not lie inside the table.
std::string blockText(const LedgerTable& table, const CellBlock& block);

// Writes the rows of `text` into the table from (anchorCol, anchorRow), one
// ESC-ended row per table row. Cells that fall right of the last column or
// below the last row are dropped; the table's size never changes. Text after
// the last ESC is ignored. An anchor in row 0 or column 0 pastes nothing.
void pasteBlockText(LedgerTable& table, int anchorCol, int anchorRow, std::string_view text);

// The commands. Copy returns the text for the clipboard and changes nothing.
// Paste anchors at the selection's top-left cell. Move copies, then erases
// the block.
std::string copySelection(const LedgerTable& table);
void pasteAtSelection(LedgerTable& table, std::string_view clipboardText);
std::string moveSelection(LedgerTable& table);

}  // namespace orvo
