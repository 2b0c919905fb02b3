#include "ledger/CsvExport.h"

#include <cstring>

#include "ledger/CsvLine.h"

namespace orvo {

namespace {

constexpr std::size_t kBufferBytes = 1 << 18;  // stays in the cache
constexpr std::size_t kRecordsPerProgress = 16384;

bool writeRecords(const LedgerRecords& records, AtomicFileWriter& out,
                  const ProgressCallback& progress) {
    std::string buffer(kBufferBytes, '\0');
    std::size_t used = 0;
    std::string longLine;
    std::size_t done = 0;
    bool cancelled = false;
    records.forEach([&](std::string_view line) {
        if (cancelled) return;
        if (used + line.size() + 2 > buffer.size()) {
            out.write(std::string_view(buffer).substr(0, used));
            used = 0;
        }
        if (line.size() + 2 <= buffer.size() && writePlainCsvFields(line, buffer.data() + used)) {
            used += line.size();
            buffer[used++] = '\r';
            buffer[used++] = '\n';
        } else {
            // A field to quote, or too long for the buffer.
            longLine.clear();
            appendCsvLine(line, longLine);
            if (used + longLine.size() > buffer.size()) {
                out.write(std::string_view(buffer).substr(0, used));
                used = 0;
            }
            if (longLine.size() > buffer.size()) {
                out.write(longLine);
            } else {
                std::memcpy(buffer.data() + used, longLine.data(), longLine.size());
                used += longLine.size();
            }
        }
        if (progress && ++done % kRecordsPerProgress == 0 && !progress(done, records.size()))
            cancelled = true;
    });
    if (cancelled) return false;
    out.write(std::string_view(buffer).substr(0, used));
    if (progress) progress(records.size(), records.size());
    return true;
}

}  // namespace

bool writeCsv(const LedgerRecords& records, const std::string& path,
              const ProgressCallback& progress, const WriteFaults& faults) {
    AtomicFileWriter out(path, faults);
    if (!writeRecords(records, out, progress)) return false;
    out.commit();
    return true;
}

bool exportCsv(LedgerBook& book, const std::string& path, const ProgressCallback& progress) {
    AtomicFileWriter out(path);
    book.markDayViewChanged();
    book.Recalculate();
    if (!writeRecords(book.records(), out, progress)) return false;
    out.commit();
    return true;
}

}  // namespace orvo
