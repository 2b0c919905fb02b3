#include "statement/StatementImport.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "base/Amount.h"
#include "ledger/LedgerBook.h"
#include "ledger/RecordLine.h"
#include "statement/FoldText.h"

namespace orvo::statement {

namespace {

// The fields of a record line without copying: date, titles, amounts, description.
struct RecordView {
    std::string_view fields[6];
    std::size_t count = 0;
};

RecordView viewOf(std::string_view line) {
    RecordView v;
    std::size_t start = 0;
    while (v.count < 6) {
        const std::size_t tab = line.find('\t', start);
        v.fields[v.count++] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return v;
}

bool importable(const PreviewRow& row) {
    return row.state != RowState::Error;
}

}  // namespace

std::string unclassifiedTitle() {
    return "未分類";
}

void assignTitles(std::vector<PreviewRow>& rows, const LedgerRecords& records,
                  const std::vector<ImportRule>& rules) {
    struct Use {
        std::size_t count = 0;
        std::size_t last = 0;
    };
    using Pair = std::pair<std::string, std::string>;
    // The shops the rules leave open, and what the ledger used for each.
    std::unordered_map<std::string, std::map<Pair, Use>> history;
    std::vector<std::string> folded(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PreviewRow& row = rows[i];
        if (!importable(row)) continue;
        folded[i] = foldForMatching(row.row.description);
        if (const ImportRule* rule = matchingRule(rules, folded[i])) {
            row.title1 = rule->title1;
            row.title2 = rule->title2;
        } else {
            history[folded[i]];
        }
    }
    if (!history.empty()) {
        std::size_t index = 0;
        std::string key;
        records.forEach([&](std::string_view line) {
            ++index;
            const RecordView v = viewOf(line);
            if (v.count < 6 || v.fields[1].empty()) return;
            key = foldForMatching(v.fields[5]);
            const auto it = history.find(key);
            if (it == history.end()) return;
            Use& use = it->second[Pair(v.fields[1], v.fields[2])];
            ++use.count;
            use.last = index;
        });
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PreviewRow& row = rows[i];
        if (!importable(row) || !row.title1.empty()) continue;
        const auto it = history.find(folded[i]);
        const std::pair<const Pair, Use>* best = nullptr;
        if (it != history.end())
            for (const auto& entry : it->second)
                if (!best || entry.second.count > best->second.count ||
                    (entry.second.count == best->second.count &&
                     entry.second.last > best->second.last))
                    best = &entry;
        if (best) {
            row.title1 = best->first.first;
            row.title2 = best->first.second;
        } else {
            row.title1 = unclassifiedTitle();
            row.title2.clear();
        }
    }
}

void markDuplicates(std::vector<PreviewRow>& rows, const LedgerRecords& records) {
    // The rows by day, in statement order within a day.
    std::map<LedgerDate, std::vector<std::size_t>> byDay;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (importable(rows[i])) byDay[rows[i].row.date].push_back(i);
    for (const auto& [day, rowIndices] : byDay) {
        struct Candidate {
            std::int32_t expense;
            std::int32_t income;
            std::string description;
            bool used = false;
        };
        std::vector<Candidate> candidates;
        for (std::size_t index : records.indicesOfDay(day)) {
            const RecordView v = viewOf(records[index]);
            const auto expense =
                v.count > 3 ? parseAmount(v.fields[3]) : std::optional<std::int32_t>(0);
            const auto income =
                v.count > 4 ? parseAmount(v.fields[4]) : std::optional<std::int32_t>(0);
            candidates.push_back({expense.value_or(0), income.value_or(0),
                                  foldForMatching(v.count > 5 ? v.fields[5] : std::string_view()),
                                  false});
        }
        // Exact matches first, so that a record holding two rows' descriptions
        // goes to the row it equals.
        for (bool exact : {true, false}) {
            for (std::size_t i : rowIndices) {
                PreviewRow& row = rows[i];
                if (row.state == RowState::Duplicate) continue;
                const std::string folded = foldForMatching(row.row.description);
                for (Candidate& c : candidates) {
                    if (c.used || c.expense != row.row.expense || c.income != row.row.income)
                        continue;
                    if (exact ? c.description != folded
                              : c.description.find(folded) == std::string::npos)
                        continue;
                    c.used = true;
                    row.state = RowState::Duplicate;
                    row.ticked = false;
                    break;
                }
            }
        }
    }
}

std::vector<PreviewRow> preview(const ReadStatement& statement, const LedgerRecords& records,
                                const std::vector<ImportRule>& rules) {
    std::vector<PreviewRow> rows;
    rows.reserve(statement.rows.size());
    for (const StatementRow& r : statement.rows) {
        PreviewRow row;
        row.row = r;
        row.state = r.ok() ? RowState::New : RowState::Error;
        row.ticked = r.ok();
        rows.push_back(std::move(row));
    }
    markDuplicates(rows, records);
    assignTitles(rows, records, rules);
    return rows;
}

StatementCounts countRows(const std::vector<PreviewRow>& rows) {
    StatementCounts counts;
    for (const PreviewRow& row : rows) {
        switch (row.state) {
            case RowState::New:
                ++counts.added;
                break;
            case RowState::Duplicate:
                ++counts.duplicates;
                break;
            case RowState::Error:
                ++counts.errors;
                break;
        }
    }
    return counts;
}

std::string countsText(const StatementCounts& c) {
    return "新規 " + std::to_string(c.added) + "件・重複 " + std::to_string(c.duplicates) +
           "件・エラー " + std::to_string(c.errors) + "件";
}

std::string recordLineOf(const PreviewRow& row) {
    std::string line = row.row.date.format();
    for (const std::string* field : {&row.title1, &row.title2}) {
        line += kFieldSeparator;
        line += PackLineBreaks(*field);
    }
    line += kFieldSeparator + std::to_string(row.row.expense);
    line += kFieldSeparator + std::to_string(row.row.income);
    line += kFieldSeparator;
    line += PackLineBreaks(row.row.description);
    return line;
}

std::size_t addTickedRows(LedgerBook& book, const std::vector<PreviewRow>& rows) {
    book.Recalculate();  // the day view's edits first; throws before anything changes
    std::optional<LedgerDate> firstDay;
    std::vector<std::string> lines;
    for (const PreviewRow& row : rows) {
        if (!row.ticked || !importable(row)) continue;
        // A record with an empty level-1 title would be dropped at write-back.
        PreviewRow stored = row;
        if (stored.title1.empty()) stored.title1 = unclassifiedTitle();
        lines.push_back(recordLineOf(stored));
        if (!firstDay || row.row.date < *firstDay) firstDay = row.row.date;
    }
    if (lines.empty()) return 0;
    book.asOneStep(StepKind::StatementImport, [&] {
        book.addRecords(lines, StepKind::StatementImport);
        book.goToDay(*firstDay);
    });
    return lines.size();
}

std::string importedMessage(std::size_t count) {
    return std::to_string(count) + "件の明細を取り込みました";
}

}  // namespace orvo::statement
