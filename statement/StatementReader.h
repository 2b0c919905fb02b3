#pragma once
// Reads a statement's data rows: the layout recognised from the header row
// (or given), each row's date, amounts and description, and the rows that
// cannot be read, each with its reason.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/LedgerDate.h"
#include "statement/StatementLayout.h"
#include "statement/StatementText.h"

namespace orvo::statement {

struct StatementRow {
    std::size_t line = 0;  // 1-based line number in the file
    LedgerDate date;
    std::int32_t expense = 0;
    std::int32_t income = 0;
    std::string description;  // CP932, the description cells joined by a blank
    std::string error;        // why the row cannot be imported (CP932); empty when it can
    bool ok() const { return error.empty(); }
};

// What the window lets the user change; anything not set is detected.
struct ReadChoices {
    std::optional<Encoding> encoding;
    std::optional<StatementLayout> layout;  // a given layout (a name chosen, or 手動設定)
    std::optional<std::size_t> headerLine;  // 1-based; 0: no header, data from line 1
};

struct ReadStatement {
    Encoding encoding = Encoding::Cp932;
    StatementLayout layout;
    std::size_t headerLine =
        0;  // 0 when the layout's columns are all positions and no header was found
    char separator = ',';
    std::vector<std::string> headerCells;  // of the header row, for 手動設定
    std::vector<StatementRow> rows;        // in file order
};

// "明細の形式を判別できません" when no layout of `layouts` matches any row and
// none was given; "明細の見出し行が見つかりません" when a given layout names
// header cells no row holds.
ReadStatement readStatement(std::string_view bytes, const std::vector<StatementLayout>& layouts,
                            const ReadChoices& choices = {});

// The reason texts of rows (CP932).
std::string balanceMismatchReason();

}  // namespace orvo::statement
