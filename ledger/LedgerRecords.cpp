#include "ledger/LedgerRecords.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>
#include <utility>

#include "base/Cp932.h"
#include "ledger/RecordLine.h"

namespace orvo {

namespace {

constexpr std::size_t kBlockSize = 1024;  // lines per block after a split or a bulk load
constexpr std::size_t kMaxBlockSize = 2 * kBlockSize;

inline unsigned char foldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

std::string_view field0(std::string_view line) {
    return line.substr(0, line.find(kFieldSeparator));
}

// Whether field 0 is a date written "yyyy/mm/dd", as nearly every record's
// is; looked at for every record of a load, so without searching for the TAB.
bool startsWithCanonicalDate(std::string_view line) {
    if (line.size() > 10 && line[10] != kFieldSeparator) return false;
    return LedgerDate::isCanonical(line.substr(0, 10));
}

// The index of the first byte where a and b differ, or n; eight bytes at a
// time, since neighbouring records share their date and often more.
std::size_t firstDifference(const char* a, const char* b, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t wa;
        std::uint64_t wb;
        std::memcpy(&wa, a + i, 8);
        std::memcpy(&wb, b + i, 8);
        if (wa != wb) {
            if constexpr (std::endian::native == std::endian::little)
                return i + static_cast<std::size_t>(std::countr_zero(wa ^ wb)) / 8;
            break;
        }
    }
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

}  // namespace

int compareRecordLines(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    // Folding changes only the letters A to Z, so up to the first differing
    // byte the texts agree, and past it raw order decides unless a letter is
    // involved; only then does it matter whether that byte is a trail byte.
    std::size_t i = firstDifference(a.data(), b.data(), n);
    if (i == n) return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    const auto isUpper = [](unsigned char c) { return c >= 'A' && c <= 'Z'; };
    if (!isUpper(static_cast<unsigned char>(a[i])) && !isUpper(static_cast<unsigned char>(b[i])))
        return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;

    bool trail = false;  // the byte at i follows a lead byte: it is never folded
    for (std::size_t k = 0; k < i; ++k)
        trail = !trail && cp932::isLeadByte(static_cast<unsigned char>(a[k]));
    for (; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca != cb) {
            const unsigned char fa = trail ? ca : foldAscii(ca);
            const unsigned char fb = trail ? cb : foldAscii(cb);
            if (fa != fb) return fa < fb ? -1 : 1;
        }
        // Equal so far, folded: both texts are in the same lead/trail state.
        trail = !trail && cp932::isLeadByte(ca);
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

void RecordChunk::insert(std::size_t i, std::string_view line) {
    const std::size_t offset = bytes_.size();
    bytes_.append(line);
    spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(i), Span{offset, line.size()});
}

void RecordChunk::erase(std::size_t i) {
    unused_ += spans_[i].length;
    spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(i));
    // A block that keeps being rewritten (one day edited again and again)
    // would otherwise only grow.
    if (unused_ > 4096 && unused_ * 2 > bytes_.size()) compact();
}

RecordChunk RecordChunk::splitOff(std::size_t from) {
    RecordChunk upper;
    for (std::size_t i = from; i < size(); ++i) upper.push((*this)[i]);
    spans_.resize(from);
    compact();
    return upper;
}

void RecordChunk::compact() {
    std::string bytes;
    bytes.reserve(bytes_.size() - unused_);
    for (Span& s : spans_) {
        const std::size_t offset = bytes.size();
        bytes.append(bytes_, s.offset, s.length);
        s.offset = offset;
    }
    bytes_ = std::move(bytes);
    unused_ = 0;
}

LedgerRecords::LedgerRecords() = default;

void LedgerRecords::rebuildStarts() const {
    starts_.resize(blocks_.size());
    std::size_t start = 0;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        starts_[b] = start;
        start += blocks_[b].size();
    }
    startsValid_ = true;
}

LedgerRecords::Position LedgerRecords::locate(std::size_t index) const {
    assert(index < size_);
    if (!startsValid_) rebuildStarts();
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
    const auto block = static_cast<std::size_t>(it - starts_.begin()) - 1;
    return {block, index - starts_[block]};
}

std::string_view LedgerRecords::operator[](std::size_t index) const {
    const Position p = locate(index);
    return blocks_[p.block][p.offset];
}

std::size_t LedgerRecords::lowerBound(std::string_view key) const {
    // The first block whose last line does not sort before the key.
    const auto block = std::partition_point(
        blocks_.begin(), blocks_.end(),
        [&](const RecordChunk& b) { return compareRecordLines(b.back(), key) < 0; });
    if (block == blocks_.end()) return size_;
    std::size_t lo = 0;
    std::size_t hi = block->size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (compareRecordLines((*block)[mid], key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (!startsValid_) rebuildStarts();
    return starts_[static_cast<std::size_t>(block - blocks_.begin())] + lo;
}

std::size_t LedgerRecords::add(std::string_view line) {
    const std::size_t index = lowerBound(line);
    noteAdded(line);
    if (blocks_.empty()) blocks_.emplace_back();
    const Position p =
        index == size_ ? Position{blocks_.size() - 1, blocks_.back().size()} : locate(index);
    RecordChunk& block = blocks_[p.block];
    block.insert(p.offset, line);
    ++size_;
    if (block.size() > kMaxBlockSize) {
        RecordChunk upper = block.splitOff(kBlockSize);
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block) + 1,
                       std::move(upper));
    }
    startsValid_ = false;
    return index;
}

void LedgerRecords::addAll(const std::vector<std::string>& lines) {
    RecordListBuilder builder(*this);
    for (const auto& line : lines) builder.add(line);
    builder.finish();
}

void LedgerRecords::addAll(std::vector<RecordChunk> chunks) {
    std::erase_if(chunks, [](const RecordChunk& c) { return c.empty(); });
    if (chunks.empty()) return;

    // Added one by one, equal lines end up latest first. Lines read in order
    // into an empty list become its blocks as they are, without a copy.
    struct Where {
        std::size_t chunk;
        std::size_t line;
    };
    bool sorted = size_ == 0;
    std::vector<std::pair<Where, Where>> equalRuns;  // first and last of lines that compare equal
    std::string_view previous;
    Where previousAt{0, 0};
    bool first = true;
    for (std::size_t c = 0; c < chunks.size() && sorted; ++c) {
        for (std::size_t i = 0; i < chunks[c].size() && sorted; ++i) {
            const std::string_view line = chunks[c][i];
            if (!first) {
                const int order = compareRecordLines(previous, line);
                sorted = order <= 0;
                if (order == 0) {
                    auto& runs = equalRuns;
                    if (!runs.empty() && runs.back().second.chunk == previousAt.chunk &&
                        runs.back().second.line == previousAt.line)
                        runs.back().second = {c, i};
                    else
                        runs.push_back({previousAt, {c, i}});
                }
            }
            first = false;
            previous = line;
            previousAt = {c, i};
        }
    }
    if (!sorted) {
        RecordListBuilder builder(*this);
        for (const auto& chunk : chunks)
            for (std::size_t i = 0; i < chunk.size(); ++i) builder.add(chunk[i]);
        builder.finish();
        return;
    }

    for (const auto& chunk : chunks)
        for (std::size_t i = 0; i < chunk.size(); ++i) noteAdded(chunk[i]);
    // Equal lines have equal lengths (folding keeps every byte in place), so a
    // run is reversed by swapping bytes, across chunks if need be.
    for (auto [from, to] : equalRuns) {
        std::vector<char*> lines;
        for (Where w = from;;) {
            RecordChunk& chunk = chunks[w.chunk];
            lines.push_back(chunk.bytes_.data() + chunk.spans_[w.line].offset);
            if (w.chunk == to.chunk && w.line == to.line) break;
            w = w.line + 1 < chunk.size() ? Where{w.chunk, w.line + 1} : Where{w.chunk + 1, 0};
        }
        const std::size_t length = chunks[from.chunk].spans_[from.line].length;
        for (std::size_t a = 0, b = lines.size() - 1; a < b; ++a, --b)
            std::swap_ranges(lines[a], lines[a] + length, lines[b]);
    }
    for (auto& chunk : chunks) {
        size_ += chunk.size();
        while (chunk.size() > kMaxBlockSize) {
            RecordChunk upper = chunk.splitOff(kBlockSize);
            blocks_.push_back(std::move(chunk));
            chunk = std::move(upper);
        }
        blocks_.push_back(std::move(chunk));
    }
    startsValid_ = false;
}

void LedgerRecords::removeAt(std::size_t index) {
    const Position p = locate(index);
    RecordChunk& block = blocks_[p.block];
    noteRemoved(block[p.offset]);
    block.erase(p.offset);
    if (block.empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block));
    --size_;
    startsValid_ = false;
}

void LedgerRecords::replaceAt(std::size_t index, std::string_view line) {
    const Position p = locate(index);
    RecordChunk& block = blocks_[p.block];
    noteRemoved(block[p.offset]);
    noteAdded(line);
    const std::string copy(line);  // `line` may point into this block
    block.erase(p.offset);
    block.insert(p.offset, copy);
}

void LedgerRecords::clear() {
    blocks_.clear();
    size_ = 0;
    startsValid_ = false;
    oddlyDated_.clear();
    undated_.clear();
}

void LedgerRecords::noteAdded(std::string_view line) {
    if (startsWithCanonicalDate(line)) return;
    const std::string_view f = field0(line);
    if (auto d = LedgerDate::parse(f))
        oddlyDated_.emplace(d->serial(), std::string(line));
    else
        undated_.insert(std::string(line));
}

void LedgerRecords::noteRemoved(std::string_view line) {
    if (startsWithCanonicalDate(line)) return;
    const std::string_view f = field0(line);
    if (auto d = LedgerDate::parse(f)) {
        auto [lo, hi] = oddlyDated_.equal_range(d->serial());
        for (auto it = lo; it != hi; ++it)
            if (it->second == line) {
                oddlyDated_.erase(it);
                return;
            }
    } else {
        auto [lo, hi] = undated_.equal_range(std::string(line));
        for (auto it = lo; it != hi; ++it)
            if (*it == line) {
                undated_.erase(it);
                return;
            }
    }
}

std::vector<std::size_t> LedgerRecords::indicesOfDay(const LedgerDate& day) const {
    std::vector<std::size_t> result;
    const std::string key = day.format();
    // Lines whose field 0 is exactly the key: the key alone, or the key and a
    // TAB; they sort between the key and the key followed by LF.
    const std::size_t lo = lowerBound(key);
    const std::size_t hi = lowerBound(key + '\n');
    for (std::size_t i = lo; i < hi; ++i) {
        const std::string_view line = (*this)[i];
        if (line.size() == key.size() || line[key.size()] == kFieldSeparator) result.push_back(i);
    }
    auto [olo, ohi] = oddlyDated_.equal_range(day.serial());
    if (olo != ohi) {
        for (auto it = olo; it != ohi; ++it) {
            for (std::size_t i = lowerBound(it->second); i < size_; ++i) {
                const std::string_view line = (*this)[i];
                if (compareRecordLines(line, it->second) != 0) break;
                if (line == it->second) result.push_back(i);
            }
        }
        std::sort(result.begin(), result.end());
        result.erase(std::unique(result.begin(), result.end()), result.end());
    }
    return result;
}

const std::string* LedgerRecords::undatedRecordBefore(const LedgerDate& day) const {
    if (undated_.empty()) return nullptr;
    const std::string& first = *undated_.begin();
    // The scan stops at the first record dated later than the day; those
    // written "yyyy/mm/dd" start at the next day's key, past any lines there
    // that are no date.
    for (std::size_t i = lowerBound(day.addDays(1).format()); i < size_; ++i) {
        const std::string_view line = (*this)[i];
        if (!startsWithCanonicalDate(line)) continue;
        return compareRecordLines(first, line) < 0 ? &first : nullptr;
    }
    return &first;
}

namespace {

bool lineLess(std::string_view a, std::string_view b) {
    return compareRecordLines(a, b) < 0;
}

// Whether field 0 of `line` is exactly `field0` (which holds no TAB).
bool hasField0(std::string_view line, std::string_view field0) {
    return line.size() >= field0.size() &&
           (line.size() == field0.size() || line[field0.size()] == kFieldSeparator) &&
           std::memcmp(line.data(), field0.data(), field0.size()) == 0;
}

// Eight bytes of `line` from `from` on, ASCII letters folded, in an integer
// that orders as compareRecordLines orders the lines when their bytes before
// `from` agree and no double-byte character straddles it; bytes past the end
// count as 0, so equal keys decide nothing.
std::uint64_t foldedKey(std::string_view line, std::size_t from) {
    std::uint64_t key = 0;
    bool trail = false;
    for (std::size_t i = from; i < from + 8; ++i) {
        unsigned char c = 0;
        if (i < line.size()) {
            c = static_cast<unsigned char>(line[i]);
            const unsigned char folded = trail ? c : foldAscii(c);
            trail = !trail && cp932::isLeadByte(c);
            c = folded;
        }
        key = key << 8 | c;
    }
    return key;
}

// The first sixteen bytes of `line`, folded, as foldedKey gives them: the
// date and the start of the level-1 title.
using LeadingKeys = std::array<std::uint64_t, 2>;
LeadingKeys leadingKeys(std::string_view line) {
    LeadingKeys keys{};
    bool trail = false;
    for (std::size_t i = 0; i < 8 * keys.size(); ++i) {
        unsigned char c = 0;
        if (i < line.size()) {
            c = static_cast<unsigned char>(line[i]);
            const unsigned char folded = trail ? c : foldAscii(c);
            trail = !trail && cp932::isLeadByte(c);
            c = folded;
        }
        keys[i / 8] = keys[i / 8] << 8 | c;
    }
    return keys;
}

// A stable sort of lines in any order: most comparisons are decided by the
// lines' first bytes, taken once for each line.
void stableSort(std::vector<std::string_view>& lines) {
    struct Keyed {
        LeadingKeys keys;
        std::size_t position;
        std::string_view line;
    };
    std::vector<Keyed> keyed(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) keyed[i] = {leadingKeys(lines[i]), i, lines[i]};
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.keys != b.keys) return a.keys < b.keys;
        const int order = compareRecordLines(a.line, b.line);
        return order != 0 ? order < 0 : a.position < b.position;
    });
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = keyed[i].line;
}

}  // namespace

RecordListBuilder::RecordListBuilder(LedgerRecords& records)
    : records_(records), merging_(!records.empty()) {}

void RecordListBuilder::add(std::string_view line) {
    if (merging_) {
        records_.noteAdded(line);
        rest_.push_back(line);
        return;
    }
    if (!run_.empty() && hasField0(line, runField0_)) {
        // Lines with a date written "yyyy/mm/dd" need no note; the run's lines
        // share field 0, so that is known for all of them at once.
        if (!runCanonical_) records_.noteAdded(line);
        run_.push_back(line);
        return;
    }
    placeRun();
    records_.noteAdded(line);
    if (merging_) {
        rest_.push_back(line);
        return;
    }
    run_.push_back(line);
    runField0_ = field0(line);
    runCanonical_ = LedgerDate::isCanonical(runField0_);
}

// Sorts the run as adding its lines one by one would: of equal lines the
// later first. The run's lines share field 0 and the TAB after it, after
// which no double-byte character can be open, so the keys start there.
void RecordListBuilder::sortRun() {
    const std::size_t n = run_.size();
    if (n < 2) return;
    const std::size_t from = runField0_.size() + 1;
    keyed_.resize(n);
    for (std::size_t i = 0; i < n; ++i) keyed_[i] = {foldedKey(run_[i], from), i, run_[i]};
    const auto before = [](const KeyedLine& a, const KeyedLine& b) {
        if (a.key != b.key) return a.key < b.key;
        const int order = compareRecordLines(a.line, b.line);
        return order != 0 ? order < 0 : a.position > b.position;
    };
    // A day of a file is a few dozen lines, most often in order already: an
    // insertion sort looks at each once. The order is total, so a large run
    // needs no stable sort.
    if (n <= 64) {
        for (std::size_t i = 1; i < n; ++i) {
            if (!before(keyed_[i], keyed_[i - 1])) continue;
            const KeyedLine moving = keyed_[i];
            std::size_t j = i;
            for (; j > 0 && before(moving, keyed_[j - 1]); --j) keyed_[j] = keyed_[j - 1];
            keyed_[j] = moving;
        }
    } else {
        std::sort(keyed_.begin(), keyed_.end(), before);
    }
    for (std::size_t i = 0; i < n; ++i) run_[i] = keyed_[i].line;
}

void RecordListBuilder::placeRun() {
    if (run_.empty()) return;
    // Where the run's lines lie in the caller's buffer, before sorting moves them.
    const char* runFrom = run_.front().data();
    sortRun();
    if (placedAny_ && compareRecordLines(greatest_, run_.front()) >= 0) {
        // Out of order: this run and every later line are merged in at the
        // end. The run goes in turned round, so that the final reversal and
        // stable sort give it back as it is now.
        merging_ = true;
        restHeldFrom_ = runFrom;
        for (auto it = run_.rbegin(); it != run_.rend(); ++it) {
            restHeldFrom_ = std::min(restHeldFrom_, it->data());
            rest_.push_back(*it);
        }
        run_.clear();
        return;
    }
    pending_.insert(pending_.end(), run_.begin(), run_.end());
    greatest_ = run_.back();
    placedAny_ = true;
    run_.clear();
    if (pending_.size() >= kBlockSize) placePending();
}

// Moves the pending lines into blocks of kBlockSize lines (the last up to
// twice that), each block's bytes allocated once.
void RecordListBuilder::placePending() {
    std::size_t from = 0;
    while (from < pending_.size()) {
        std::size_t n = pending_.size() - from;
        if (n >= 2 * kBlockSize) n = kBlockSize;
        std::size_t bytes = 0;
        for (std::size_t i = from; i < from + n; ++i) bytes += pending_[i].size();
        RecordChunk block;
        block.reserve(n, bytes);
        for (std::size_t i = from; i < from + n; ++i) block.push(pending_[i]);
        records_.blocks_.push_back(std::move(block));
        records_.size_ += n;
        from += n;
    }
    pending_.clear();
    records_.startsValid_ = false;
}

const char* RecordListBuilder::firstHeldByte() const {
    const char* first = nullptr;
    auto consider = [&](std::string_view line) {
        if (!first || line.data() < first) first = line.data();
    };
    if (merging_ && restHeldFrom_) first = restHeldFrom_;
    if (merging_ && !restHeldFrom_ && !rest_.empty()) consider(rest_.front());
    if (!run_.empty()) consider(run_.front());
    for (std::string_view line : pending_) consider(line);
    if (placedAny_) consider(greatest_);
    return first;
}

void RecordListBuilder::finish() {
    placeRun();
    placePending();
    if (merging_) mergeRest();
    rest_.clear();
    merging_ = !records_.empty();
    restHeldFrom_ = nullptr;
    placedAny_ = false;
}

// Sorts the lines that broke the order and merges them in, each before the
// lines already in the list that it equals.
void RecordListBuilder::mergeRest() {
    std::reverse(rest_.begin(), rest_.end());
    if (!std::is_sorted(rest_.begin(), rest_.end(), lineLess)) stableSort(rest_);

    std::vector<RecordChunk> old = std::move(records_.blocks_);
    records_.blocks_.clear();
    records_.size_ = 0;
    std::size_t next = 0;  // of rest_
    for (const RecordChunk& block : old) {
        for (std::size_t i = 0; i < block.size(); ++i) {
            const std::string_view line = block[i];
            while (next < rest_.size() && !lineLess(line, rest_[next]))
                pending_.push_back(rest_[next++]);
            pending_.push_back(line);
            if (pending_.size() >= 2 * kBlockSize) placePending();
        }
    }
    pending_.insert(pending_.end(), rest_.begin() + static_cast<std::ptrdiff_t>(next), rest_.end());
    placePending();
}

}  // namespace orvo
