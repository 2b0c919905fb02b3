#pragma once
// The grid's text cells: C columns by R rows, addressed (column, row). Row 0 is
// the fixed title row, column 0 the fixed empty column; rows 1.. are the day view.

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The height of every row of a new ledger, of the standard sizes and of an
// inserted row.
inline constexpr int kStandardRowHeight = 20;

// A block of cells, inclusive on all sides (the grid's selection).
struct CellBlock {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CellBlock&) const = default;
};

class LedgerTable {
public:
    static constexpr int kFixedCols = 1;
    static constexpr int kFixedRows = 1;

    LedgerTable() = default;

    int columnCount() const { return cols_; }
    int rowCount() const { return rows_; }

    // Cells a larger table gains are empty; row heights of new rows take the
    // default height, new columns the width given.
    void setRowCount(int rows);
    void setColumnCount(int cols, int newColumnWidth = 64);

    const std::string& cell(int col, int row) const { return cells_[index(col, row)]; }
    void setCell(int col, int row, std::string text) { cells_[index(col, row)] = std::move(text); }
    bool contains(int col, int row) const {
        return col >= 0 && row >= 0 && col < cols_ && row < rows_;
    }

    // Empties every cell of `row`.
    void clearRow(int row);

    int rowHeight(int row) const { return rowHeights_[static_cast<std::size_t>(row)]; }
    void setRowHeight(int row, int height) { rowHeights_[static_cast<std::size_t>(row)] = height; }
    int columnWidth(int col) const { return colWidths_[static_cast<std::size_t>(col)]; }
    void setColumnWidth(int col, int width) { colWidths_[static_cast<std::size_t>(col)] = width; }

    // Setting the default row height returns every row to it, as the grid does.
    int defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int height);

    // The grid's selection and its current cell (the selection's anchor).
    const CellBlock& selection() const { return selection_; }
    void setSelection(const CellBlock& block) { selection_ = block; }
    // Selects the top-left fixed cell, so that no ledger cell is selected.
    void selectTopLeft() { selection_ = {0, 0, 0, 0}; }

private:
    std::size_t index(int col, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
               static_cast<std::size_t>(col);
    }

    int cols_ = 0;
    int rows_ = 0;
    int defaultRowHeight_ = kStandardRowHeight;
    std::vector<std::string> cells_;  // row-major
    std::vector<int> rowHeights_;
    std::vector<int> colWidths_;
    CellBlock selection_;
};

}  // namespace orvo
