#include "ledger/CsvExport.h"

#include "ledger/CsvLine.h"

namespace orvo {

namespace {

constexpr std::size_t kBufferBytes = 1 << 20;
constexpr std::size_t kRecordsPerProgress = 16384;

bool writeRecords(const LedgerRecords& records, AtomicFileWriter& out,
                  const ProgressCallback& progress) {
    std::string buffer;
    buffer.reserve(kBufferBytes + 4096);
    std::size_t done = 0;
    bool cancelled = false;
    records.forEach([&](std::string_view line) {
        if (cancelled) return;
        appendCsvLine(line, buffer);
        if (buffer.size() >= kBufferBytes) {
            out.write(buffer);
            buffer.clear();
        }
        if (progress && ++done % kRecordsPerProgress == 0 && !progress(done, records.size()))
            cancelled = true;
    });
    if (cancelled) return false;
    out.write(buffer);
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
    book.dayViewChanged = true;
    book.Recalculate();
    if (!writeRecords(book.records, out, progress)) return false;
    out.commit();
    return true;
}

}  // namespace orvo
