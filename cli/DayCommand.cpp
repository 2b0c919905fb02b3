// orvokakei-cli day LEDGER.dat yyyy/mm/dd: the day view and the totals as the
// main window would show them, in UTF-8.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "base/ReadFile.h"
#include "cli/CliCommand.h"
#include "ledger/DataFileCheck.h"
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

// Converted first, so that a lone lead byte before the line break cannot
// take a byte of the "\n" written for it.
std::string cellForPrint(const std::string& cp932Cell) {
    const std::string utf8 = cp932::toUtf8(cp932Cell);
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

void printLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);  // cells may hold NUL bytes
    std::fputc('\n', stdout);
}

int runDay(const std::vector<std::string>& args) {
    if (args.size() != 2) return usageOf("day");
    auto day = LedgerDate::parse(args[1]);
    if (!day) {
        std::fprintf(stderr, "'%s' is no date (yyyy/mm/dd).\n", args[1].c_str());
        return kExitUsage;
    }
    LedgerBook book;
    book.startNewLedger();
    book.setPickedDay(*day);
    // A file refused before it is read (missing, no ledger, no regular file)
    // prints nothing but the refusal.
    // Only the day's records are kept: the file is streamed, not loaded whole.
    CheckedDataFile file(args[0], PipeUse::Allowed, FileReading::Streamed);
    if (!file.bytes()) openForReading(args[0], nullptr, PipeUse::Allowed);  // says why
    // A load that reports a fault has still shown the day, as the window
    // does; print it, then the fault.
    std::optional<OrvoError> fault;
    try {
        book.openPickedDay(args[0], file);
    } catch (const OrvoError& e) {
        fault = e;
    }

    const int cols = book.table().columnCount();
    const auto filled = static_cast<int>(book.records().indicesOfDay(book.pickedDay()).size());
    for (int r = LedgerTable::kFixedRows; r <= filled && r < book.table().rowCount(); ++r) {
        std::string row;
        for (int c = 1; c < cols; ++c) {
            if (c > 1) row += '\t';
            row += cellForPrint(book.table().cell(c, r));
        }
        printLine(row);
    }
    printLine(cp932::toUtf8("日計") + "\t" + labelForPrint(book.dayOutText()) + "\t" +
              labelForPrint(book.dayInText()) + "\t" + labelForPrint(book.dayZanText()));
    printLine(cp932::toUtf8("累計") + "\t" + labelForPrint(book.allOutText()) + "\t" +
              labelForPrint(book.allInText()) + "\t" + labelForPrint(book.allZanText()));
    std::fflush(stdout);
    if (fault) throw *fault;
    return kExitOk;
}

const RegisterCommand registered({"day", "LEDGER.dat yyyy/mm/dd", &runDay});

}  // namespace

}  // namespace orvo::cli
