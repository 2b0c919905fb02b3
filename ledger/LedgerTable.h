#pragma once
// The grid's text cells: C columns by R rows, addressed (column, row). Row 0 is
// the fixed title row, column 0 the fixed empty column; rows 1.. are the day view.

#include <memory>
#include <optional>
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

struct TableJournal;

class LedgerTable {
public:
    static constexpr int kFixedCols = 1;
    static constexpr int kFixedRows = 1;

    LedgerTable() = default;
    // A copy keeps no journal: it is a table of its own.
    LedgerTable(const LedgerTable& other);
    LedgerTable& operator=(const LedgerTable& other);

    // While a journal is set, every change of the texts or the shape is noted
    // in it first, so that the change can be undone (LedgerBook's history).
    void setJournal(TableJournal* journal) { journal_ = journal; }
    // Exchanges everything but the journal with `other`.
    void swapContent(LedgerTable& other) noexcept;

    int columnCount() const { return cols_; }
    int rowCount() const { return rows_; }

    // Cells a larger table gains are empty; row heights of new rows take the
    // default height, new columns the width given.
    void setRowCount(int rows);
    void setColumnCount(int cols, int newColumnWidth = 64);

    const std::string& cell(int col, int row) const { return cells_[index(col, row)]; }
    // Marks the table changed when the text differs.
    void setCell(int col, int row, std::string text);
    bool contains(int col, int row) const {
        return col >= 0 && row >= 0 && col < cols_ && row < rows_;
    }

    // Empties every cell of `row`.
    void clearRow(int row);

    int rowHeight(int row) const { return rowHeights_[static_cast<std::size_t>(row)]; }
    void setRowHeight(int row, int height);
    int columnWidth(int col) const { return colWidths_[static_cast<std::size_t>(col)]; }
    void setColumnWidth(int col, int width) { colWidths_[static_cast<std::size_t>(col)] = width; }

    // Setting the default row height returns every row to it, as the grid does.
    int defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int height);

    // Whether the texts or the shape changed since the table last matched
    // what it shows (LedgerBook's day view: `dayViewChanged`). Sizes and the
    // selection do not count.
    bool changed() const { return changed_; }
    void markChanged() { changed_ = true; }
    void clearChanged() { changed_ = false; }

    // The grid's selection and its current cell (the selection's anchor).
    const CellBlock& selection() const { return selection_; }
    void setSelection(const CellBlock& block) { selection_ = block; }
    // Selects the top-left fixed cell, so that no ledger cell is selected.
    void selectTopLeft() { selection_ = {0, 0, 0, 0}; }

private:
    friend struct TableJournal;
    // Before the shape changes: the journal keeps the whole table from then on.
    void noteShapeChange();
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
    bool changed_ = false;
    TableJournal* journal_ = nullptr;
};

// What a table was before the changes of one step: the old texts of the cells
// changed, or, once its shape changed, the whole table. Undoing and redoing
// exchange what it holds with the table, so one journal serves both ways.
struct TableJournal {
    struct OldCell {
        int col;
        int row;
        std::string text;
    };
    std::vector<OldCell> cells;          // in the order of the changes
    std::unique_ptr<LedgerTable> whole;  // set instead once the shape changed

    bool empty() const { return cells.empty() && !whole; }
    enum class Direction { Back, Forward };
    // Back: the table returns to how it was before the changes; Forward, after
    // a Back, to how it was after them.
    void exchangeWith(LedgerTable& table, Direction direction);
    // The block the noted cells span, if any.
    std::optional<CellBlock> changedBlock() const;
    std::size_t bytes() const;
};

}  // namespace orvo
