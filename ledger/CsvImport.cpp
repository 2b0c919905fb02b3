#include "ledger/CsvImport.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "base/Amount.h"
#include "base/Cp932.h"
#include "base/LineReader.h"
#include "base/ReadFile.h"
#include "ledger/CsvLine.h"
#include "ledger/CsvLineReader.h"
#include "ledger/LoadedBytes.h"
#include "ledger/RecordAmountSums.h"
#include "ledger/RecordLine.h"
#include "ledger/RecordListBuilder.h"

namespace orvo {

namespace {

constexpr int kNewLedgerColumns = 6;  // as ResetLedgerTable leaves the table
// The widest table a ledger file may have and still load: a wider line
// would make a ledger that cannot be reopened once saved.
constexpr long long kMaxColumns = 10'000;
constexpr std::size_t kLinesPerProgress = 16384;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// What is looked at to tell a CSV text from something else.
constexpr std::size_t kHeadSize = 1 << 16;

std::string nameForMessage(const std::string& path) {
    return cp932::fromUtf8(path).bytes;
}

OrvoError notCsvText(const std::string& path) {
    return OrvoError("ファイル " + nameForMessage(path) + " はCSVのテキストではありません");
}

bool isWholeNumber(std::string_view line) {
    return !line.empty() && line.find_first_not_of("0123456789") == std::string_view::npos;
}

// UTF-16 (its byte-order mark, or the NUL bytes of its ASCII), binary data,
// or a ledger (its header: four lines of one whole number each) would only
// stop at their first line with a fault that says nothing of why.
bool looksLikeCsvText(std::string_view head) {
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) return false;
    if (head.find('\0') != std::string_view::npos) return false;
    CsvLineReader lines(head);
    std::string_view line;
    for (int n = 0; n < 4; ++n)
        if (!lines.next(line) || !isWholeNumber(line)) return true;
    return false;
}

std::string readRest(std::FILE* file, const std::string& path) {
    std::string bytes;
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    if (std::ferror(file)) throw cannotOpenFile(nameForMessage(path));
    return bytes;
}

// "U+XXXX" for a UTF-8 character, or the bytes in hex when they are no character.
std::string describeCharacter(std::string_view utf8) {
    const auto b0 = static_cast<unsigned char>(utf8[0]);
    char text[32];
    unsigned code = 0;
    std::size_t length = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) code = b0 & 0x1Fu, length = 2;
    if (b0 >= 0xE0 && b0 <= 0xEF) code = b0 & 0x0Fu, length = 3;
    if (b0 >= 0xF0 && b0 <= 0xF4) code = b0 & 0x07u, length = 4;
    bool valid = length > 0 && utf8.size() >= length;
    for (std::size_t i = 1; valid && i < length; ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        valid = (b & 0xC0) == 0x80;
        code = (code << 6) | (b & 0x3Fu);
    }
    if (valid)
        std::snprintf(text, sizeof text, "U+%04X", code);
    else
        std::snprintf(text, sizeof text, "0x%02X", b0);
    return text;
}

OrvoError unencodableCharacter(std::size_t lineNumber, std::string_view utf8Character) {
    return OrvoError("CSVファイルの " + std::to_string(lineNumber) + " 行目の文字 " +
                     describeCharacter(utf8Character) +
                     " はShift-JISで表せないため、読み込めません");
}

// A file with the UTF-8 byte-order mark, as CP932; every character must have
// a CP932 code, else the first one that has none is named with its line.
std::string utf8FileAsCp932(std::string_view utf8) {
    utf8 = utf8.substr(0, utf8.find('\x1A'));  // the end of the file
    cp932::Encoded whole = cp932::fromUtf8(utf8);
    if (whole.ok()) return std::move(whole.bytes);
    std::size_t lineNumber = 1;
    for (std::size_t start = 0; start <= utf8.size(); ++lineNumber) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        const cp932::Encoded line = cp932::fromUtf8(utf8.substr(start, end - start));
        if (!line.ok()) throw unencodableCharacter(lineNumber, line.unencodable);
        start = end + 1;
    }
    throw unencodableCharacter(lineNumber, whole.unencodable);  // not reached
}

// The import's outcome before it touches the ledger.
struct StagedImport {
    int columns = kNewLedgerColumns;
    std::vector<std::string> titles;
    // The records, sorted as they come into a list of their own: in bytes
    // of its own, which the ledger's list then points into.
    std::unique_ptr<LedgerRecords> list = std::make_unique<LedgerRecords>();
    std::unique_ptr<RecordListBuilder> builder;
    std::size_t records = 0;
    AmountSums sums;
    std::size_t emptyTitleRecords = 0;
    std::string firstEmptyTitleRecord;
    std::size_t badAmountRecords = 0;
    std::string firstBadAmountRecord;
    std::optional<OrvoError> fault;
    bool cancelled = false;
};

// False, with the fault, when the line is wider than a ledger can be.
bool growColumns(StagedImport& staged, const CsvFields& fields) {
    const auto wanted = static_cast<long long>(fields.size()) + 1;
    if (wanted > kMaxColumns) {
        staged.fault = tableSizeOutOfRange(wanted);
        return false;
    }
    if (wanted > staged.columns + 1) staged.columns = static_cast<int>(wanted);
    return true;
}

// Titles for columns 1 to the last from the first line; a line with too few
// fields stops at the first column it has none for.
void stageTitles(StagedImport& staged, CsvLineReader& lines, CsvFields& fields) {
    std::string_view line;
    if (!lines.next(line)) line = {};
    splitCsvLine(line, fields);
    if (!growColumns(staged, fields)) return;
    for (std::size_t c = 1; c < static_cast<std::size_t>(staged.columns); ++c) {
        if (c - 1 >= fields.size()) {
            staged.fault = listIndexOutOfBounds(static_cast<long long>(fields.size()));
            return;
        }
        staged.titles.emplace_back(fields[c - 1]);
    }
}

// Notes `record` when it comes before the first noted so far, in ledger order.
void noteRecord(std::size_t& count, std::string& first, std::string_view record) {
    if (count++ == 0 || compareRecordLines(record, first) < 0) first = record;
}

std::string dateOf(std::string_view record) {
    return std::string(record.substr(0, record.find(kFieldSeparator)));
}

// Adds the amount of field `column` when there is one; false when it is
// neither empty nor a whole number.
bool addAmountField(const CsvFields& fields, int column, std::int32_t& total) {
    const auto i = static_cast<std::size_t>(column);
    return i >= fields.size() || addAmount(fields[i], total);
}

// `place`: where the CSV line stands in the loaded bytes, if it does. Its
// record is never longer (the commas become TABs; quotes and blanks around
// fields go), so it takes the line's place there, and the list points to it
// rather than to a copy.
void stageRecord(StagedImport& staged, const CsvFields& fields, char* place, std::size_t room) {
    std::string_view record = fields.recordLine();
    if (place && record.size() <= room) {
        std::memcpy(place, record.data(), record.size());
        record = std::string_view(place, record.size());
    }
    staged.builder->add(record);
    ++staged.records;
    if (fields.size() < 2 || fields[1].empty())
        noteRecord(staged.emptyTitleRecords, staged.firstEmptyTitleRecord, record);
    const bool expenseRead = addAmountField(fields, kColExpense, staged.sums.expense);
    const bool incomeRead = addAmountField(fields, kColIncome, staged.sums.income);
    if (!expenseRead || !incomeRead)
        noteRecord(staged.badAmountRecords, staged.firstBadAmountRecord, record);
}

StagedImport stageImport(CsvLineReader& lines, std::size_t total, bool titles,
                         const ProgressCallback& progress) {
    StagedImport staged;
    // The records stand where their lines were read; a text converted in
    // memory is staged: a record is no longer than its CSV line, so the
    // builder's room for them all is the text's size.
    const std::shared_ptr<LoadedBytes> loaded = lines.loadedBytes();
    staged.builder = loaded ? std::make_unique<RecordListBuilder>(*staged.list, loaded)
                            : std::make_unique<RecordListBuilder>(*staged.list, nullptr, total);
    CsvFields fields;
    if (titles) {
        stageTitles(staged, lines, fields);
        if (staged.fault) return staged;
    }
    std::string_view line;
    for (std::size_t n = 1; lines.next(line); ++n) {
        if (progress && n % kLinesPerProgress == 0 &&
            !progress(std::min(lines.consumed(), total), total)) {
            staged.cancelled = true;
            return staged;
        }
        splitCsvLine(line, fields);
        if (fields.empty()) {
            staged.fault = listIndexOutOfBounds(-1);
            return staged;
        }
        if (!growColumns(staged, fields)) return staged;
        stageRecord(staged, fields, lines.placeOf(line), line.size());
        if (fields.size() < 5) {
            staged.fault = listIndexOutOfBounds(fields.size() < 4 ? 3 : 4);
            return staged;
        }
    }
    if (progress) progress(total, total);
    return staged;
}

// The ledger becomes the staged one; the totals and the day view are brought
// up to date even when the import stopped partway, so that the next
// write-back starts from the right numbers.
void commit(LedgerBook& book, StagedImport& staged) {
    try {
        staged.builder->finish();
        staged.builder.reset();
        book.replaceWithImported(std::move(*staged.list), staged.columns, staged.titles,
                                 staged.sums.expense, staged.sums.income);
    } catch (const OrvoError& e) {
        // A bad amount of the day shown is among those the notice counts.
        const bool counted = e.cell() && staged.badAmountRecords > 0;
        if (!staged.fault && !counted) staged.fault = e;
    }
}

}  // namespace

CsvImportResult importCsv(LedgerBook& book, const std::string& path, const CsvImportHooks& hooks) {
    std::size_t total = 0;
    OwnedFile file = openForReading(path, &total);
    std::string head(kHeadSize, '\0');
    const ssize_t got = ::pread(::fileno(file.get()), head.data(), head.size(), 0);
    if (got < 0) throw cannotOpenFile(nameForMessage(path));
    head.resize(static_cast<std::size_t>(got));
    std::string converted;
    std::optional<CsvLineReader> lines;
    if (head.starts_with(kUtf8Mark)) {
        std::fseek(file.get(), static_cast<long>(kUtf8Mark.size()), SEEK_SET);
        converted = utf8FileAsCp932(readRest(file.get(), path));
        total = converted.size();
        lines.emplace(converted);
    } else {
        if (!looksLikeCsvText(head)) throw notCsvText(path);
        lines.emplace(::fileno(file.get()), 0);
    }
    const bool titles = hooks.firstLineHoldsTitles && hooks.firstLineHoldsTitles();
    StagedImport staged;
    try {
        staged = stageImport(*lines, total, titles, hooks.progress);
    } catch (const OverlongLine&) {
        throw lineTooLong(nameForMessage(path));
    }
    if (lines->failed()) throw cannotOpenFile(nameForMessage(path));

    CsvImportResult result;
    if (staged.cancelled) {
        result.cancelled = true;
        return result;
    }
    result.records = staged.records;
    result.emptyTitleRecords = staged.emptyTitleRecords;
    if (staged.emptyTitleRecords > 0)
        result.firstEmptyTitleDate = dateOf(staged.firstEmptyTitleRecord);
    result.badAmountRecords = staged.badAmountRecords;
    if (staged.badAmountRecords > 0)
        result.firstBadAmountDate = dateOf(staged.firstBadAmountRecord);
    commit(book, staged);
    result.fault = std::move(staged.fault);
    return result;
}

std::string csvTitleQuestion() {
    return "読み込んだﾃﾞｰﾀの先頭行は項目名ですか\r\n\r\n項目：はい\r\nﾃﾞｰﾀ：いいえ";
}

std::string emptyTitleNotice(const CsvImportResult& result) {
    return "勘定科目1が空のデータが " + std::to_string(result.emptyTitleRecords) +
           " 件あります (最初は " + result.firstEmptyTitleDate +
           ")。その日の表を再計算すると、これらのデータは失われます";
}

std::string badAmountNotice(const CsvImportResult& result) {
    return "支出か収入が整数でないデータが " + std::to_string(result.badAmountRecords) +
           " 件あります (最初は " + result.firstBadAmountDate +
           ")。合計には数えられません。その日の表で整数に直してください";
}

}  // namespace orvo
