// orvokakei-cli day LEDGER.dat yyyy/mm/dd: the day view and the totals as the
// main window would show them, in UTF-8.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "ledger/Cp932.h"
#include "ledger/LedgerBook.h"

namespace orvo::cli {

namespace {

// The yen sign the window's font shows for the backslash of the totals.
std::string labelForPrint(const std::string& cp932Label) {
    std::string out;
    for (char c : cp932::toUtf8(cp932Label)) {
        if (c == '\\')
            out += "\xC2\xA5";  // U+00A5 YEN SIGN in UTF-8
        else
            out += c;
    }
    return out;
}

std::string cellForPrint(const std::string& cp932Cell) {
    std::string out;
    for (std::size_t i = 0; i < cp932Cell.size(); ++i) {
        if (cp932Cell[i] == '\r' && i + 1 < cp932Cell.size() && cp932Cell[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else {
            out += cp932Cell[i];
        }
    }
    return cp932::toUtf8(out);
}

int runDay(const std::vector<std::string>& args) {
    if (args.size() != 2) return kExitUsage;
    auto day = LedgerDate::parse(args[1]);
    if (!day) {
        std::fprintf(stderr, "'%s' is no date (yyyy/mm/dd).\n", args[1].c_str());
        return kExitUsage;
    }
    LedgerBook book;
    book.ResetLedgerTable();
    book.pickedDay = *day;
    book.dataFileName = args[0];
    book.LoadLedger();

    const int cols = book.table.columnCount();
    for (int r = LedgerTable::kFixedRows; r < book.table.rowCount(); ++r) {
        bool empty = true;
        for (int c = 1; c < cols; ++c) empty = empty && book.table.cell(c, r).empty();
        if (empty) continue;
        std::string row;
        for (int c = 1; c < cols; ++c) {
            if (c > 1) row += '\t';
            row += cellForPrint(book.table.cell(c, r));
        }
        std::printf("%s\n", row.c_str());
    }
    std::printf("%s\t%s\t%s\t%s\n", cp932::toUtf8("日計").c_str(),
                labelForPrint(book.dayOutText()).c_str(), labelForPrint(book.dayInText()).c_str(),
                labelForPrint(book.dayZanText()).c_str());
    std::printf("%s\t%s\t%s\t%s\n", cp932::toUtf8("累計").c_str(),
                labelForPrint(book.allOutText()).c_str(), labelForPrint(book.allInText()).c_str(),
                labelForPrint(book.allZanText()).c_str());
    return kExitOk;
}

const RegisterCommand registered({"day", "LEDGER.dat yyyy/mm/dd", &runDay});

}  // namespace

}  // namespace orvo::cli
