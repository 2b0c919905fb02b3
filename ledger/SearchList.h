#pragma once
// The search window's result list: the records found for a keyword, each
// held by its own text, so that a later jump or bulk replace acts on exactly
// the record a listed line shows, however the ledger changed since.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/LedgerBook.h"

namespace orvo {

class SearchList {
public:
    // Empties the list, then lists every record of `records`, in list order,
    // that contains `keyword` (KeywordMatcher). Returns the number listed.
    std::size_t search(const LedgerRecords& records, std::string_view keyword);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // The line the list shows for entry k.
    std::string resultLine(std::size_t k) const;
    // The record entry k shows, as it stood when found.
    std::string_view recordLine(std::size_t k) const;
    // Takes entry k out of the list (its record is left alone).
    void removeAt(std::size_t k);
    void clear();
    // The ledger index of entry k's record when it was found.
    std::size_t positionWhenFound(std::size_t k) const { return entries_[k].position; }

private:
    struct Entry {
        std::size_t offset;  // of the record's text in lines_
        std::size_t length;
        std::size_t position;  // its index in the ledger when found: where to look first
    };
    std::string lines_;
    std::vector<Entry> entries_;
};

// The date a listed line shows (its own field 0), or "'%s' は日付ではありません".
LedgerDate dateOfResultLine(std::string_view resultLine);

// The jump to entry k: the day view is written back, the picked day becomes
// the line's date and that day is shown. A line whose date is none stops it
// after the write-back, the picked day unchanged.
void jumpToResult(LedgerBook& book, const SearchList& list, std::size_t k);

struct ReplaceOutcome {
    std::size_t changed = 0;  // records rewritten
    std::size_t missing = 0;  // listed records no longer in the ledger (left out)
};

// The bulk replace: in every record the list shows that is still in the
// ledger, every occurrence of `keyword` becomes `newText`
// (replaceIgnoringAsciiCase; a line break in `newText` is stored as ESC and a
// TAB as a blank, so that a record stays one line of the same fields); no
// other record changes. The changed records
// move to their sorted places, the cumulative totals are summed again from
// the records and the picked day is shown (a fault of that showing is thrown
// once all else is done).
ReplaceOutcome replaceListed(LedgerBook& book, const SearchList& list, std::string_view keyword,
                             std::string_view newText);

// The texts of the search window (CP932).
std::string searchKeywordMissingMessage();  // "検索キーワードを入力してください"
std::string searchNothingFoundMessage();    // "見つかりませんでした"
std::string replaceTextMissingMessage();    // "置換文字列が入力されていません"
std::string replaceDoneMessage();           // "置換終了しました"

}  // namespace orvo
