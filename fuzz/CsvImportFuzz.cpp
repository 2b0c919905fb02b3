// "CSV読み込み": the line reader (the whole text in memory, and read from a
// file, which must give the same lines) and the import of the file into a
// ledger, with and without a title line.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFiles.h"
#include "base/OrvoError.h"
#include "ledger/CsvImport.h"
#include "ledger/CsvLineReader.h"
#include "ledger/LedgerBook.h"

namespace {

std::vector<std::string> linesOf(orvo::CsvLineReader& reader) {
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) lines.emplace_back(line);
    return lines;
}

// `path` holds `text`.
void compareFileLines(std::string_view text, const std::string& path) {
    orvo::CsvLineReader whole(text);
    const auto expected = linesOf(whole);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) std::abort();
    std::vector<std::string> got;
    {
        orvo::CsvLineReader fromFile(fd, 0);
        got = linesOf(fromFile);
    }
    ::close(fd);
    if (got != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the answer to the title question.
    const bool titles = data[0] & 1;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    static const std::string path = orvo::fuzz::scratchFolder() + "/import.csv";
    orvo::fuzz::writeFile(path, text);
    compareFileLines(text, path);

    orvo::LedgerBook book;
    book.startNewLedger();
    book.setPickedDay(orvo::LedgerDate{2026, 9, 10});
    orvo::CsvImportHooks hooks;
    hooks.firstLineHoldsTitles = [titles] { return titles; };
    hooks.progress = [](std::size_t, std::size_t) { return true; };
    try {
        const orvo::CsvImportResult result = orvo::importCsv(book, path, hooks);
        if (result.emptyTitleRecords > 0) (void)orvo::emptyTitleNotice(result);
    } catch (const orvo::OrvoError&) {
    }
    return 0;
}
