#include "ledger/LinesByMonth.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <new>
#include <utility>

#include "ledger/RecordListLayout.h"

namespace orvo {

namespace {

// Months by dayKey / 32, up to the last of the year 9999.
constexpr std::size_t kMonths = 9999 * 16 + 12 + 1;
// A month's lines wait in pieces that grow from a few lines: a ledger may
// hold a few lines in each of many months, or many in a few.
constexpr std::uint32_t kFirstPiece = 16;
constexpr std::uint32_t kLargestPiece = 256;
constexpr std::size_t kPieceSlab = std::size_t{2} << 20;
// Lines from which laying them out pays a second thread.
constexpr std::size_t kLinesForSecondThread = 65536;
// Lines whose bytes are asked for from memory ahead of their reading.
constexpr std::size_t kAhead = 16;

}  // namespace

RecordListBuilder::LinesByMonth::LinesByMonth(std::shared_ptr<const LoadedBytes> loaded)
    : loaded_(std::move(loaded)), pieces_(kPieceSlab), slotOfMonth_(kMonths, 0) {}

RecordListBuilder::LinesByMonth::Piece* RecordListBuilder::LinesByMonth::newPiece(
    std::uint32_t capacity) {
    void* at = pieces_.allocate(sizeof(Piece) + capacity * sizeof(std::uint64_t), alignof(Piece));
    return new (at) Piece{nullptr, 0, capacity};
}

bool RecordListBuilder::LinesByMonth::add(std::string_view line, std::int32_t key) {
    const auto offset = static_cast<std::uint64_t>(line.data() - loaded_->data());
    if (line.size() >= (std::size_t{1} << kLengthBits) ||
        offset >= (std::uint64_t{1} << (64 - kLengthBits)))
        return false;
    const auto number = static_cast<std::uint32_t>(key) / 32;
    std::uint32_t& slot = slotOfMonth_[number];
    if (slot == 0) {
        months_.push_back({});
        months_.back().number = number;
        slot = static_cast<std::uint32_t>(months_.size());
    }
    // The month alone is looked at: a piece's own count would be one more
    // wait on memory for every line.
    Month& month = months_[slot - 1];
    if (month.next == month.end) {
        Piece* full = month.last;
        const std::uint32_t capacity =
            full ? std::min(2 * full->capacity, kLargestPiece) : kFirstPiece;
        Piece* fresh = newPiece(capacity);
        if (full) full->used = full->capacity;
        (full ? full->next : month.first) = fresh;
        month.last = fresh;
        month.next = fresh->entries();
        month.end = month.next + capacity;
    }
    *month.next++ = offset << kLengthBits | line.size();
    ++month.count;
    ++size_;
    return true;
}

std::vector<RecordChunk> RecordListBuilder::LinesByMonth::takeBlocks() {
    for (Month& month : months_)  // (none yet where its first piece could not be had)
        if (month.last)
            month.last->used = static_cast<std::uint32_t>(month.next - month.last->entries());
    std::sort(months_.begin(), months_.end(),
              [](const Month& a, const Month& b) { return a.number < b.number; });
    // A second thread takes the later months, about half of the lines.
    std::size_t half = months_.size();
    if (size_ >= kLinesForSecondThread) {
        std::size_t before = 0;
        for (half = 0; half < months_.size() && before < size_ / 2; ++half)
            before += months_[half].count;
    }
    std::vector<RecordChunk> blocks;
    std::vector<KeyedSpan> keyed;
    if (half == 0 || half == months_.size()) {
        layOut(0, months_.size(), blocks, keyed);
        return blocks;
    }
    std::vector<RecordChunk> later;
    std::vector<KeyedSpan> laterKeyed;
    runSideBySide([&] { layOut(0, half, blocks, keyed); },
                  [&] { layOut(half, months_.size(), later, laterKeyed); });
    blocks.insert(blocks.end(), std::make_move_iterator(later.begin()),
                  std::make_move_iterator(later.end()));
    return blocks;
}

// Lays out months [from, to) as blocks of whole days, each day sorted,
// appended to `blocks`; a day too large for a block is cut up.
void RecordListBuilder::LinesByMonth::layOut(std::size_t from, std::size_t to,
                                             std::vector<RecordChunk>& blocks,
                                             std::vector<KeyedSpan>& keyed) const {
    const char* data = loaded_->data();
    const RecordChunk::LineBase lines{data, nullptr};
    std::vector<std::uint64_t> waiting;
    std::vector<std::uint8_t> dayOf;
    std::vector<RecordChunk::Span> byDay;  // the month's lines, day after day
    std::vector<RecordChunk::Span> open;   // the block being filled
    const auto close = [&](const RecordChunk::Span* first, std::size_t n) {
        RecordChunk block;  // on the heap: two threads build blocks at once
        block.shareLoaded(loaded_);
        block.spans_.assign(first, first + n);
        blocks.push_back(std::move(block));
    };
    for (std::size_t m = from; m < to; ++m) {
        waiting.clear();
        for (Piece* p = months_[m].first; p; p = p->next)
            waiting.insert(waiting.end(), p->entries(), p->entries() + p->used);
        const std::size_t n = waiting.size();
        // Each line's day, its bytes 8 and 9 ("yyyy/mm/dd"): the month's
        // lines lie all over the loaded bytes, so each is asked for ahead,
        // and is then at hand for its day's sorting too.
        dayOf.resize(n);
        std::array<std::uint32_t, 33> first{};  // first[d]: where day d starts in byDay
        for (std::size_t i = 0; i < n; ++i) {
            if (i + kAhead < n) __builtin_prefetch(data + (waiting[i + kAhead] >> kLengthBits));
            const char* line = data + (waiting[i] >> kLengthBits);
            const auto day = static_cast<std::uint8_t>((line[8] - '0') * 10 + (line[9] - '0'));
            dayOf[i] = day;
            ++first[day + 1u];
        }
        for (std::size_t d = 1; d < first.size(); ++d) first[d] += first[d - 1];
        // In the order given within each day.
        std::array<std::uint32_t, 33> next = first;
        byDay.resize(n);
        constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << kLengthBits) - 1;
        for (std::size_t i = 0; i < n; ++i)
            byDay[next[dayOf[i]]++] = {
                static_cast<std::size_t>(waiting[i] >> kLengthBits) | RecordChunk::kLoaded,
                static_cast<std::size_t>(waiting[i] & kLengthMask)};
        for (std::size_t day = 1; day <= 31; ++day) {
            const std::size_t begin = first[day];
            const std::size_t count = first[day + 1] - begin;
            if (count == 0) continue;
            RecordChunk::Span* spans = byDay.data() + begin;
            sortSpans(spans, count, lines, kDayKeyFrom, keyed);
            if (!open.empty() &&
                (open.size() >= kBlockSize || open.size() + count > kMaxBlockSize)) {
                close(open.data(), open.size());
                open.clear();
            }
            if (count <= kMaxBlockSize) {
                open.insert(open.end(), spans, spans + count);
                continue;
            }
            for (std::size_t at = 0; at < count;) {
                const std::size_t take = nextBlockLength(count - at);
                close(spans + at, take);
                at += take;
            }
        }
    }
    if (!open.empty()) close(open.data(), open.size());
}

}  // namespace orvo
