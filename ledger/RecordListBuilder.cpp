#include "ledger/RecordListBuilder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "base/Cp932.h"
#include "ledger/LinesByMonth.h"
#include "ledger/LoadedBytes.h"
#include "ledger/RecordLine.h"
#include "ledger/RecordListLayout.h"

namespace orvo {

namespace {

bool lineLess(std::string_view a, std::string_view b) {
    return compareRecordLines(a, b) < 0;
}

// Whether field 0 of `line` is exactly `field0` (which holds no TAB); runs
// for every line of a load, so a date's ten bytes are compared inline.
bool hasField0(std::string_view line, std::string_view field0) {
    const std::size_t n = field0.size();
    if (line.size() < n || (line.size() > n && line[n] != kFieldSeparator)) return false;
    if (n == 10) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, line.data(), 8);
        std::memcpy(&b, field0.data(), 8);
        return a == b && line[8] == field0[8] && line[9] == field0[9];
    }
    return std::memcmp(line.data(), field0.data(), n) == 0;
}

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

// A stable sort of lines in any order: most comparisons are decided by the
// lines' first bytes, taken once for each line.
void stableSort(std::vector<std::string_view>& lines) {
    struct Keyed {
        std::array<std::uint64_t, 2> keys;  // the date and the start of the level-1 title
        std::size_t position;
        std::string_view line;
    };
    std::vector<Keyed> keyed(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        keyed[i] = {foldedKeys(lines[i], 0), i, lines[i]};
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.keys != b.keys) return a.keys < b.keys;
        const int order = compareRecordLines(a.line, b.line);
        return order != 0 ? order < 0 : a.position < b.position;
    });
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = keyed[i].line;
}

// A block's bytes stay addressable by its 32-bit offsets.
constexpr std::uint64_t kMaxBlockBytes = std::uint64_t{1} << 30;
constexpr std::size_t kApartPieceSize = std::size_t{1} << 20;
constexpr std::size_t kLinesPerBucket = 16384;
// Bytes waiting in buckets, or loaded, from which placing or sorting them
// pays a second thread.
constexpr std::size_t kSecondThreadFrom = std::size_t{1} << 20;
constexpr std::size_t kBucketPieceSize = std::size_t{1} << 16;
// In a bucket, the length of a line that waits as where it stands in the
// loaded bytes; longer lines go apart.
constexpr std::uint32_t kLoadedLength = std::uint32_t{1} << 31;

}  // namespace

// Sorts runs of closed blocks on a thread of its own, in the order given,
// while the load reads on. Every line of those runs stands in the loaded bytes.
class RecordListBuilder::RunSorter {
public:
    explicit RunSorter(const char* loadedData) : loadedData_(loadedData) {}
    ~RunSorter() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
    }
    RunSorter(const RunSorter&) = delete;
    RunSorter& operator=(const RunSorter&) = delete;

    // `spans` stay where they are until wait() has come back.
    void sort(RecordChunk::Span* spans, std::vector<std::pair<std::uint32_t, std::uint32_t>> runs) {
        {
            const std::lock_guard lock(mutex_);
            jobs_.push_back({spans, std::move(runs)});
            ++given_;
        }
        wake_.notify_one();
    }
    // Until every run given is sorted; rethrows what stopped the sorting.
    void wait() {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return done_ == given_; });
        if (failed_) std::rethrow_exception(std::exchange(failed_, nullptr));
    }

private:
    struct Job {
        RecordChunk::Span* spans;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;
    };
    void work() {
        std::vector<KeyedSpan> keyed;
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            const Job job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            try {
                for (const auto& [begin, end] : job.runs)
                    sortSpans(job.spans + begin, end - begin, {loadedData_, nullptr}, kDayKeyFrom,
                              keyed);
            } catch (...) {
                lock.lock();
                if (!failed_) failed_ = std::current_exception();
                lock.unlock();
            }
            lock.lock();
            if (++done_ == given_) idle_.notify_all();
        }
    }

    const char* loadedData_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    std::size_t given_ = 0;
    std::size_t done_ = 0;
    bool stop_ = false;
    std::exception_ptr failed_;
    std::jthread thread_{[this] { work(); }};  // last: started once the rest is set up
};

RecordListBuilder::RecordListBuilder(LedgerRecords& records, LookAhead lookAhead,
                                     std::shared_ptr<const LoadedBytes> loaded)
    : records_(records),
      lookAhead_(std::move(lookAhead)),
      loaded_(std::move(loaded)),
      runCanonical_(records.empty()) {}

bool RecordListBuilder::isLoaded(std::string_view line) const {
    return loaded_ && !line.empty() && loaded_->holds(line.data());
}

RecordChunk RecordListBuilder::newBlock() const {
    return loaded_ ? RecordChunk(loaded_) : RecordChunk();
}

void RecordListBuilder::push(RecordChunk& chunk, std::string_view line) const {
    if (isLoaded(line))
        chunk.pushLoaded(loaded_, line);
    else
        chunk.push(line);
}

RecordListBuilder::~RecordListBuilder() {
    if (finished_) return;
    try {
        finish();
    } catch (...) {  // out of memory: the list keeps what it holds
    }
}

std::string_view RecordListBuilder::lastInOrder() const {
    if (!open_.empty()) return open_.back();
    if (!records_.blocks_.empty()) return records_.blocks_.back().back();
    return {};
}

// The last line in order, or as much of it as decides whether a line of
// another field 0 sorts after it, when its run is left for the second thread.
std::string_view RecordListBuilder::lastInOrderForCheck() const {
    return lastRunLeft_ ? std::string_view(lastRunHead_) : lastInOrder();
}

bool RecordListBuilder::mayLeaveRunToSorter() const {
    return runCanonical_ && runAfterCanonical_ && open_.bytes_.size() == runBytesFrom_ && loaded_ &&
           loaded_->capacity() >= kSecondThreadFrom;
}

// Hands the left runs of the open block, now closed as `block`, to the
// second thread, started for the first.
void RecordListBuilder::handLeftRunsToSorter(RecordChunk& block) {
    if (leftRuns_.empty()) return;
    if (!runSorter_) runSorter_ = std::make_unique<RunSorter>(loaded_->data());
    runSorter_->sort(block.spans_.data(), std::move(leftRuns_));
    leftRuns_.clear();
}

// Every left run sorted: those handed over waited for, those of the open block sorted here.
void RecordListBuilder::sortLeftRuns() {
    if (runSorter_) runSorter_->wait();
    for (const auto& [begin, end] : leftRuns_) sortLines(open_, begin, end, kDayKeyFrom);
    leftRuns_.clear();
    lastRunLeft_ = false;
}

void RecordListBuilder::add(std::string_view line) {
    if (mode_ == Mode::ByMonth) {
        const std::int32_t key = dayKey(line);
        if (key < 0) records_.noteAdded(line);
        placeByMonth(line, key);
        return;
    }
    if (mode_ == Mode::ByDay) {
        const std::int32_t key = dayKey(line);
        if (key < 0) records_.noteAdded(line);
        placeByDay(line, key);
        return;
    }
    if (mode_ == Mode::Apart) {
        records_.noteAdded(line);
        putApart(line);
        return;
    }
    if (mode_ == Mode::Descending && !isLoaded(line)) {
        leaveDescending(&line);
        add(line);
        return;
    }
    if (inRun_ && hasField0(line, open_[runStart_].substr(0, runField0_))) {
        // Lines with a date written "yyyy/mm/dd" need no note; the run's lines
        // share field 0, so that is known for all of them at once.
        if (!runCanonical_) records_.noteAdded(line);
        if (runSorted_ && compareRecordLines(open_.back(), line) >= 0) runSorted_ = false;
        if (line.size() > runField0_) runLonger_ = true;
        push(open_, line);
        return;
    }
    if (mode_ == Mode::Descending) {
        if (!endDescendingRun()) {
            leaveDescending(&line);
            add(line);
            return;
        }
        startRun(line);
        return;
    }
    if (!endRun()) {
        leaveOrder(runStart_, &line);
        add(line);
        return;
    }
    const std::string_view last = lastInOrderForCheck();
    if (last.data() && compareRecordLines(last, line) >= 0) {
        // A second run before the first: the days may come newest first.
        if (loaded_ && records_.blocks_.empty() && runStart_ == 0 && open_.bytes_.empty() &&
            isLoaded(line)) {
            sortLeftRuns();
            mode_ = Mode::Descending;
            descendingRuns_.assign(1, open_.size());
            startRun(line);
            return;
        }
        leaveOrder(open_.size(), &line);
        add(line);
        return;
    }
    startRun(line);
}

void RecordListBuilder::startRun(std::string_view line) {
    if (mode_ == Mode::Descending) prevRunFirst_ = open_[runStart_];  // stays where it was read
    if (open_.size() >= kBlockSize) closeOpen();
    const std::string_view f0 = field0(line);
    runStart_ = open_.size();
    runField0_ = f0.size();
    runAfterCanonical_ = runCanonical_;  // the run before's, or true with none before
    runCanonical_ = LedgerDate::isCanonical(f0);
    if (!runCanonical_) records_.noteAdded(line);
    runSorted_ = true;
    runBytesFrom_ = open_.bytes_.size();
    runLonger_ = line.size() > f0.size();
    inRun_ = true;
    push(open_, line);
}

// Sorts the run if it came out of order; false when it then does not sort
// before the run before it, as the days of a ledger newest first do.
bool RecordListBuilder::endDescendingRun() {
    if (!inRun_) return true;
    inRun_ = false;
    if (!runSorted_) sortLines(open_, runStart_, open_.size(), runField0_ + 1);
    if (compareRecordLines(open_.back(), prevRunFirst_) >= 0) return false;
    descendingRuns_.push_back(open_.size() - runStart_);
    if (open_.size() > kMaxBlockSize) closeOpen();
    return true;
}

// The positions of lines across a list's blocks, one after another; every
// line stands in the loaded bytes, so a position means the same in any block.
class RecordListBuilder::SpanCursor {
public:
    SpanCursor(std::vector<RecordChunk*>& chunks, std::size_t chunk, std::size_t line)
        : chunks_(&chunks), chunk_(chunk), line_(line) {}
    auto& operator*() const { return (*chunks_)[chunk_]->spans_[line_]; }
    void forward() {
        ++line_;
        while (chunk_ < chunks_->size() && line_ == (*chunks_)[chunk_]->size()) {
            ++chunk_;
            line_ = 0;
        }
    }
    void back() {
        while (line_ == 0) line_ = (*chunks_)[--chunk_]->size();
        --line_;
    }

private:
    std::vector<RecordChunk*>* chunks_;
    std::size_t chunk_;
    std::size_t line_;
};

// Turns the runs built newest first into the list's order, the open block
// closed: every position reversed (the blocks' order, and each block's),
// then each run's own positions reversed back.
void RecordListBuilder::reverseDescendingRuns() {
    closeOpen();
    std::reverse(records_.blocks_.begin(), records_.blocks_.end());
    std::vector<RecordChunk*> chunks;
    for (RecordChunk& block : records_.blocks_) {
        if (block.empty()) continue;
        std::reverse(block.spans_.begin(), block.spans_.end());
        chunks.push_back(&block);
    }
    // The runs, now last ended first. A run lies in one block but where it
    // is longer than a block (cut up when closed).
    std::size_t b = 0;
    std::size_t i = 0;  // where the next run starts in chunks[b]
    for (auto run = descendingRuns_.rbegin(); run != descendingRuns_.rend(); ++run) {
        const std::size_t length = *run;
        auto& spans = chunks[b]->spans_;
        if (i + length <= spans.size()) {
            std::reverse(spans.begin() + static_cast<std::ptrdiff_t>(i),
                         spans.begin() + static_cast<std::ptrdiff_t>(i + length));
        } else {
            SpanCursor from(chunks, b, i);
            SpanCursor to = from;
            for (std::size_t k = 1; k < length; ++k) to.forward();
            for (std::size_t k = 0; k < length / 2; ++k) {
                std::swap(*from, *to);
                from.forward();
                to.back();
            }
        }
        for (i += length; b < chunks.size() && i >= chunks[b]->size(); ++b) i -= chunks[b]->size();
    }
    descendingRuns_.clear();
    records_.startsValid_ = false;
}

// The runs newest first end: the lines so far become the list in its order,
// and the run that failed (sorted) or the line `current` is handled as a
// break of the order.
void RecordListBuilder::leaveDescending(const std::string_view* current) {
    if (inRun_ && !runSorted_) sortLines(open_, runStart_, open_.size(), runField0_ + 1);
    inRun_ = false;
    // The run that failed, or was still open, is the open block's last.
    std::vector<std::string_view> failed;
    for (std::size_t i = runStart_; i < open_.size(); ++i) failed.push_back(open_[i]);
    open_.spans_.resize(runStart_);
    reverseDescendingRuns();
    mode_ = Mode::InOrder;
    for (std::string_view line : failed) push(open_, line);
    leaveOrder(0, current);
}

// Sorts the run if it came out of order; false when it then no longer sorts
// after the lines before it.
bool RecordListBuilder::endRun() {
    if (!inRun_) return true;
    inRun_ = false;
    if (!runSorted_ && mayLeaveRunToSorter()) {
        // The check at the run's first line holds for all of them: they
        // share a date, and the run before has another.
        leftRuns_.emplace_back(static_cast<std::uint32_t>(runStart_),
                               static_cast<std::uint32_t>(open_.size()));
        lastRunHead_.assign(open_[runStart_].substr(0, runField0_));
        if (runLonger_) lastRunHead_ += kFieldSeparator;
        lastRunLeft_ = true;
    } else if (!runSorted_) {
        sortLines(open_, runStart_, open_.size(), runField0_ + 1);
        const std::string_view before = lastRunLeft_               ? std::string_view(lastRunHead_)
                                        : runStart_ > 0            ? open_[runStart_ - 1]
                                        : records_.blocks_.empty() ? std::string_view()
                                                                   : records_.blocks_.back().back();
        lastRunLeft_ = false;
        if (before.data() && compareRecordLines(before, open_[runStart_]) >= 0) return false;
    } else {
        lastRunLeft_ = false;
    }
    if (open_.size() > kMaxBlockSize) closeOpen();
    return true;
}

// Sorts lines [begin, end) of `chunk`, which share field 0 and the TAB after
// it, as adding them one by one would: of equal lines the later (at the
// higher index) first. After that TAB no double-byte character can be open,
// so the keys start there.
void RecordListBuilder::sortLines(RecordChunk& chunk, std::size_t begin, std::size_t end,
                                  std::size_t keyFrom) {
    if (end > begin)
        sortSpans(&chunk.spans_[begin], end - begin, chunk.lineBase(), keyFrom, keyed_);
}

void RecordListBuilder::sortSpans(RecordChunk::Span* spans, std::size_t n,
                                  RecordChunk::LineBase lines, std::size_t keyFrom,
                                  std::vector<KeyedSpan>& keyed) {
    if (n < 2) return;
    // Lines most often stand strictly in order, or strictly the other way
    // round (equal lines need their positions): that is seen from neighbours.
    const auto compareAt = [&](std::size_t i) {
        return compareRecordLines(lines.at(spans[i]), lines.at(spans[i + 1]));
    };
    // Lines placed by day from the loaded bytes lie all over them: each
    // would be a wait on memory, so they are all asked for at once.
    for (std::size_t i = 0; i < n; ++i) __builtin_prefetch(lines.at(spans[i]).data());
    std::size_t ascending = 0;
    while (ascending + 1 < n && compareAt(ascending) < 0) ++ascending;
    if (ascending + 1 == n) return;
    if (ascending == 0) {
        std::size_t descending = 0;
        while (descending + 1 < n && compareAt(descending) > 0) ++descending;
        if (descending + 1 == n) {
            std::reverse(spans, spans + n);
            return;
        }
    }
    // A day of a file is a few dozen lines: an insertion sort suits it. Each
    // line goes before every earlier one it does not sort after (it came later).
    if (n <= 32) {
        // Most comparisons are decided by eight bytes from keyFrom, read once
        // for each line: where they first differ, unless a letter is
        // involved (folded or not, depending on the byte before).
        keyed.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const RecordChunk::Span s = spans[i];
            keyed[i] = {{rawPrefix(lines.at(s), keyFrom), 0},
                        static_cast<std::uint32_t>(i),
                        static_cast<std::uint32_t>(s.length),
                        s.offset};
        }
        const auto notBefore = [lines](const KeyedSpan& a, const KeyedSpan& b) {
            if (const std::uint64_t x = a.key[0] ^ b.key[0]) {
                const int shift = 56 - (std::countl_zero(x) & ~7);
                const auto ca = static_cast<unsigned char>(a.key[0] >> shift);
                const auto cb = static_cast<unsigned char>(b.key[0] >> shift);
                if ((ca < 'A' || ca > 'Z') && (cb < 'A' || cb > 'Z')) return ca > cb;
            }
            return compareRecordLines(lines.at({a.offset, a.length}),
                                      lines.at({b.offset, b.length})) >= 0;
        };
        for (std::size_t i = 1; i < n; ++i) {
            const KeyedSpan moving = keyed[i];
            std::size_t j = i;
            for (; j > 0 && notBefore(keyed[j - 1], moving); --j) keyed[j] = keyed[j - 1];
            keyed[j] = moving;
        }
        for (std::size_t i = 0; i < n; ++i) spans[i] = {keyed[i].offset, keyed[i].length};
        return;
    }
    keyed.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const RecordChunk::Span s = spans[i];
        keyed[i] = {foldedKeys(lines.at(s), keyFrom), static_cast<std::uint32_t>(i),
                    static_cast<std::uint32_t>(s.length), s.offset};
    }
    const auto before = [lines](const KeyedSpan& a, const KeyedSpan& b) {
        if (a.key != b.key) return a.key < b.key;
        const int order =
            compareRecordLines(lines.at({a.offset, a.length}), lines.at({b.offset, b.length}));
        return order != 0 ? order < 0 : a.index > b.index;
    };
    // The order is total, so a large run needs no stable sort.
    if (n <= 64) {
        for (std::size_t i = 1; i < n; ++i) {
            if (!before(keyed[i], keyed[i - 1])) continue;
            const KeyedSpan moving = keyed[i];
            std::size_t j = i;
            for (; j > 0 && before(moving, keyed[j - 1]); --j) keyed[j] = keyed[j - 1];
            keyed[j] = moving;
        }
    } else {
        std::sort(keyed.begin(), keyed.end(), before);
    }
    for (std::size_t i = 0; i < n; ++i) spans[i] = {keyed[i].offset, keyed[i].length};
}

// Appends lines to the list as one block, its bytes allocated once.
void RecordListBuilder::appendBlock(const std::string_view* lines, std::size_t n) {
    if (n == 0) return;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (!isLoaded(lines[i])) bytes += lines[i].size();
    RecordChunk block = newBlock();
    block.reserve(n, bytes);
    for (std::size_t i = 0; i < n; ++i) push(block, lines[i]);
    records_.blocks_.push_back(std::move(block));
    records_.size_ += n;
}

// Appends lines [begin, end) of `chunk` to the list in blocks of kBlockSize
// lines (the last up to twice that).
void RecordListBuilder::appendCopies(const RecordChunk& chunk, std::size_t begin, std::size_t end) {
    std::vector<std::string_view> lines;
    while (begin < end) {
        const std::size_t n = nextBlockLength(end - begin);
        lines.clear();
        for (std::size_t i = begin; i < begin + n; ++i) lines.push_back(chunk[i]);
        appendBlock(lines.data(), n);
        begin += n;
    }
}

// Moves the open block into the list, at its exact size.
void RecordListBuilder::closeOpen() {
    if (open_.empty()) return;
    if (open_.size() <= kMaxBlockSize) {
        RecordChunk block = newBlock();
        block.bytes_ = open_.bytes_;
        block.spans_.assign(open_.spans_.begin(), open_.spans_.end());
        records_.size_ += block.size();
        // The block's positions move with it, and stay where they are.
        records_.blocks_.push_back(std::move(block));
        handLeftRunsToSorter(records_.blocks_.back());
    } else {
        sortLeftRuns();
        appendCopies(open_, 0, open_.size());
    }
    open_.bytes_.clear();
    open_.spans_.clear();
    records_.startsValid_ = false;
}

// The line `current`, or lines [failedFrom, end) of the open block, no longer
// sort after the lines before them: every line from here on is placed by day,
// or failing that kept apart.
void RecordListBuilder::leaveOrder(std::size_t failedFrom, const std::string_view* current) {
    inRun_ = false;
    sortLeftRuns();
    if (allLoadedSoFar()) {
        // Made before the mode says so: running out of memory here leaves the
        // builder in the mode it was in, for the destructor to finish.
        byMonth_ = std::make_unique<LinesByMonth>(loaded_);
        mode_ = Mode::ByMonth;
        moveInOrderLines(failedFrom, &RecordListBuilder::placeByMonth);
        return;
    }
    if (lookAhead_ && layOutDays(current)) {
        mode_ = Mode::ByDay;
        moveInOrderLines(failedFrom, &RecordListBuilder::placeInRoom);
        return;
    }
    // The failed run's lines go apart in the order they were given: sorted,
    // equal lines stand latest first.
    mode_ = Mode::Apart;
    std::size_t bytesFrom = open_.bytes_.size();
    for (std::size_t i = failedFrom; i < open_.size();) {
        std::size_t j = i + 1;
        while (j < open_.size() && compareRecordLines(open_[i], open_[j]) == 0) ++j;
        for (std::size_t k = j; k-- > i;) {
            putApart(open_[k]);
            if (!(open_.spans_[k].offset & RecordChunk::kLoaded))
                bytesFrom = std::min<std::size_t>(bytesFrom, open_.spans_[k].offset);
        }
        i = j;
    }
    // The run's bytes are the last the block took.
    open_.spans_.resize(failedFrom);
    open_.bytes_.resize(bytesFrom);
    closeOpen();
}

// Counts every line to be placed, those in order so far, `current` and those
// still to come, by day, and lays out the blocks; false when the lines cannot
// be looked ahead at or their days lie too far apart for a table of them.
bool RecordListBuilder::layOutDays(const std::string_view* current) {
    std::vector<std::pair<std::int32_t, std::uint32_t>> seen;  // day key and length of each line
    seen.reserve(records_.size_ + open_.size() + 1024);
    // Lines that stand in the loaded bytes take no bytes of their blocks.
    const auto count = [&](std::string_view line) {
        const std::size_t bytes = isLoaded(line) ? 0 : line.size();
        seen.emplace_back(dayKey(line),
                          static_cast<std::uint32_t>(std::min<std::size_t>(bytes, UINT32_MAX)));
    };
    records_.forEach(count);
    for (std::size_t i = 0; i < open_.size(); ++i) count(open_[i]);
    if (current) count(*current);
    if (!lookAhead_(count)) return false;

    std::int32_t lo = INT32_MAX;
    std::int32_t hi = -1;
    for (const auto& [key, length] : seen) {
        if (key < 0) continue;
        lo = std::min(lo, key);
        hi = std::max(hi, key);
    }
    if (hi < 0) return false;
    const std::size_t range = static_cast<std::size_t>(hi - lo) + 1;
    if (range > seen.size() / 2 + 65536) return false;
    firstKey_ = lo;
    std::vector<std::uint64_t> dayBytes(range);
    days_.assign(range, DayRoom{});
    for (const auto& [key, length] : seen) {
        if (key < 0) continue;
        ++days_[static_cast<std::size_t>(key - lo)].end;
        dayBytes[static_cast<std::size_t>(key - lo)] += length;
    }
    seen = {};

    // Days after one another in blocks of at least kBlockSize lines; a day
    // too large for a block has one of its own, cut up once sorted.
    std::uint64_t lines = 0;
    std::uint64_t bytes = 0;
    for (std::size_t d = 0; d < range; ++d) {
        DayRoom& room = days_[d];
        const std::uint64_t dayLines = room.end;
        if (dayLines == 0) continue;
        if (dayBytes[d] > kMaxBlockBytes) return false;
        if (lines > 0 && (lines >= kBlockSize || lines + dayLines > kMaxBlockSize ||
                          bytes + dayBytes[d] > kMaxBlockBytes)) {
            blockShape_.emplace_back(static_cast<std::uint32_t>(lines),
                                     static_cast<std::uint32_t>(bytes));
            lines = 0;
            bytes = 0;
        }
        room = {static_cast<std::uint32_t>(blockShape_.size()),
                static_cast<std::uint32_t>(lines),
                static_cast<std::uint32_t>(lines),
                static_cast<std::uint32_t>(lines + dayLines),
                static_cast<std::uint32_t>(bytes),
                static_cast<std::uint32_t>(bytes + dayBytes[d])};
        lines += dayLines;
        bytes += dayBytes[d];
    }
    if (lines > 0)
        blockShape_.emplace_back(static_cast<std::uint32_t>(lines),
                                 static_cast<std::uint32_t>(bytes));
    // On the heap, where they take the memory the buckets give back.
    laidOut_.resize(blockShape_.size());

    bucketOfMonth_.assign((range + 31) / 32, 0);
    std::size_t inBucket = 0;
    std::uint32_t bucket = 0;
    for (std::size_t m = 0; m < bucketOfMonth_.size(); ++m) {
        if (inBucket >= kLinesPerBucket) {
            ++bucket;
            inBucket = 0;
        }
        bucketOfMonth_[m] = bucket;
        for (std::size_t d = m * 32; d < std::min(range, m * 32 + 32); ++d)
            inBucket += days_[d].end - days_[d].begin;
    }
    buckets_.resize(bucket + 1);
    return true;
}

// Whether every line so far stands in the bytes this load read.
bool RecordListBuilder::allLoadedSoFar() const {
    return loaded_ && open_.bytes_.empty() &&
           std::all_of(records_.blocks_.begin(), records_.blocks_.end(), [&](const RecordChunk& b) {
               return b.bytes_.empty() && (b.empty() || b.loaded_ == loaded_);
           });
}

// The lines placed in order so far, and the failed run's, are placed again
// by `place` in the order they were given (sorted, equal lines stand latest
// first), the list's blocks given back as they are emptied.
void RecordListBuilder::moveInOrderLines(std::size_t failedFrom,
                                         void (RecordListBuilder::*place)(std::string_view,
                                                                          std::int32_t)) {
    std::vector<RecordChunk> placed = std::move(records_.blocks_);
    records_.blocks_.clear();
    records_.size_ = 0;
    records_.startsValid_ = false;
    std::vector<std::string_view> equal;  // a run of equal lines
    std::vector<std::string> held;        // its lines, once their block is gone
    const auto flush = [&] {
        for (auto it = equal.rbegin(); it != equal.rend(); ++it) (this->*place)(*it, dayKey(*it));
        equal.clear();
    };
    const auto take = [&](std::string_view line) {
        if (!equal.empty() && compareRecordLines(equal.back(), line) != 0) flush();
        equal.push_back(line);
    };
    for (RecordChunk& block : placed) {
        for (std::size_t i = 0; i < block.size(); ++i) take(block[i]);
        // Lines in the loaded bytes outlive the block; the others are copied.
        std::vector<std::string> keep;
        keep.reserve(equal.size());
        for (std::string_view line : equal)
            if (!isLoaded(line)) keep.emplace_back(line);
        for (std::size_t i = 0, k = 0; i < equal.size(); ++i)
            if (!isLoaded(equal[i])) equal[i] = keep[k++];
        held.swap(keep);
        block = RecordChunk();
    }
    for (std::size_t i = 0; i < open_.size(); ++i) {
        if (i == failedFrom) flush();  // the failed run came after them all
        take(open_[i]);
    }
    flush();
    open_ = RecordChunk();
}

// Day keys are those of dayKey(), -1 for a line with no such date.
void RecordListBuilder::placeByDay(std::string_view line, std::int32_t key) {
    const std::int64_t at = static_cast<std::int64_t>(key) - firstKey_;
    if (key < 0 || at < 0 || at >= static_cast<std::int64_t>(days_.size())) {
        putApart(line);
        return;
    }
    std::vector<Piece>& bucket = buckets_[bucketOfMonth_[static_cast<std::size_t>(at) / 32]];
    // A line in the loaded bytes waits as where it stands, any other as its bytes.
    const bool loaded = isLoaded(line);
    if (line.size() >= kLoadedLength) {
        putApart(line);
        return;
    }
    const std::uint32_t head[2] = {
        static_cast<std::uint32_t>(line.size()) | (loaded ? kLoadedLength : 0),
        static_cast<std::uint32_t>(key)};
    const std::size_t need = sizeof head + (loaded ? sizeof(const char*) : line.size());
    if (bucket.empty() || bucket.back().size - bucket.back().used < need) {
        const std::size_t size = std::max(kBucketPieceSize, need);
        bucket.push_back({std::unique_ptr<char[]>(new char[size]), 0, size});
    }
    Piece& piece = bucket.back();
    std::memcpy(piece.bytes.get() + piece.used, head, sizeof head);
    if (loaded) {
        const char* where = line.data();
        std::memcpy(piece.bytes.get() + piece.used + sizeof head, &where, sizeof where);
    } else {
        std::memcpy(piece.bytes.get() + piece.used + sizeof head, line.data(), line.size());
    }
    piece.used += need;
}

void RecordListBuilder::placeByMonth(std::string_view line, std::int32_t key) {
    if (key < 0 || !isLoaded(line) || !byMonth_->add(line, key)) putApart(line);
}

void RecordListBuilder::placeInRoom(std::string_view line, std::int32_t key) {
    if (!tryPlaceInRoom(line, key, keyed_)) putApart(line);
}

// False when the line has no room: the source changed since it was looked at.
bool RecordListBuilder::tryPlaceInRoom(std::string_view line, std::int32_t key,
                                       std::vector<KeyedSpan>& keyed) {
    const std::int64_t at = static_cast<std::int64_t>(key) - firstKey_;
    if (key < 0 || at < 0 || at >= static_cast<std::int64_t>(days_.size())) return false;
    DayRoom& room = days_[static_cast<std::size_t>(at)];
    const bool loaded = isLoaded(line);
    if (room.next == room.end || (!loaded && line.size() > room.byteEnd - room.byte)) return false;
    RecordChunk& block = laidOut_[room.block];
    if (block.spans_.empty()) {  // allocated when first used: blocks given back meanwhile serve
        block.spans_.resize(blockShape_[room.block].first);
        block.bytes_.resize(blockShape_[room.block].second);
    }
    if (loaded) {
        block.shareLoaded(loaded_);
        block.spans_[room.next] = {
            static_cast<std::size_t>(line.data() - loaded_->data()) | RecordChunk::kLoaded,
            line.size()};
    } else {
        std::memcpy(block.bytes_.data() + room.byte, line.data(), line.size());
        block.spans_[room.next] = {room.byte, line.size()};
        room.byte += static_cast<std::uint32_t>(line.size());
    }
    if (++room.next == room.end)
        sortSpans(&block.spans_[room.begin], room.end - room.begin, block.lineBase(), kDayKeyFrom,
                  keyed);
    return true;
}

// Places the lines waiting in buckets [from, to) into their rooms; those
// without room are copied to `refused`.
void RecordListBuilder::placeBuckets(std::size_t from, std::size_t to,
                                     std::vector<KeyedSpan>& keyed,
                                     std::vector<std::string>& refused) {
    for (std::size_t b = from; b < to; ++b) {
        std::vector<Piece>& bucket = buckets_[b];
        for (Piece& piece : bucket) {
            for (std::size_t at = 0; at < piece.used;) {
                std::uint32_t head[2];  // length, day key
                std::memcpy(head, piece.bytes.get() + at, sizeof head);
                const char* bytes = piece.bytes.get() + at + sizeof head;
                const std::size_t length = head[0] & ~kLoadedLength;
                if (head[0] & kLoadedLength) {
                    const char* where;
                    std::memcpy(&where, bytes, sizeof where);
                    bytes = where;
                    // Asked for now, to be at hand when its day is sorted.
                    __builtin_prefetch(bytes);
                    at += sizeof head + sizeof(const char*);
                } else {
                    at += sizeof head + length;
                }
                const std::string_view line(bytes, length);
                if (!tryPlaceInRoom(line, static_cast<std::int32_t>(head[1]), keyed))
                    refused.emplace_back(line);
            }
            piece = Piece();
        }
        bucket.clear();
        bucket.shrink_to_fit();
    }
}

void RecordListBuilder::putApart(std::string_view line) {
    if (isLoaded(line)) {  // stays where it stands
        apart_.push_back(line);
        return;
    }
    if (apartPieces_.empty() || apartPieceSize_ - apartPieceUsed_ < line.size()) {
        apartPieceSize_ = std::max(kApartPieceSize, line.size());
        apartPieces_.emplace_back(new char[apartPieceSize_]);
        apartPieceUsed_ = 0;
    }
    char* at = apartPieces_.back().get() + apartPieceUsed_;
    std::memcpy(at, line.data(), line.size());
    apartPieceUsed_ += line.size();
    apart_.emplace_back(at, line.size());
}

// The laid out blocks become the list's. A day whose lines did not all come
// (the source changed since it was looked at) is sorted as it stands and its
// empty room dropped.
void RecordListBuilder::finishDays() {
    // Placing and sorting the days is most of the work of a large ledger out
    // of order: a second thread takes the later half of the buckets. Their
    // rooms are apart but for the block where the halves meet, which is
    // therefore made ready before.
    std::size_t waiting = 0;  // bytes in the buckets
    for (const auto& bucket : buckets_)
        for (const Piece& piece : bucket) waiting += piece.used;
    std::size_t half = buckets_.size();  // the first bucket of the second thread
    if (buckets_.size() >= 2 && waiting >= kSecondThreadFrom) {
        std::size_t before = 0;
        for (half = 0; half + 1 < buckets_.size() && before < waiting / 2; ++half)
            for (const Piece& piece : buckets_[half]) before += piece.used;
        half = std::max<std::size_t>(half, 1);
    }
    std::vector<std::string> refused;
    if (half < buckets_.size()) {
        for (std::size_t m = 0; m < bucketOfMonth_.size(); ++m) {
            if (bucketOfMonth_[m] != half) continue;
            for (std::size_t d = m * 32; d < days_.size(); ++d) {
                const DayRoom& room = days_[d];
                if (room.begin == room.end) continue;
                RecordChunk& block = laidOut_[room.block];
                block.spans_.resize(blockShape_[room.block].first);
                block.bytes_.resize(blockShape_[room.block].second);
                if (loaded_) block.shareLoaded(loaded_);
                break;
            }
            break;
        }
        std::vector<KeyedSpan> keyed;
        std::vector<std::string> refusedLater;
        runSideBySide([&] { placeBuckets(0, half, keyed_, refused); },
                      [&] { placeBuckets(half, buckets_.size(), keyed, refusedLater); });
        for (auto& line : refusedLater) refused.push_back(std::move(line));
    } else {
        placeBuckets(0, buckets_.size(), keyed_, refused);
    }
    for (const std::string& line : refused) putApart(line);
    buckets_.clear();
    bucketOfMonth_ = {};
    std::vector<bool> holed(laidOut_.size());
    for (DayRoom& room : days_) {
        if (room.next == room.end) continue;
        sortLines(laidOut_[room.block], room.begin, room.next, kDayKeyFrom);
        holed[room.block] = true;
    }
    days_ = {};
    for (std::size_t b = 0; b < laidOut_.size(); ++b) {
        RecordChunk& block = laidOut_[b];
        if (holed[b]) {
            // A line with a date is never empty, so empty room is what is left.
            std::erase_if(block.spans_, [](const RecordChunk::Span& s) { return s.length == 0; });
            std::size_t used = 0;
            for (const auto& s : block.spans_)
                if (!(s.offset & RecordChunk::kLoaded)) used += s.length;
            block.unused_ = block.bytes_.size() - used;
        }
        if (block.empty()) continue;
        if (block.size() > kMaxBlockSize) {
            appendCopies(block, 0, block.size());
        } else {
            records_.size_ += block.size();
            records_.blocks_.push_back(std::move(block));
        }
        block = RecordChunk();
    }
    laidOut_.clear();
    blockShape_.clear();
    records_.startsValid_ = false;
}

// Sorts the lines kept apart and merges them in, each before the lines
// already in the list that it equals (it came after them).
void RecordListBuilder::mergeApart() {
    std::reverse(apart_.begin(), apart_.end());
    if (!std::is_sorted(apart_.begin(), apart_.end(), lineLess)) stableSort(apart_);

    std::vector<RecordChunk> old = std::move(records_.blocks_);
    records_.blocks_.clear();
    records_.size_ = 0;
    std::vector<std::string_view> pending;
    std::size_t next = 0;  // of apart_
    for (std::size_t b = 0; b < old.size(); ++b) {
        const RecordChunk& block = old[b];
        for (std::size_t i = 0; i < block.size(); ++i) {
            const std::string_view line = block[i];
            while (next < apart_.size() && !lineLess(line, apart_[next]))
                pending.push_back(apart_[next++]);
            pending.push_back(line);
            if (pending.size() >= kBlockSize) {
                appendBlock(pending.data(), pending.size());
                pending.clear();
                for (std::size_t done = 0; done < b; ++done) old[done] = RecordChunk();
            }
        }
    }
    while (next < apart_.size()) {
        pending.push_back(apart_[next++]);
        if (pending.size() >= kBlockSize) {
            appendBlock(pending.data(), pending.size());
            pending.clear();
        }
    }
    appendBlock(pending.data(), pending.size());
    records_.startsValid_ = false;
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
    if (mode_ == Mode::Descending) {
        if (endDescendingRun()) {
            reverseDescendingRuns();
            mode_ = Mode::InOrder;
        } else {
            leaveDescending(nullptr);
        }
    }
    if (mode_ == Mode::InOrder && !endRun()) leaveOrder(runStart_, nullptr);
    if (mode_ == Mode::InOrder) closeOpen();
    sortLeftRuns();
    runSorter_.reset();
    if (mode_ == Mode::ByMonth) {
        for (RecordChunk& block : byMonth_->takeBlocks()) {
            records_.size_ += block.size();
            records_.blocks_.push_back(std::move(block));
        }
        byMonth_.reset();
    }
    if (mode_ == Mode::ByDay) finishDays();
    if (!apart_.empty()) mergeApart();
    apart_ = {};
    apartPieces_.clear();
    apartPieceUsed_ = apartPieceSize_ = 0;
    open_ = RecordChunk();
    keyed_ = {};
    mode_ = Mode::InOrder;
    inRun_ = false;
    records_.startsValid_ = false;
}

}  // namespace orvo
