#pragma once
// Part of RecordListBuilder: the lines of a load out of order that stand in
// its loaded bytes, gathered by month in the order given, then laid out as
// the list's blocks, each day sorted as adding the lines one by one would.
// A month's lines lie close together while its days are sorted, and the
// gathering needs no look at the rest of the file first: a load reads the
// file once.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "ledger/LoadedBytes.h"
#include "ledger/RecordListBuilder.h"

namespace orvo {

class RecordListBuilder::LinesByMonth {
public:
    explicit LinesByMonth(std::shared_ptr<const LoadedBytes> loaded);
    LinesByMonth(const LinesByMonth&) = delete;
    LinesByMonth& operator=(const LinesByMonth&) = delete;

    // `line` stands in the loaded bytes, its day key (dayKey()) not negative.
    // False when it cannot wait here (a line of 16 MiB or more): it goes apart.
    bool add(std::string_view line, std::int32_t key);
    std::size_t size() const { return size_; }
    // The lines as the list's blocks, in order; on two threads from a size.
    std::vector<RecordChunk> takeBlocks();

private:
    // A line waits as where it stands and its length: offset << kLengthBits | length.
    static constexpr unsigned kLengthBits = 24;
    struct Piece {
        Piece* next;
        std::uint32_t used;
        std::uint32_t capacity;
        std::uint64_t* entries() { return reinterpret_cast<std::uint64_t*>(this + 1); }
    };
    struct Month {
        Piece* first = nullptr;
        Piece* last = nullptr;          // its `used` is counted by `next` until takeBlocks()
        std::uint64_t* next = nullptr;  // where the next line waits, up to `end`
        std::uint64_t* end = nullptr;
        std::size_t count = 0;
        std::uint32_t number = 0;  // dayKey / 32
    };
    Piece* newPiece(std::uint32_t capacity);
    void layOut(std::size_t from, std::size_t to, std::vector<RecordChunk>& blocks,
                std::vector<KeyedSpan>& keyed) const;

    std::shared_ptr<const LoadedBytes> loaded_;
    LargePageArena pieces_;
    std::vector<std::uint32_t> slotOfMonth_;  // by dayKey / 32: 0, or 1 + index in months_
    std::vector<Month> months_;               // in the order first met
    std::size_t size_ = 0;
};

}  // namespace orvo
