#pragma once
// The grid's standard sizes ("標準列幅行高"): column widths 20, 90, 90, 90, 90
// and 160 for columns 0 to 5, and row height 20 for every row.

#include "ledger/LedgerTable.h"

namespace orvo {

inline constexpr int kStandardColumnWidths[] = {20, 90, 90, 90, 90, 160};

// Columns beyond 5 keep their widths. A table of fewer than six columns gets
// the widths of the columns it has and still the standard row height.
void applyStandardSizes(LedgerTable& table);

// Rows `top` to `bottom` (clipped to the table) return to the standard height.
void restoreRowHeights(LedgerTable& table, int top, int bottom);

}  // namespace orvo
