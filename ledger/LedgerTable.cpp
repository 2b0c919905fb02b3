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
        std::vector<std::string> cells(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols));
        const int keep = std::min(cols, cols_);
        for (int r = 0; r < rows_; ++r)
            for (int c = 0; c < keep; ++c)
                cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)] =
                    std::move(cells_[index(c, r)]);
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

void LedgerTable::moveRow(int from, int to) {
    if (from == to) return;
    auto rowBegin = [this](int r) { return cells_.begin() + static_cast<std::ptrdiff_t>(index(0, r)); };
    auto hBegin = rowHeights_.begin();
    if (from < to) {
        std::rotate(rowBegin(from), rowBegin(from + 1), rowBegin(to + 1));
        std::rotate(hBegin + from, hBegin + from + 1, hBegin + to + 1);
    } else {
        std::rotate(rowBegin(to), rowBegin(from), rowBegin(from + 1));
        std::rotate(hBegin + to, hBegin + from, hBegin + from + 1);
    }
}

void LedgerTable::moveColumn(int from, int to) {
    if (from == to) return;
    for (int r = 0; r < rows_; ++r) {
        auto b = cells_.begin() + static_cast<std::ptrdiff_t>(index(0, r));
        if (from < to)
            std::rotate(b + from, b + from + 1, b + to + 1);
        else
            std::rotate(b + to, b + from, b + from + 1);
    }
    auto w = colWidths_.begin();
    if (from < to)
        std::rotate(w + from, w + from + 1, w + to + 1);
    else
        std::rotate(w + to, w + from, w + from + 1);
}

}  // namespace orvo
