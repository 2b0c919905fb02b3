#include "ledger/SearchList.h"

#include <algorithm>

#include "base/OrvoError.h"
#include "ledger/RecordLine.h"
#include "ledger/SearchMatch.h"

namespace orvo {

namespace {

// Lines searched at once: enough to make the per-call costs vanish, few
// enough to stay in the cache.
constexpr std::size_t kLinesPerPass = 2048;

// The ledger index of each listed record still there, each record claimed by
// one entry at most (two listed equal lines stand for two records).
std::vector<std::size_t> locateListed(const LedgerRecords& records, const SearchList& list,
                                      std::size_t& missing) {
    std::vector<bool> claimed(records.size());
    std::vector<std::size_t> found;
    for (std::size_t k = 0; k < list.size(); ++k) {
        const std::string_view line = list.recordLine(k);
        const std::size_t hint = list.positionWhenFound(k);
        if (hint < records.size() && !claimed[hint] && records[hint] == line) {
            claimed[hint] = true;
            found.push_back(hint);
            continue;
        }
        bool located = false;
        for (std::size_t i = records.lowerBound(line);
             i < records.size() && compareRecordLines(records[i], line) == 0; ++i) {
            if (!claimed[i] && records[i] == line) {
                claimed[i] = true;
                found.push_back(i);
                located = true;
                break;
            }
        }
        if (!located) ++missing;
    }
    std::sort(found.begin(), found.end());
    return found;
}

// A record line is one line of the data file: a line break in the new text
// is stored as the packed line break (ESC) instead, and a TAB, which would
// split a field, as a blank (as a TAB inside a quoted CSV field is).
std::string asTextInsideAField(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kFieldSeparator) {
            out += ' ';
        } else if (text[i] == '\r' || text[i] == '\n') {
            out += kPackedLineBreak;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::size_t SearchList::search(const LedgerRecords& records, std::string_view keyword) {
    clear();
    const KeywordMatcher matcher(keyword);
    std::vector<std::string_view> pass;  // the lines stay put: the records are not changed
    pass.reserve(kLinesPerPass);
    std::size_t passStart = 0;
    auto searchPass = [&] {
        for (std::size_t i : matcher.matchingLines(pass)) {
            entries_.push_back({lines_.size(), pass[i].size(), passStart + i});
            lines_.append(pass[i]);
        }
        passStart += pass.size();
        pass.clear();
    };
    records.forEach([&](std::string_view line) {
        pass.push_back(line);
        if (pass.size() == kLinesPerPass) searchPass();
    });
    searchPass();
    return entries_.size();
}

std::string SearchList::resultLine(std::size_t k) const {
    return resultLineOf(recordLine(k));
}

std::string_view SearchList::recordLine(std::size_t k) const {
    return std::string_view(lines_).substr(entries_[k].offset, entries_[k].length);
}

void SearchList::removeAt(std::size_t k) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(k));
}

void SearchList::clear() {
    lines_.clear();
    entries_.clear();
}

LedgerDate dateOfResultLine(std::string_view resultLine) {
    const std::string_view field = dateFieldOfResultLine(resultLine);
    if (auto date = LedgerDate::parse(field)) return *date;
    throw notADate(field);
}

void jumpToResult(LedgerBook& book, const SearchList& list, std::size_t k) {
    book.Recalculate();
    book.setPickedDay(dateOfResultLine(list.resultLine(k)));
    book.ShowDay();
}

ReplaceOutcome replaceListed(LedgerBook& book, const SearchList& list, std::string_view keyword,
                             std::string_view newText) {
    ReplaceOutcome outcome;
    const std::string inserted = asTextInsideAField(newText);
    std::vector<RecordRewrite> changes;
    for (std::size_t index : locateListed(book.records(), list, outcome.missing)) {
        const std::string_view line = book.records()[index];
        std::string replaced = replaceIgnoringAsciiCase(line, keyword, inserted);
        if (replaced != line) changes.push_back({index, std::move(replaced)});
    }
    outcome.changed = changes.size();
    book.rewriteRecords(std::move(changes), StepKind::BulkReplace);
    return outcome;
}

std::string searchKeywordMissingMessage() {
    return "検索キーワードを入力してください";
}
std::string searchNothingFoundMessage() {
    return "見つかりませんでした";
}
std::string replaceTextMissingMessage() {
    return "置換文字列が入力されていません";
}
std::string replaceDoneMessage() {
    return "置換終了しました";
}

}  // namespace orvo
