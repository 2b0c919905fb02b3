#include "ledger/RecordListBuilder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "base/Cp932.h"
#include "ledger/LoadedBytes.h"
#include "ledger/RecordLine.h"
#include "ledger/RecordListLayout.h"

namespace orvo {

namespace {

// Flags of a gathered line beside its day: it stands after (before) the line
// given just before it, which has the same day.
constexpr std::uint32_t kAfterPrevious = std::uint32_t{1} << 30;
constexpr std::uint32_t kBeforePrevious = std::uint32_t{1} << 29;
constexpr std::uint32_t kDayBits = kBeforePrevious - 1;

constexpr std::size_t kCopyPiece = std::size_t{1} << 20;
constexpr std::size_t kGatheredSlab = std::size_t{8} << 20;
// Lines from which sorting their days pays a second thread.
constexpr std::size_t kLinesForSecondThread = 65536;

// Each byte's form when ASCII letters are folded, and whether it leads a
// double-byte character.
struct ByteForms {
    std::array<unsigned char, 256> folded{};
    std::array<bool, 256> lead{};
};
const ByteForms kByteForms = [] {
    ByteForms f;
    for (int c = 0; c < 256; ++c) {
        f.folded[static_cast<std::size_t>(c)] = foldAscii(static_cast<unsigned char>(c));
        f.lead[static_cast<std::size_t>(c)] = cp932::isLeadByte(static_cast<unsigned char>(c));
    }
    return f;
}();

// Sixteen bytes of `line` from `from` on, ASCII letters folded, in two
// integers that order as compareRecordLines orders the lines when their bytes
// before `from` agree and no double-byte character straddles it; bytes past
// the end count as 0, so equal keys decide nothing.
std::array<std::uint64_t, 2> foldedKeys(std::string_view line, std::size_t from) {
    const std::size_t n = line.size() > from ? std::min<std::size_t>(16, line.size() - from) : 0;
    const auto* p = reinterpret_cast<const unsigned char*>(line.data()) + from;
    std::array<std::uint64_t, 2> keys{};
    bool trail = false;  // the byte follows a lead byte: it is never folded
    for (std::size_t k = 0; k < 2; ++k) {
        std::uint64_t key = 0;
        for (std::size_t i = 8 * k; i < 8 * k + 8; ++i) {
            unsigned char c = 0;
            if (i < n) {
                const unsigned char raw = p[i];
                c = trail ? raw : kByteForms.folded[raw];
                trail = !trail && kByteForms.lead[raw];
            }
            key = key << 8 | c;
        }
        keys[k] = key;
    }
    return keys;
}

// Eight bytes of `line` from `from` on as they stand, the first the highest
// (0 past its end).
std::uint64_t rawPrefix(std::string_view line, std::size_t from) {
    unsigned char bytes[8] = {};
    if (line.size() > from)
        std::memcpy(bytes, line.data() + from, std::min<std::size_t>(8, line.size() - from));
    std::uint64_t key = 0;
    for (unsigned char c : bytes) key = key << 8 | c;
    return key;
}

// Whether `line` starts with the date of `last`, a line with a day, and the
// TAB after it if it has one; runs for every line of a load, so the ten bytes
// are compared inline.
bool sameDate(std::string_view line, std::string_view last) {
    if (last.size() < 10 || line.size() < 10 || (line.size() > 10 && line[10] != kFieldSeparator))
        return false;
    std::uint64_t a;
    std::uint64_t b;
    std::memcpy(&a, line.data(), 8);
    std::memcpy(&b, last.data(), 8);
    return a == b && line[8] == last[8] && line[9] == last[9];
}

}  // namespace

// A line with sixteen folded bytes from where the lines sorted start to differ.
struct RecordListBuilder::Keyed {
    std::array<std::uint64_t, 2> key;
    std::uint32_t index;
    RecordChunk::Span span;
};

void RecordListBuilder::sortAsAdded(RecordChunk::Span* spans, std::size_t n,
                                    RecordChunk::LineBase lines, std::size_t from,
                                    std::vector<Keyed>& keyed) {
    // The lines of a day gathered from all over the loaded bytes: each would
    // be a wait on memory, so they are all asked for at once.
    for (std::size_t i = 0; i < n; ++i) __builtin_prefetch(lines.at(spans[i]).data());
    keyed.resize(n);
    const auto decide = [lines](const Keyed& a, const Keyed& b) {
        const int order = compareRecordLines(lines.at(a.span), lines.at(b.span));
        return standsBefore(order, a.index, b.index);
    };
    if (n <= 32) {
        // A day of a file is a few dozen lines: an insertion sort suits it,
        // on eight bytes as they stand, which decide where they first differ
        // unless a letter is involved (folded or not, as the byte before says).
        for (std::size_t i = 0; i < n; ++i)
            keyed[i] = {
                {rawPrefix(lines.at(spans[i]), from), 0}, static_cast<std::uint32_t>(i), spans[i]};
        const auto before = [&decide](const Keyed& a, const Keyed& b) {
            if (const std::uint64_t x = a.key[0] ^ b.key[0]) {
                const int shift = 56 - (std::countl_zero(x) & ~7);
                const auto ca = static_cast<unsigned char>(a.key[0] >> shift);
                const auto cb = static_cast<unsigned char>(b.key[0] >> shift);
                if ((ca < 'A' || ca > 'Z') && (cb < 'A' || cb > 'Z')) return ca < cb;
            }
            return decide(a, b);
        };
        for (std::size_t i = 1; i < n; ++i) {
            const Keyed moving = keyed[i];
            std::size_t j = i;
            for (; j > 0 && before(moving, keyed[j - 1]); --j) keyed[j] = keyed[j - 1];
            keyed[j] = moving;
        }
    } else {
        for (std::size_t i = 0; i < n; ++i)
            keyed[i] = {foldedKeys(lines.at(spans[i]), from), static_cast<std::uint32_t>(i),
                        spans[i]};
        std::sort(keyed.begin(), keyed.end(), [&decide](const Keyed& a, const Keyed& b) {
            if (a.key[0] != b.key[0]) return a.key[0] < b.key[0];
            if (a.key[1] != b.key[1]) return a.key[1] < b.key[1];
            return decide(a, b);
        });
    }
    for (std::size_t i = 0; i < n; ++i) spans[i] = keyed[i].span;
}

RecordListBuilder::RecordListBuilder(LedgerRecords& records,
                                     std::shared_ptr<const LoadedBytes> loaded,
                                     std::size_t stageBytes)
    : records_(records), loaded_(std::move(loaded)) {
    if (!loaded_ && stageBytes > 0) {
        auto stage = std::make_shared<LoadedBytes>(stageBytes);
        stage_ = stage.get();
        loaded_ = std::move(stage);
    }
}

RecordListBuilder::~RecordListBuilder() {
    if (finished_) return;
    try {
        finish();
    } catch (...) {  // out of memory: the list keeps what it holds
    }
}

bool RecordListBuilder::isLoaded(std::string_view line) const {
    return loaded_ && !line.empty() && loaded_->holds(line.data());
}

// The line where it stays until the builder is done: where it stands, or a copy.
std::string_view RecordListBuilder::stable(std::string_view line) {
    if (line.empty() || isLoaded(line)) return line;
    char* at = nullptr;
    if (stage_ && stage_->capacity() - staged_ >= line.size()) {
        at = stage_->data() + staged_;
        staged_ += line.size();
    } else {
        if (copies_.empty() || copySize_ - copyUsed_ < line.size()) {
            copySize_ = std::max(kCopyPiece, line.size());
            copies_.emplace_back(new char[copySize_]);
            copyUsed_ = 0;
        }
        at = copies_.back().get() + copyUsed_;
        copyUsed_ += line.size();
    }
    std::memcpy(at, line.data(), line.size());
    return {at, line.size()};
}

void RecordListBuilder::add(std::string_view given) {
    const std::string_view line = stable(given);
    const std::int32_t day = sameDate(line, last_) ? lastDay_ : dayKey(line);
    if (day < 0) {
        records_.noteAdded(line);
        apart_.push_back(line);
        return;
    }
    if (!gathering_ && day < lastDay_) startGathering();
    if (gathering_)
        gather(line, day);
    else
        append(line, day);
    lastDay_ = day;
    last_ = line;
}

void RecordListBuilder::append(std::string_view line, std::int32_t day) {
    if (day != lastDay_) {
        // Sorted while its lines are still at hand.
        if (!days_.empty()) sortDay(days_.back(), keyed_);
        // A block ends only between days, once it holds enough lines.
        if (open_.size() >= kBlockSize) closeOpen();
        days_.push_back({static_cast<std::uint32_t>(blocks_.size()),
                         static_cast<std::uint32_t>(open_.size()),
                         static_cast<std::uint32_t>(open_.size()), true, true});
    } else {
        const int order = compareRecordLines(last_, line);
        days_.back().ascending &= order < 0;
        days_.back().descending &= order > 0;
    }
    if (isLoaded(line))
        open_.pushLoaded(loaded_, line);
    else
        open_.push(line);
    ++days_.back().end;
}

// The block being filled goes into the list at its exact size (the loaded
// bytes' room for positions is never given back), and is filled again.
void RecordListBuilder::closeOpen() {
    if (open_.empty()) return;
    RecordChunk block = loaded_ ? RecordChunk(loaded_) : RecordChunk();
    block.bytes_ = open_.bytes_;
    block.spans_.assign(open_.spans_.begin(), open_.spans_.end());
    blocks_.push_back(std::move(block));
    open_.bytes_.clear();
    open_.spans_.clear();
}

// The lines appended so far are gathered, as they were given, before the next.
void RecordListBuilder::startGathering() {
    gathering_ = true;
    closeOpen();
    for (const DayRun& run : days_) {
        const RecordChunk& block = blocks_[run.block];
        for (std::uint32_t i = run.begin; i < run.end;) {
            // A day sorted already has its equal lines the later first: they
            // are turned back into the order given, the rest matters not.
            std::uint32_t next = i + 1;
            if (run.sorted)
                while (next < run.end && compareRecordLines(block[i], block[next]) == 0) ++next;
            for (std::uint32_t k = next; k-- > i;) {
                const std::uint32_t flag = k == run.begin || run.sorted ? 0
                                           : run.ascending              ? kAfterPrevious
                                           : run.descending             ? kBeforePrevious
                                                                        : 0;
                // A line in the block's own bytes is copied: the block goes.
                const std::string_view line = stable(block[k]);
                push({line.data(), static_cast<std::uint32_t>(line.size()),
                      static_cast<std::uint32_t>(dayKey(line)) | flag});
            }
            i = next;
        }
    }
    days_.clear();
    blocks_.clear();
}

void RecordListBuilder::gather(std::string_view line, std::int32_t day) {
    std::uint32_t flags = 0;
    if (day == lastDay_) {
        const int order = compareRecordLines(last_, line);
        flags = order < 0 ? kAfterPrevious : order > 0 ? kBeforePrevious : 0;
    }
    push({line.data(), static_cast<std::uint32_t>(line.size()),
          static_cast<std::uint32_t>(day) | flags});
}

void RecordListBuilder::push(Gathered g) {
    if (lastPieceUsed_ == kGatheredPiece) {
        if (!gatheredRoom_) gatheredRoom_ = std::make_unique<LargePageArena>(kGatheredSlab);
        gathered_.push_back(static_cast<Gathered*>(
            gatheredRoom_->allocate(kGatheredPiece * sizeof(Gathered), alignof(Gathered))));
        lastPieceUsed_ = 0;
    }
    gathered_.back()[lastPieceUsed_++] = g;
}

template <class F>
void RecordListBuilder::forEachGathered(F&& f) {
    for (std::size_t p = 0; p < gathered_.size(); ++p) {
        const std::size_t n = p + 1 == gathered_.size() ? lastPieceUsed_ : kGatheredPiece;
        for (std::size_t i = 0; i < n; ++i) f(gathered_[p][i]);
    }
}

// The gathered lines become blocks of whole days, in the order of the days,
// each day's lines in the order given: counted by day, then each put in its place.
void RecordListBuilder::placeGathered() {
    std::uint32_t lo = kDayBits;
    std::uint32_t hi = 0;
    std::size_t count = 0;
    forEachGathered([&](const Gathered& g) {
        lo = std::min(lo, g.dayAndFlags & kDayBits);
        hi = std::max(hi, g.dayAndFlags & kDayBits);
        ++count;
    });
    // Days far apart (a few lines centuries from the rest) are numbered by
    // rank, so that the table of days stays as short as the lines.
    std::vector<std::uint32_t> ranks;
    if (hi >= lo && hi - lo > 2 * count + 65536) {
        forEachGathered([&](const Gathered& g) { ranks.push_back(g.dayAndFlags & kDayBits); });
        std::sort(ranks.begin(), ranks.end());
        ranks.erase(std::unique(ranks.begin(), ranks.end()), ranks.end());
        forEachGathered([&](Gathered& g) {
            const auto rank =
                std::lower_bound(ranks.begin(), ranks.end(), g.dayAndFlags & kDayBits);
            g.dayAndFlags =
                static_cast<std::uint32_t>(rank - ranks.begin()) | (g.dayAndFlags & ~kDayBits);
        });
        lo = 0;
        hi = static_cast<std::uint32_t>(ranks.size()) - 1;
    }
    struct Day {
        std::uint32_t count = 0;
        bool ascending = true;
        bool descending = true;
        std::uint32_t block = 0;
        std::uint32_t next = 0;
    };
    std::vector<Day> days(hi >= lo ? hi - lo + 1 : 0);
    forEachGathered([&](const Gathered& g) {
        Day& d = days[(g.dayAndFlags & kDayBits) - lo];
        if (d.count++ > 0) {
            d.ascending &= (g.dayAndFlags & kAfterPrevious) != 0;
            d.descending &= (g.dayAndFlags & kBeforePrevious) != 0;
        }
    });
    std::vector<std::uint32_t> blockLines;
    std::uint32_t open = 0;
    for (Day& d : days) {
        if (d.count == 0) continue;
        if (open > 0 && (open >= kBlockSize || open + d.count > kMaxBlockSize)) {
            blockLines.push_back(open);
            open = 0;
        }
        d.block = static_cast<std::uint32_t>(blockLines.size());
        d.next = open;
        days_.push_back({d.block, open, open + d.count, d.ascending, d.descending});
        open += d.count;
    }
    if (open > 0) blockLines.push_back(open);
    blocks_.resize(blockLines.size());
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        if (loaded_) blocks_[b] = RecordChunk(loaded_);
        blocks_[b].spans_.resize(blockLines[b]);
    }
    // Days [from, to) take their lines; each line is a wait on memory, so two
    // threads share a large ledger's days where no line needs copying (the
    // copies go into the blocks' bytes, which a block of both halves shares).
    const auto place = [&](std::size_t from, std::size_t to) {
        forEachGathered([&](const Gathered& g) {
            const std::size_t at = (g.dayAndFlags & kDayBits) - lo;
            if (at < from || at >= to) return;
            Day& d = days[at];
            RecordChunk& block = blocks_[d.block];
            const std::string_view line(g.at, g.length);
            if (isLoaded(line)) {
                block.spans_[d.next++] = {
                    static_cast<std::size_t>(g.at - loaded_->data()) | RecordChunk::kLoaded,
                    g.length};
            } else {
                block.spans_[d.next++] = {block.bytes_.size(), g.length};
                block.bytes_.append(line);
            }
        });
    };
    if (count < kLinesForSecondThread || !copies_.empty()) {
        place(0, days.size());
    } else {
        std::size_t half = 0;
        for (std::size_t before = 0; half < days.size() && before < count / 2; ++half)
            before += days[half].count;
        runSideBySide([&] { place(0, half); }, [&] { place(half, days.size()); });
    }
    gathered_.clear();
    gatheredRoom_.reset();
    lastPieceUsed_ = kGatheredPiece;
}

// Each day's lines sorted as adding them one by one would; on two threads,
// each taking about half the lines, from a size.
RecordChunk& RecordListBuilder::blockOf(const DayRun& run) {
    return run.block < blocks_.size() ? blocks_[run.block] : open_;
}

void RecordListBuilder::sortDay(DayRun& run, std::vector<Keyed>& keyed) {
    if (run.ascending) return;
    RecordChunk& block = blockOf(run);
    RecordChunk::Span* spans = block.spans_.data() + run.begin;
    if (run.descending)
        std::reverse(spans, spans + (run.end - run.begin));
    else
        sortAsAdded(spans, run.end - run.begin, block.lineBase(), kDayKeyFrom, keyed);
    run.ascending = run.sorted = true;
}

void RecordListBuilder::sortDays() {
    const auto sortRange = [this](std::size_t from, std::size_t to) {
        std::vector<Keyed> keyed;
        for (std::size_t d = from; d < to; ++d) sortDay(days_[d], keyed);
    };
    std::size_t lines = 0;
    for (const DayRun& run : days_) lines += run.end - run.begin;
    if (lines < kLinesForSecondThread) {
        sortRange(0, days_.size());
        return;
    }
    std::size_t half = 0;
    for (std::size_t before = 0; half < days_.size() && before < lines / 2; ++half)
        before += days_[half].end - days_[half].begin;
    runSideBySide([&] { sortRange(0, half); }, [&] { sortRange(half, days_.size()); });
}

// The lines without a day as blocks, sorted as adding them one by one would.
std::vector<RecordChunk> RecordListBuilder::sortedApart() {
    RecordChunk all = loaded_ ? RecordChunk(loaded_) : RecordChunk();
    for (std::string_view line : apart_) {
        if (isLoaded(line))
            all.pushLoaded(loaded_, line);
        else
            all.push(line);
    }
    apart_ = {};
    std::vector<Keyed> keyed;
    sortAsAdded(all.spans_.data(), all.size(), all.lineBase(), 0, keyed);
    std::vector<RecordChunk> out;
    out.push_back(std::move(all));
    return out;
}

void RecordListBuilder::finish() {
    finished_ = true;
    // Blocks edited later take their memory from the heap.
    struct CloseArena {
        const LoadedBytes* loaded;
        ~CloseArena() {
            if (loaded) loaded->lineArena().close();
        }
    } closeArena{loaded_.get()};
    if (gathering_)
        placeGathered();
    else
        closeOpen();
    gathering_ = false;
    sortDays();
    days_.clear();
    records_.takeInOrder(std::move(blocks_));
    blocks_.clear();
    // They merge in wherever they sort; none equals a line with a day.
    if (!apart_.empty()) records_.takeInOrder(sortedApart());
    copies_.clear();
}

}  // namespace orvo
