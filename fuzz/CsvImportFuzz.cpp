// "CSV読み込み": the line reader (the whole text in memory, and streamed
// through a buffer as small as one byte, which must give the same lines) and
// the import of the file into a ledger, with and without a title line.

#include <cstddef>
#include <cstdint>
#include <cstdio>
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

void compareStreamedLines(std::string_view text, std::size_t bufferSize) {
    orvo::CsvLineReader whole(text);
    const auto expected = linesOf(whole);
    std::string copy(text);
    std::FILE* file = fmemopen(copy.data(), copy.size() + (copy.empty() ? 1 : 0), "rb");
    if (!file) std::abort();
    orvo::CsvLineReader streamed(file, bufferSize);
    std::vector<std::string> got;
    if (!copy.empty()) got = linesOf(streamed);
    std::fclose(file);
    if (got != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the answer to the title question and the buffer size.
    const bool titles = data[0] & 1;
    const std::size_t bufferSize = 1 + (data[0] >> 1) % 16;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    compareStreamedLines(text, bufferSize);

    static const std::string path = orvo::fuzz::scratchFolder() + "/import.csv";
    orvo::fuzz::writeFile(path, text);
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
