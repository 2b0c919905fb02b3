#include "cli/PrintCliSupport.h"

#include <cstdio>
#include <ctime>

#include "base/Cp932.h"
#include "cli/CliCommand.h"
#include "ledger/LedgerBook.h"
#include "ledger/LedgerDate.h"
#include "print/PageTrace.h"

namespace orvo::cli {

std::optional<std::string> optionValue(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) {
        std::fprintf(stderr, "%s needs a value.\n", args[i].c_str());
        return std::nullopt;
    }
    return args[++i];
}

int PageOptions::parse(const std::vector<std::string>& args, std::size_t& i) {
    const std::string& option = args[i];
    if (option == "--trace") {
        target = PageTarget::Trace;
    } else if (option == "--pdf") {
        auto value = optionValue(args, i);
        if (!value) return kExitUsage;
        target = PageTarget::Pdf;
        pdfPath = *value;
    } else if (option == "--metrics") {
        auto value = optionValue(args, i);
        if (!value) return kExitUsage;
        if (*value != "fixed") {
            std::fprintf(stderr, "unknown metrics '%s' (fixed).\n", value->c_str());
            return kExitUsage;
        }
        fixedMetrics = true;
    } else if (option == "--today") {
        auto value = optionValue(args, i);
        if (!value) return kExitUsage;
        if (!LedgerDate::parse(*value)) {
            std::fprintf(stderr, "'%s' is no date (yyyy/mm/dd).\n", value->c_str());
            return kExitUsage;
        }
        today = *value;
    } else {
        return -1;
    }
    return 0;
}

bool PageOptions::pagesAvailable() const {
    if (target == PageTarget::Text || (target == PageTarget::Trace && fixedMetrics)) return true;
    if (fontPagesBuilt()) return true;
    if (target == PageTarget::Pdf) {
        std::fprintf(stderr, "--pdf needs the Qt build of orvokakei-cli.\n");
        return false;
    }
    if (target == PageTarget::Trace && !fixedMetrics) {
        std::fprintf(stderr,
                     "--trace with the print fonts' metrics needs the Qt build of "
                     "orvokakei-cli; use --metrics fixed.\n");
        return false;
    }
    return true;
}

const print::TextMeasurer& pageMeasurer(const PageOptions& options,
                                        std::unique_ptr<FontPages>& fontPages) {
    static const print::FixedPitchMeasurer fixed;
    if (options.target == PageTarget::Trace && options.fixedMetrics) return fixed;
    if (!fontPages) fontPages = makeFontPages();
    return fontPages ? fontPages->measurer() : fixed;
}

// Not <chrono>: its literals cannot be compiled into CP932 text.
std::string todayText(const std::optional<std::string>& given) {
    if (given) return LedgerDate::parse(*given)->format();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return LedgerDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}.format();
}

LedgerBook loadedBook(const std::string& path, std::optional<OrvoError>& fault) {
    LedgerBook book;
    book.startNewLedger();
    try {
        book.openDataFile(path);
    } catch (const OrvoError& e) {
        if (book.records().empty()) throw;  // nothing read: nothing to show before the fault
        fault = e;
    }
    return book;
}

print::PrintSettings startupSettings(const LedgerBook& book, const std::string& today) {
    print::PrintSettings settings;
    for (int c = 1; c < book.table().columnCount(); ++c)
        settings.columnTitles.push_back(book.table().cell(c, 0));
    // The title is CP932 text; a name CP932 cannot hold loses those characters.
    settings.dataFileName = cp932::fromUtf8(book.dataFileName()).bytes;
    settings.today = today;
    return settings;
}

void printLine(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

void printTrace(const print::Page& page) {
    for (const std::string& line : print::traceLines(page)) printLine(line);
}

}  // namespace orvo::cli
