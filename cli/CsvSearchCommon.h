#pragma once
// What the csv-export, csv-import, search and replace commands share: a book
// started as the window starts, on today's date, and text for printing.

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "base/Cp932.h"
#include "ledger/LedgerBook.h"

namespace orvo::cli {

// Not <chrono>: its literals cannot be compiled into CP932 text.
inline LedgerDate todayForCommands() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// A book on today's date with the ledger file loaded, as the window reopens
// it; a load fault is thrown.
inline LedgerBook loadedLikeWindow(const std::string& path,
                                   LedgerBook::OpenMode mode = LedgerBook::OpenMode::ForReading) {
    LedgerBook book;
    book.startNewLedger();
    book.setPickedDay(todayForCommands());
    book.openDataFile(path, mode);
    return book;
}

// CP932 text in UTF-8, a packed line break (ESC) written as "\n". Converted
// first, so that a lone lead byte cannot take the ESC with it.
inline std::string recordTextForPrint(std::string_view cp932Text) {
    std::string out;
    for (char c : cp932::toUtf8(cp932Text)) {
        if (c == '\x1B')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// A message of the program (CP932) on stderr, in UTF-8.
inline void printMessage(const std::string& cp932Message) {
    std::fprintf(stderr, "%s\n", cp932::toUtf8(cp932Message).c_str());
}

// A command-line argument (UTF-8) as CP932, or nothing when it has a
// character CP932 cannot hold.
inline std::optional<std::string> argumentAsCp932(const std::string& utf8) {
    cp932::Encoded e = cp932::fromUtf8(utf8);
    if (!e.ok()) return std::nullopt;
    return std::move(e.bytes);
}

}  // namespace orvo::cli
