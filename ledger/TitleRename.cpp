#include "ledger/TitleRename.h"

#include <string_view>
#include <vector>

#include "ledger/RecordLine.h"

namespace orvo {

namespace {

// Field `n` of a record line (empty when it has fewer fields) and where it starts.
std::pair<std::string_view, std::size_t> fieldOf(std::string_view line, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t tab = line.find(kFieldSeparator, start);
        if (tab == std::string_view::npos) return {{}, std::string_view::npos};
        start = tab + 1;
    }
    const std::size_t end = line.find(kFieldSeparator, start);
    return {line.substr(start, end == std::string_view::npos ? end : end - start), start};
}

// The field that holds the title, or npos when `line` does not carry it.
std::size_t titleFieldStart(std::string_view line, const RecordTitle& title) {
    const auto [title1, start1] = fieldOf(line, kColTitle1);
    if (start1 == std::string_view::npos || title1 != title.title1) return std::string_view::npos;
    if (title.title2.empty()) return start1;
    const auto [title2, start2] = fieldOf(line, kColTitle2);
    return start2 != std::string_view::npos && title2 == title.title2 ? start2
                                                                      : std::string_view::npos;
}

}  // namespace

std::size_t countRecordsTitled(const LedgerRecords& records, const RecordTitle& title) {
    std::size_t count = 0;
    records.forEach([&](std::string_view line) {
        if (titleFieldStart(line, title) != std::string_view::npos) ++count;
    });
    return count;
}

std::size_t renameTitleInRecords(LedgerBook& book, const RecordTitle& from,
                                 const std::string& newName) {
    const std::string_view oldName = from.title2.empty() ? from.title1 : from.title2;
    book.Recalculate();  // the day view's edits may hold the title too
    std::vector<RecordRewrite> renamed;
    for (std::size_t i = 0; i < book.records().size(); ++i) {
        const std::string_view line = book.records()[i];
        const std::size_t start = titleFieldStart(line, from);
        if (start == std::string_view::npos) continue;
        std::string changed(line);
        changed.replace(start, oldName.size(), newName);
        renamed.push_back({i, std::move(changed)});
    }
    const std::size_t count = renamed.size();
    // The new name may sort the records elsewhere within their day.
    if (count > 0) book.rewriteRecords(std::move(renamed), StepKind::TitleRename);
    return count;
}

}  // namespace orvo
