#pragma once
// What `print` and `report` share: the output choice, the measurer, today's
// date, the ledger as the window loads it and the page settings at start-up.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/OrvoError.h"
#include "cli/FontPages.h"
#include "ledger/LedgerBook.h"
#include "print/PrintSettings.h"
#include "print/TextMeasurer.h"

namespace orvo::cli {

enum class PageTarget { Text, Trace, Pdf };

// The options both commands take. `parse` consumes one at args[i] (advancing
// i past its value) and returns false for an option it does not know.
struct PageOptions {
    PageTarget target = PageTarget::Text;
    std::string pdfPath;
    bool fixedMetrics = false;
    std::optional<std::string> today;  // yyyy/mm/dd as given

    // Returns kExitUsage on a bad value, -1 when args[i] is no shared option, else 0.
    int parse(const std::vector<std::string>& args, std::size_t& i);
    // Pages need the Qt build unless they are traced with fixed metrics;
    // prints why and returns false then.
    bool pagesAvailable() const;
};

// What measures the pages the options ask for: the fixed-pitch measurer, or
// the print fonts (`fontPages` made then).
const print::TextMeasurer& pageMeasurer(const PageOptions& options,
                                        std::unique_ptr<FontPages>& fontPages);

// The value after option args[i], or nothing (a usage error) at the end.
std::optional<std::string> optionValue(const std::vector<std::string>& args, std::size_t& i);

// "yyyy/mm/dd": the given day, or today.
std::string todayText(const std::optional<std::string>& given);

// The ledger file loaded into a window-like book. A load fault after some
// records leaves those, as in the window, and is kept in `fault` for the caller
// to report after its output; one before any record is thrown.
LedgerBook loadedBook(const std::string& path, std::optional<OrvoError>& fault);

// The settings at their start-up defaults for `book`, with the data file's name,
// the column titles and today's date.
print::PrintSettings startupSettings(const LedgerBook& book, const std::string& today);

// Writes the trace of a page to stdout.
void printTrace(const print::Page& page);

// A line of UTF-8 to stdout.
void printLine(const std::string& utf8);

}  // namespace orvo::cli
