// A block pasted from the clipboard into the day view, at any anchor, and the
// write-back of the pasted day view into the ledger.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/OrvoError.h"
#include "ledger/ClipboardBlock.h"
#include "ledger/LedgerBook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    orvo::LedgerBook book;
    book.startNewLedger();
    book.setPickedDay(orvo::LedgerDate{2026, 9, 10});
    book.ShowDay();
    // The first two bytes: the selection's top-left cell, reaching past the table.
    const int col = data[0] % (book.table().columnCount() + 2);
    const int row = data[1] % (book.table().rowCount() + 2);
    book.setSelection({col, row, col, row});
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
    book.changeDayView(orvo::StepKind::Paste,
                       [&](orvo::LedgerTable& t) { orvo::pasteAtSelection(t, text); });
    try {
        book.Recalculate();  // amounts pasted are checked here
        book.setSelection({1, 1, book.table().columnCount() - 1, book.table().rowCount() - 1});
        (void)orvo::copySelection(book.table());
    } catch (const orvo::OrvoError&) {
    }
    return 0;
}
