// The print settings file "Prin.ini": its rows as the settings window lists
// them, then as the print layout takes them, laying out the pages of a small
// ledger (as the preview would) with whatever widths the file holds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFiles.h"
#include "base/OrvoError.h"
#include "ledger/LedgerRecords.h"
#include "print/LedgerPages.h"
#include "print/PrintSettings.h"
#include "print/PrintWidths.h"
#include "print/TextMeasurer.h"
#include "settings/PrintWidths.h"

namespace {

const orvo::LedgerRecords& smallLedger() {
    static const orvo::LedgerRecords records = [] {
        orvo::LedgerRecords r;
        r.add("2026/09/09\tA\tB\t0\t1390\tshort");
        r.add("2026/09/10\tC\tD\t83210\t0\ta description long enough to be wrapped in its column");
        r.add("2026/09/11\tE\tF\t2740\t0\t");
        return r;
    }();
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte is the grid's column count (a ledger has at least two).
    const int columns = 2 + data[0] % 16;
    static const std::string path = orvo::fuzz::scratchFolder() + "/Prin.ini";
    orvo::fuzz::writeFile(path, {reinterpret_cast<const char*>(data) + 1, size - 1});
    try {
        const std::vector<std::string> rows = orvo::ReadPrintWidths(path, columns);
        orvo::print::PrintSettings settings;
        settings.printWidths = orvo::print::printWidthsFromRows(rows);
        settings.columnTitles = {"T1", "T2", "OUT", "IN", "DESC"};
        settings.today = "2026/09/10";
        const orvo::print::FixedPitchMeasurer measurer;
        orvo::print::LedgerRenderState state;
        for (int page = 0; page < 4; ++page) {
            if (orvo::print::RenderLedgerPage(smallLedger(), settings, measurer, state).runComplete)
                break;
        }
    } catch (const orvo::OrvoError&) {
    }
    return 0;
}
