#pragma once
// Renaming an account title in the records: after a title of the title tree
// was renamed, the records that carry the old name can take the new one.

#include <cstddef>
#include <string>

#include "ledger/LedgerBook.h"

namespace orvo {

// A title as the records carry it: a level-1 title in field 1, or a level-2
// title in field 2 of the records whose level-1 title is its parent.
struct RecordTitle {
    std::string title1;
    std::string title2;  // empty for a level-1 title
};

// The number of records that carry `title` (the day view as last written back).
std::size_t countRecordsTitled(const LedgerRecords& records, const RecordTitle& title);

// The whole rename as one change of the ledger: writes the day view back (a
// bad amount stops it before anything changes), gives every record that
// carries `from` the name `newName` in its place, and shows the picked day
// again. Returns the number of records changed.
std::size_t renameTitleInRecords(LedgerBook& book, const RecordTitle& from,
                                 const std::string& newName);

}  // namespace orvo
