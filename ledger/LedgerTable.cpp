#include "ledger/LedgerTable.h"

#include <algorithm>

namespace orvo {

void LedgerTable::setRowCount(int rows) {
    rows = std::max(rows, 0);
    cells_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols_));
    rowHeights_.resize(static_cast<std::size_t>(rows), defaultRowHeight_);
    rows_ = rows;
}

void LedgerTable::setColumnCount(int cols, int newColumnWidth) {
    cols = std::max(cols, 0);
    if (cols != cols_) {
        std::vector<std::string> cells(static_cast<std::size_t>(rows_) *
                                       static_cast<std::size_t>(cols));
        const int keep = std::min(cols, cols_);
        for (int r = 0; r < rows_; ++r)
            for (int c = 0; c < keep; ++c)
                cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                      static_cast<std::size_t>(c)] = std::move(cells_[index(c, r)]);
        cells_ = std::move(cells);
    }
    colWidths_.resize(static_cast<std::size_t>(cols), newColumnWidth);
    cols_ = cols;
}

void LedgerTable::clearRow(int row) {
    for (int c = 0; c < cols_; ++c) cells_[index(c, row)].clear();
}

void LedgerTable::setDefaultRowHeight(int height) {
    defaultRowHeight_ = height;
    std::fill(rowHeights_.begin(), rowHeights_.end(), height);
}

}  // namespace orvo
