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
#include <memory>
#include <memory_resource>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/LedgerDate.h"

namespace orvo {

class LoadedBytes;

// <0, 0, >0 as `a` sorts before, with, or after `b`.
int compareRecordLines(std::string_view a, std::string_view b);

// Lines stored back to back in one buffer, or standing in the bytes a load
// read (LoadedBytes), which they share with the other chunks of that load;
// the blocks of `LedgerRecords`, and chunks of lines for a bulk add.
class RecordChunk {
public:
    RecordChunk() = default;
    RecordChunk(const RecordChunk&) = default;
    RecordChunk(RecordChunk&&) noexcept = default;
    // Assigned as a whole: the positions' memory may belong to the loaded
    // bytes the chunk holds, and go with them.
    RecordChunk& operator=(const RecordChunk& other);
    RecordChunk& operator=(RecordChunk&& other) noexcept;

    std::size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    std::string_view operator[](std::size_t i) const { return lineAt(spans_[i]); }
    std::string_view back() const { return (*this)[size() - 1]; }
    void push(std::string_view line) {
        spans_.push_back({bytes_.size(), line.size()});
        bytes_.append(line);
    }
    void reserve(std::size_t lines, std::size_t bytes) {
        spans_.reserve(lines);
        bytes_.reserve(bytes);
    }

private:
    friend class LedgerRecords;
    friend class RecordListBuilder;
    // Full width: a block's lines may hold more than 4 GiB between them. An
    // offset with kLoaded set counts in loaded_, else in bytes_.
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    static constexpr std::size_t kLoaded = std::size_t{1} << (8 * sizeof(std::size_t) - 1);
    // Where a chunk's lines stand, apart from the chunk: its loaded bytes and its own.
    struct LineBase {
        const char* loaded;
        const char* own;
        std::string_view at(Span s) const {
            return {((s.offset & kLoaded) ? loaded : own) + (s.offset & ~kLoaded), s.length};
        }
    };
    LineBase lineBase() const { return {loadedData_, bytes_.data()}; }
    std::string_view lineAt(Span s) const { return lineBase().at(s); }
    // An empty chunk whose positions take the memory of the load of `loaded`.
    explicit RecordChunk(const std::shared_ptr<const LoadedBytes>& loaded);
    // Appends a line that stands in `loaded` (the chunk's loaded bytes, if it has any).
    void pushLoaded(const std::shared_ptr<const LoadedBytes>& loaded, std::string_view line);
    void shareLoaded(const std::shared_ptr<const LoadedBytes>& loaded);
    void insert(std::size_t i, std::string_view line);
    void erase(std::size_t i);
    // Moves lines [from, size) into a new chunk.
    RecordChunk splitOff(std::size_t from);
    // Appends line i of `from`, pointing into the same loaded bytes where it can.
    void pushFrom(const RecordChunk& from, std::size_t i);
    // Drops the bytes of erased lines.
    void compact();

    // First, so that it outlives spans_, whose memory it may hold.
    std::shared_ptr<const LoadedBytes> loaded_;
    const char* loadedData_ = nullptr;
    std::string bytes_;
    std::pmr::vector<Span> spans_;
    std::size_t unused_ = 0;  // bytes of erased lines still in bytes_
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
    // Inserts at `index`; the caller keeps the order (the history puts a line
    // back where it was).
    void insertAt(std::size_t index, std::string_view line);
    // Adds many lines as if added one by one in this order (so, of equal lines,
    // the later stands first), in linear time for lines with dates written
    // "yyyy/mm/dd" (RecordListBuilder).
    void addAll(const std::vector<std::string>& lines);
    // The same for lines read in chunks (each given back as soon as read).
    void addAll(std::vector<RecordChunk> chunks);
    void removeAt(std::size_t index);
    // Removes the lines at these indices, given in ascending order, in one pass.
    void removeAll(const std::vector<std::size_t>& indices);
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
        // Lines of a ledger loaded out of order lie all over the loaded
        // bytes: each is asked for from memory a few lines ahead.
        constexpr std::size_t kAhead = 8;
        for (const auto& block : blocks_) {
            const std::size_t n = block.size();
            for (std::size_t i = 0; i < n; ++i) {
                if (i + kAhead < n) __builtin_prefetch(block[i + kAhead].data());
                f(block[i]);
            }
        }
    }

    // Replaces the line at `index` in place; the caller keeps the order (the
    // bulk replace rewrites lines without re-sorting them).
    void replaceAt(std::size_t index, std::string_view line);

private:
    friend class RecordListBuilder;
    // The one way blocks come into the list: lines in the list's order (a
    // block larger than a block may be is cut up), merged with the lines
    // already there, each before those it equals (it came later). Throws
    // std::logic_error, the list unchanged, when the blocks are out of order.
    void takeInOrder(std::vector<RecordChunk> blocks);
    static std::vector<RecordChunk> merged(std::vector<RecordChunk> older,
                                           std::vector<RecordChunk> newer);
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
