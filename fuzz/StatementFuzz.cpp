// The statement reader: encodings, cells, layouts, dates and amounts, then the
// preview against a small ledger (duplicates and titles); and the same bytes
// read as a layout file and as a rules line.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/OrvoError.h"
#include "statement/StatementImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::statement;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const orvo::LedgerRecords records = [] {
        orvo::LedgerRecords r;
        r.add("2025/01/05\tA\tB\t1280\t0\tshop");
        r.add("2025/01/06\tA\t\t150\t0\tｶﾌｪ");
        return r;
    }();
    static const std::vector<ImportRule> rules = {{"ｶﾌｪ", "C", "D"}};
    try {
        const ReadStatement read = readStatement(bytes, builtInLayouts());
        const std::vector<PreviewRow> rows = preview(read, records, rules);
        for (const PreviewRow& row : rows)
            if (row.state != RowState::Error) (void)recordLineOf(row);
        (void)countRows(rows);
    } catch (const orvo::OrvoError&) {
        // No layout recognised: a message for the user.
    }
    try {
        const StatementLayout layout = parseLayout(bytes, "fuzz.txt");
        ReadChoices choices;
        choices.layout = layout;
        (void)readStatement(bytes, {}, choices);
    } catch (const orvo::OrvoError&) {
    }
    return 0;
}
