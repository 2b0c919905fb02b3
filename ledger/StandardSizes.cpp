#include "ledger/StandardSizes.h"

#include <algorithm>
#include <iterator>

namespace orvo {

void applyStandardSizes(LedgerTable& table) {
    const int standardCount = static_cast<int>(std::size(kStandardColumnWidths));
    const int cols = std::min(table.columnCount(), standardCount);
    for (int c = 0; c < cols; ++c) table.setColumnWidth(c, kStandardColumnWidths[c]);
    table.setDefaultRowHeight(kStandardRowHeight);
}

void restoreRowHeights(LedgerTable& table, int top, int bottom) {
    top = std::max(top, 0);
    bottom = std::min(bottom, table.rowCount() - 1);
    for (int r = top; r <= bottom; ++r) table.setRowHeight(r, kStandardRowHeight);
}

}  // namespace orvo
