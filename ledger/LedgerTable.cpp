#include "ledger/LedgerTable.h"

#include <algorithm>

namespace orvo {

LedgerTable::LedgerTable(const LedgerTable& other)
    : cols_(other.cols_),
      rows_(other.rows_),
      defaultRowHeight_(other.defaultRowHeight_),
      cells_(other.cells_),
      rowHeights_(other.rowHeights_),
      colWidths_(other.colWidths_),
      selection_(other.selection_),
      changed_(other.changed_) {}

LedgerTable& LedgerTable::operator=(const LedgerTable& other) {
    if (this == &other) return *this;
    noteShapeChange();
    LedgerTable copy(other);
    swapContent(copy);
    return *this;
}

void LedgerTable::swapContent(LedgerTable& other) noexcept {
    std::swap(cols_, other.cols_);
    std::swap(rows_, other.rows_);
    std::swap(defaultRowHeight_, other.defaultRowHeight_);
    cells_.swap(other.cells_);
    rowHeights_.swap(other.rowHeights_);
    colWidths_.swap(other.colWidths_);
    std::swap(selection_, other.selection_);
    std::swap(changed_, other.changed_);
}

void LedgerTable::noteShapeChange() {
    if (!journal_ || journal_->whole) return;
    // The table as the step found it: the cells noted so far, put back.
    auto whole = std::make_unique<LedgerTable>(*this);
    for (auto it = journal_->cells.rbegin(); it != journal_->cells.rend(); ++it)
        whole->cells_[whole->index(it->col, it->row)] = it->text;
    journal_->cells.clear();
    journal_->whole = std::move(whole);
}

void LedgerTable::setCell(int col, int row, std::string text) {
    std::string& cell = cells_[index(col, row)];
    if (cell == text) return;
    if (journal_ && !journal_->whole) journal_->cells.push_back({col, row, cell});
    cell = std::move(text);
    changed_ = true;
}

void LedgerTable::setRowHeight(int row, int height) {
    if (rowHeights_[static_cast<std::size_t>(row)] == height) return;
    noteShapeChange();
    rowHeights_[static_cast<std::size_t>(row)] = height;
}

void LedgerTable::setRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows != rows_) {
        noteShapeChange();
        changed_ = true;
    }
    cells_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols_));
    rowHeights_.resize(static_cast<std::size_t>(rows), defaultRowHeight_);
    rows_ = rows;
}

void LedgerTable::setColumnCount(int cols, int newColumnWidth) {
    cols = std::max(cols, 0);
    if (cols != cols_) {
        noteShapeChange();
        changed_ = true;
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
    for (int c = 0; c < cols_; ++c) {
        std::string& cell = cells_[index(c, row)];
        if (cell.empty()) continue;
        if (journal_ && !journal_->whole) journal_->cells.push_back({c, row, cell});
        cell.clear();
        changed_ = true;
    }
}

void LedgerTable::setDefaultRowHeight(int height) {
    if (height == defaultRowHeight_ &&
        std::all_of(rowHeights_.begin(), rowHeights_.end(), [&](int h) { return h == height; }))
        return;
    noteShapeChange();
    defaultRowHeight_ = height;
    std::fill(rowHeights_.begin(), rowHeights_.end(), height);
}

void TableJournal::exchangeWith(LedgerTable& table, Direction direction) {
    if (whole) {
        table.swapContent(*whole);
        return;
    }
    auto exchange = [&](OldCell& c) { table.cells_[table.index(c.col, c.row)].swap(c.text); };
    if (direction == Direction::Back)
        std::for_each(cells.rbegin(), cells.rend(), exchange);
    else
        std::for_each(cells.begin(), cells.end(), exchange);
}

std::optional<CellBlock> TableJournal::changedBlock() const {
    if (cells.empty()) return std::nullopt;
    CellBlock b{cells[0].col, cells[0].row, cells[0].col, cells[0].row};
    for (const OldCell& c : cells) {
        b.left = std::min(b.left, c.col);
        b.right = std::max(b.right, c.col);
        b.top = std::min(b.top, c.row);
        b.bottom = std::max(b.bottom, c.row);
    }
    return b;
}

std::size_t TableJournal::bytes() const {
    std::size_t n = sizeof(TableJournal) + cells.capacity() * sizeof(OldCell);
    for (const OldCell& c : cells) n += c.text.capacity() > 15 ? c.text.capacity() : 0;
    if (whole) {
        n += sizeof(LedgerTable);
        for (int r = 0; r < whole->rowCount(); ++r)
            for (int c = 0; c < whole->columnCount(); ++c)
                n += sizeof(std::string) + whole->cell(c, r).size();
        n += (whole->rowCount() + whole->columnCount()) * sizeof(int);
    }
    return n;
}

}  // namespace orvo
