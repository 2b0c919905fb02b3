#pragma once
// Reorders the day view's data rows by the text of one column ("並べ替え").

#include <string_view>

#include "ledger/LedgerTable.h"

namespace orvo {

enum class SortOrder { Ascending, Descending };

// Byte-wise comparison of CP932 texts: unsigned bytes, the first difference
// decides, a text that begins another is smaller. Letter case counts; no
// numeric or locale order. Negative, zero or positive like memcmp.
int compareBytes(std::string_view a, std::string_view b);

// A selection sort over rows 1 to R - 1 that exchanges the texts of columns 1
// to C - 1 of whole rows; column 0, the title row, heights and widths stay.
// Equal keys never replace the row chosen so far, so rows with equal keys do
// not keep their order: the result is exactly what that exchange sequence
// gives. A key column outside the table leaves it as it is.
void sortRows(LedgerTable& table, int keyColumn, SortOrder order);

}  // namespace orvo
