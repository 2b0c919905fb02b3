#pragma once
// The whole ledger: record lines kept sorted by the whole line, ASCII letter
// case ignored (never on the trail byte of a double-byte character). Lines that
// compare equal are all kept; a new one goes before them.
//
// Kept in blocks of about a thousand lines, each block's lines stored back to
// back in one buffer: inserting or removing a day's records in a ledger of a
// million lines moves a few thousand entries, and a line costs no allocation
// of its own.

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

// Lines stored back to back in one buffer; the blocks of `LedgerRecords`, and
// the chunks a CSV import is read in.
class RecordChunk {
public:
    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::string_view operator[](std::size_t i) const {
        return std::string_view(bytes_).substr(spans_[i].offset, spans_[i].length);
    }
    std::string_view back() const { return (*this)[size() - 1]; }
    void push(std::string_view line) { insert(size(), line); }
    void reserve(std::size_t lines, std::size_t bytes) {
        spans_.reserve(lines);
        bytes_.reserve(bytes);
    }

private:
    friend class LedgerRecords;
    // Full width: a block's lines may hold more than 4 GiB between them.
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    void insert(std::size_t i, std::string_view line);
    void erase(std::size_t i);
    // Moves lines [from, size) into a new chunk.
    RecordChunk splitOff(std::size_t from);
    // Drops the bytes of erased lines.
    void compact();

    std::string bytes_;
    std::vector<Span> spans_;
    std::size_t unused_ = 0;  // bytes of erased lines still in bytes_
};

class LedgerRecords;

// Fills a list with many lines given in the order they stand (in a file, say),
// with the result that adding them one by one in that order gives: the
// specified order, and of equal lines the later first.
//
// Lines are taken in runs of one field 0 (a day, as a file holds them), each
// run sorted on its own and placed after the previous one when all its lines
// sort after it. So a ledger whose days are in order, whatever the order inside
// each day, is sorted in one pass that holds only a day at a time; lines that
// break that order are sorted together and merged in at the end.
class RecordListBuilder {
public:
    explicit RecordListBuilder(LedgerRecords& records);
    RecordListBuilder(const RecordListBuilder&) = delete;
    RecordListBuilder& operator=(const RecordListBuilder&) = delete;

    // `line` must stay readable until finish() returns.
    void add(std::string_view line);
    // When every line comes from one buffer, in the order it holds them: the
    // first byte of it that the builder may still read (bytes before it may be
    // dropped), or nullptr when it reads none.
    const char* firstHeldByte() const;
    // Puts every line added but not yet placed into the list.
    void finish();

private:
    void sortRun();
    void placeRun();
    void placePending();
    void mergeRest();

    // A line of the run with the folded bytes that follow its field 0 and TAB,
    // which decide most comparisons inside a run by themselves.
    struct KeyedLine {
        std::uint64_t key;
        std::size_t position;  // in the run
        std::string_view line;
    };

    LedgerRecords& records_;
    std::vector<std::string_view> run_;  // lines of one field 0, in the order given
    std::string_view runField0_;
    bool runCanonical_ = false;  // field 0 is a date written "yyyy/mm/dd"
    std::vector<KeyedLine> keyed_;
    std::vector<std::string_view> pending_;  // placed in order, not yet in a block
    std::string_view greatest_;              // the last line placed
    bool placedAny_ = false;
    // Once the order breaks: the lines left, to be sorted and merged in at the
    // end; read from back to front (the earliest of them last).
    bool merging_ = false;
    std::vector<std::string_view> rest_;
    const char* restHeldFrom_ = nullptr;
};

class LedgerRecords {
public:
    LedgerRecords();

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Valid until the list next changes.
    std::string_view operator[](std::size_t index) const;

    // Inserts at the sorted place, before lines that compare equal; returns the index.
    std::size_t add(std::string_view line);
    // Adds many lines as if added one by one in this order (so, of equal lines,
    // the later stands first), in O(n log n) and in one pass over lines whose
    // days are in order (RecordListBuilder).
    void addAll(const std::vector<std::string>& lines);
    // The same for lines read in chunks: lines in order become the
    // list's blocks as they are, without being copied.
    void addAll(std::vector<RecordChunk> chunks);
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
            for (std::size_t i = 0; i < block.size(); ++i) f(block[i]);
    }

    // Replaces the line at `index` in place; the caller keeps the order (the
    // bulk replace rewrites lines without re-sorting them).
    void replaceAt(std::size_t index, std::string_view line);

private:
    friend class RecordListBuilder;
    struct Position {
        std::size_t block;
        std::size_t offset;
    };
    Position locate(std::size_t index) const;
    void rebuildStarts() const;
    void noteAdded(std::string_view line);
    void noteRemoved(std::string_view line);

    std::vector<RecordChunk> blocks_;
    std::size_t size_ = 0;
    mutable std::vector<std::size_t> starts_;  // index of each block's first line
    mutable bool startsValid_ = false;

    // Records whose field 0 reads as a date but is not written "yyyy/mm/dd",
    // by date; and records whose field 0 is no date at all.
    std::multimap<std::int32_t, std::string> oddlyDated_;
    struct LineLess {
        bool operator()(const std::string& a, const std::string& b) const {
            return compareRecordLines(a, b) < 0;
        }
    };
    std::multiset<std::string, LineLess> undated_;
};

}  // namespace orvo
