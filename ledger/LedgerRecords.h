#pragma once
// The whole ledger: record lines kept sorted by the whole line, ASCII letter
// case ignored (never on the trail byte of a double-byte character). Lines that
// compare equal are all kept; a new one goes before them.
//
// Kept in blocks so that inserting or removing a day's records in a ledger of a
// million lines moves a few thousand entries, not the whole list.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/LedgerDate.h"

namespace orvo {

// <0, 0, >0 as `a` sorts before, with, or after `b`.
int compareRecordLines(std::string_view a, std::string_view b);

class LedgerRecords {
public:
    LedgerRecords();

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const std::string& operator[](std::size_t index) const;

    // Inserts at the sorted place, before lines that compare equal; returns the index.
    std::size_t add(std::string line);
    // Adds many lines as if added one by one in this order (so, of equal lines,
    // the later stands first), in O(n log n).
    void addAll(std::vector<std::string> lines);
    // The same for lines read in chunks: a sorted ledger file becomes the list
    // without ever being held twice.
    void addAll(std::vector<std::vector<std::string>> chunks);
    void removeAt(std::size_t index);
    void clear();

    // The first index whose line does not sort before `key`.
    std::size_t lowerBound(std::string_view key) const;

    // The indices, in list order, of the records whose field 0 reads as `day`:
    // those written "yyyy/mm/dd" are found by bisection, the others (rare; from
    // CSV imports) through a side index.
    std::vector<std::size_t> indicesOfDay(const LedgerDate& day) const;

    // The first record whose field 0 is not a date and which the day scan from
    // the first record up to `day` would reach, or nullptr.
    const std::string* undatedRecordBefore(const LedgerDate& day) const;

    // Calls f(line) for every line in order.
    template <class F>
    void forEach(F&& f) const {
        for (const auto& block : blocks_)
            for (const auto& line : block) f(line);
    }

    // Replaces the line at `index` in place; the caller keeps the order (the
    // bulk replace rewrites lines without re-sorting them).
    void replaceAt(std::size_t index, std::string line);

private:
    using Block = std::vector<std::string>;

    struct Position {
        std::size_t block;
        std::size_t offset;
    };
    Position locate(std::size_t index) const;
    void rebuildStarts() const;
    void noteAdded(const std::string& line);
    void noteRemoved(const std::string& line);

    std::vector<Block> blocks_;
    std::size_t size_ = 0;
    mutable std::vector<std::size_t> starts_;  // index of each block's first line
    mutable bool startsValid_ = false;

    // Records whose field 0 reads as a date but is not written "yyyy/mm/dd",
    // by date; and records whose field 0 is no date at all.
    std::multimap<std::int32_t, std::string> oddlyDated_;
    struct LineLess {
        bool operator()(const std::string& a, const std::string& b) const { return compareRecordLines(a, b) < 0; }
    };
    std::multiset<std::string, LineLess> undated_;
};

}  // namespace orvo
