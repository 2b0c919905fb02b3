// orvokakei-cli report LEDGER.dat --year YYYY [--titles 勘定科目1.txt]
//   [--pdf OUT.pdf | --trace] [--metrics fixed] [--today yyyy/mm/dd]
// The year's expenses per level-1 title: the report page, or as text one line
// per title, largest first (title, total, share), then the grand total.
// Titles from the given file, else as the main window loads its pick list.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/Cp932.h"
#include "base/LineReader.h"
#include "base/OrvoError.h"
#include "base/ReadFile.h"
#include "cli/CliCommand.h"
#include "cli/PrintCliSupport.h"
#include "print/FormatAmount.h"
#include "print/PageGeometry.h"
#include "print/TextMeasurer.h"
#include "print/TotalsReport.h"
#include "settings/TitleFiles.h"

namespace orvo::cli {

namespace {

// UTF-8, as the usage text is printed as it stands.
const char* const kUsage = reinterpret_cast<const char*>(
    u8"LEDGER.dat --year YYYY [--titles 勘定科目1.txt] [--pdf OUT.pdf | --trace] "
    u8"[--metrics fixed] [--today yyyy/mm/dd]");

std::vector<std::string> titleFileLines(const std::string& path) {
    return readTextLines(path, cp932::fromUtf8(path).bytes);
}

std::vector<std::string> pickListTitles(const std::optional<std::string>& titlesFile) {
    if (titlesFile) return titleFileLines(*titlesFile);
    TitleLists lists;
    ReadTitleLists(lists);
    return lists.level1;
}

// The amount as the page shows it, without the padding, the yen sign for the backslash.
std::string amountForText(std::int32_t value) {
    std::string shown = print::FormatAmount(std::to_string(value), print::kAmountWidth);
    shown.erase(0, shown.find_first_not_of(' '));
    std::string out;
    for (char c : shown) out += c == '\\' ? std::string("\xC2\xA5") : std::string(1, c);
    return out;
}

void printRankedList(const print::TitleTotals& totals) {
    for (auto e = totals.entries.rbegin(); e != totals.entries.rend(); ++e)
        printLine(cp932::toUtf8(e->title) + "\t" + amountForText(e->total) + "\t" +
                  print::formatShare(e->total, totals.grandTotal));
    printLine(cp932::toUtf8("合計") + "\t" + amountForText(totals.grandTotal));
}

// A year of 1 to 9999, as the ledger's dates write it (four digits); says why not.
std::optional<std::string> reportYearOption(const std::string& text) {
    const bool digits = !text.empty() && text.size() <= 4 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    const int year = digits ? std::stoi(text) : 0;
    if (year < 1) {
        std::fprintf(stderr, "--year '%s' is none of 1 to 9999.\n", text.c_str());
        return std::nullopt;
    }
    char fourDigits[16];
    std::snprintf(fourDigits, sizeof fourDigits, "%04d", year);
    return std::string(fourDigits);
}

// As the menu command: nothing without records, nor for an empty year.
void report(const LedgerBook& book, const std::string& year,
            const std::optional<std::string>& titlesFile, const PageOptions& options) {
    if (book.records().empty() || year.empty()) return;
    const std::vector<std::string> titles = pickListTitles(titlesFile);
    print::TitleTotals totals = print::GatherTitleTotals(book.records(), titles, year);
    if (!totals.entries.empty())
        print::SortTitlesByTotal(totals.entries, 0, static_cast<int>(totals.entries.size()) - 1);

    if (options.target == PageTarget::Text) {
        printRankedList(totals);
        return;
    }
    std::unique_ptr<FontPages> fontPages;
    const print::TextMeasurer& measurer = pageMeasurer(options, fontPages);
    const print::PrintSettings settings = startupSettings(book, todayText(options.today));
    const std::vector<print::Page> pages = print::RenderTotalsReport(totals, settings, measurer);
    if (options.target == PageTarget::Trace) {
        for (const print::Page& page : pages) printTrace(page);
        return;
    }
    fontPages->beginPdf(options.pdfPath, settings.orientation, settings.dataFileName);
    for (const print::Page& page : pages) fontPages->addPage(page);
    fontPages->finishPdf();
}

int runReport(const std::vector<std::string>& args) {
    if (args.empty()) return usageOf("report");
    PageOptions options;
    std::optional<std::string> year;
    std::optional<std::string> titlesFile;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const int shared = options.parse(args, i);
        if (shared > 0) return shared;
        if (shared == 0) continue;
        if (args[i] == "--year") {
            if (!(year = optionValue(args, i))) return kExitUsage;
            if (!(year = reportYearOption(*year))) return usageOf("report");
        } else if (args[i] == "--titles") {
            if (!(titlesFile = optionValue(args, i))) return kExitUsage;
        } else {
            return usageOf("report");
        }
    }
    if (!year) return usageOf("report");
    if (options.target != PageTarget::Text && !options.pagesAvailable()) return kExitUsage;

    std::optional<OrvoError> loadFault;
    const LedgerBook book = loadedBook(args[0], loadFault);
    report(book, *year, titlesFile, options);
    std::fflush(stdout);
    if (loadFault) throw *loadFault;
    return kExitOk;
}

const RegisterCommand registered({"report", kUsage, &runReport});

}  // namespace

}  // namespace orvo::cli
