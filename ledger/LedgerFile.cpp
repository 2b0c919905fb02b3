// The ledger data file: window size, table shape, row heights, column widths,
// titles and record lines, CP932, every line ended by CR LF.

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "ledger/Amount.h"
#include "ledger/Cp932.h"
#include "ledger/LedgerBook.h"
#include "ledger/LineReader.h"
#include "ledger/OrvoError.h"
#include "ledger/RecordLine.h"

namespace orvo {

namespace {

// Bounds that keep a damaged header from asking for an absurd table.
constexpr int kMaxRows = 1'000'000;
constexpr int kMaxColumns = 10'000;
// Records are read in chunks of this many lines, which become the list's blocks.
constexpr std::size_t kLinesPerChunk = 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string nameForMessage(const std::string& path) { return cp932::fromUtf8(path).bytes; }

int headerInteger(LineReader& in, std::string& line) {
    in.readLine(line);
    return amountOrThrow(line);
}

int tableSize(LineReader& in, std::string& line, int min, int max) {
    const int n = headerInteger(in, line);
    if (n < min || n > max) throw tableSizeOutOfRange(n);
    return n;
}

// Fields 3 and 4 of a record line without splitting the whole of it.
struct AmountFields {
    std::size_t fieldCount = 0;
    std::string_view expense;
    std::string_view income;
};

AmountFields amountFieldsOf(std::string_view line) {
    AmountFields a;
    std::size_t start = 0;
    for (std::size_t field = 0;; ++field) {
        const std::size_t tab = line.find(kFieldSeparator, start);
        const std::string_view f = line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        if (field == 3) a.expense = f;
        if (field == 4) a.income = f;
        if (tab == std::string_view::npos) {
            a.fieldCount = field + 1;
            return a;
        }
        if (field >= 4) {
            a.fieldCount = field + 2;  // at least
            return a;
        }
        start = tab + 1;
    }
}

}  // namespace

void LedgerBook::SaveLedger(const WriteFaults& faults) {
    if (dataFileName.empty()) throw cannotCreateFile("");
    dayViewChanged = true;
    Recalculate();

    AtomicFileWriter out(dataFileName, faults);
    const int rows = table.rowCount();
    const int cols = table.columnCount();
    out.writeLine(std::to_string(windowWidth));
    out.writeLine(std::to_string(windowHeight));
    out.writeLine(std::to_string(rows));
    out.writeLine(std::to_string(cols));
    for (int r = 0; r < rows; ++r) out.writeLine(std::to_string(table.rowHeight(r)));
    for (int c = 0; c < cols; ++c) out.writeLine(std::to_string(table.columnWidth(c)));
    std::string titles;
    for (int c = 1; c < cols; ++c) {
        if (c > 1) titles += kFieldSeparator;
        titles += PackLineBreaks(table.cell(c, 0));
    }
    out.writeLine(titles);
    records.forEach([&](const std::string& line) { out.writeLine(line); });
    out.commit();
}

void LedgerBook::LoadLedger() {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(dataFileName.c_str(), "rb"));
    if (!file) {
        if (errno == ENOENT) throw fileNotFound();
        throw cannotOpenFile(nameForMessage(dataFileName));
    }
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))
        throw cannotOpenFile(nameForMessage(dataFileName));
    LineReader in(file.get());
    std::string line;

    in.readLine(line);
    if (line.empty() || line[0] < '1' || line[0] > '9') {
        file.reset();
        ShowDay();
        return;
    }
    windowWidth = amountOrThrow(line);
    windowHeight = headerInteger(in, line);
    const int rows = tableSize(in, line, LedgerTable::kFixedRows + 1, kMaxRows);
    table.setRowCount(rows);
    const int cols = tableSize(in, line, LedgerTable::kFixedCols + 1, kMaxColumns);
    table.setColumnCount(cols);
    for (int r = 0; r < rows; ++r) table.setRowHeight(r, headerInteger(in, line));
    for (int c = 0; c < cols; ++c) table.setColumnWidth(c, headerInteger(in, line));

    in.readLine(line);
    SplitRecord(line);
    for (int c = 1; c < cols && static_cast<std::size_t>(c) <= recordFields.size(); ++c)
        table.setCell(c, 0, UnpackLineBreaks(recordFields[static_cast<std::size_t>(c) - 1]));

    // Every record is read even past a bad one: stopping would leave the rest
    // out of the ledger, and the next save would lose them. The first fault is
    // reported once all is loaded; a bad amount counts as nothing.
    std::optional<OrvoError> firstFault;
    std::int32_t allOut = 0;
    std::int32_t allIn = 0;
    std::vector<std::vector<std::string>> chunks;
    for (;;) {
        in.skipControlsAndBlanks();
        if (in.atEnd()) break;
        in.readLine(line);
        const AmountFields a = amountFieldsOf(line);
        if (a.fieldCount < 5 && !firstFault) firstFault = listIndexOutOfBounds(a.fieldCount <= 3 ? 3 : 4);
        for (auto [text, total] : {std::pair{a.expense, &allOut}, std::pair{a.income, &allIn}}) {
            if (text.empty()) continue;
            if (auto v = parseAmount(text))
                *total = wrapAdd(*total, *v);
            else if (!firstFault)
                firstFault = notAnInteger(text);
        }
        if (chunks.empty() || chunks.back().size() == kLinesPerChunk) {
            chunks.emplace_back();
            chunks.back().reserve(kLinesPerChunk);
        }
        chunks.back().push_back(std::move(line));
    }
    file.reset();
    records.addAll(std::move(chunks));
    setCumulativeTotals(allOut, allIn);

    try {
        ShowDay();
    } catch (const OrvoError&) {
        if (!firstFault) throw;
    }
    if (firstFault) throw *firstFault;
}

}  // namespace orvo
