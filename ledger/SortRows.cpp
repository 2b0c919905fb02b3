#include "ledger/SortRows.h"

#include <algorithm>
#include <string>
#include <utility>

namespace orvo {
namespace {

void exchangeRows(LedgerTable& table, int a, int b) {
    for (int c = LedgerTable::kFixedCols; c < table.columnCount(); ++c) {
        std::string held = table.cell(c, a);
        table.setCell(c, a, table.cell(c, b));
        table.setCell(c, b, std::move(held));
    }
}

}  // namespace

int compareBytes(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

void sortRows(LedgerTable& table, int keyColumn, SortOrder order) {
    if (keyColumn < 0 || keyColumn >= table.columnCount()) return;
    const int rows = table.rowCount();
    if (rows < LedgerTable::kFixedRows + 2) return;
    for (int i = LedgerTable::kFixedRows; i <= rows - 2; ++i) {
        int m = i;
        for (int j = i + 1; j <= rows - 1; ++j) {
            const int cmp = compareBytes(table.cell(keyColumn, j), table.cell(keyColumn, m));
            if (order == SortOrder::Ascending ? cmp < 0 : cmp > 0) m = j;
        }
        if (m != i) exchangeRows(table, i, m);
    }
}

}  // namespace orvo
