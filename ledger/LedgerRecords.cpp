#include "ledger/LedgerRecords.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

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
    const auto offset = static_cast<std::uint32_t>(bytes_.size());
    bytes_.append(line);
    spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(i),
                  Span{offset, static_cast<std::uint32_t>(line.size())});
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
        const auto offset = static_cast<std::uint32_t>(bytes.size());
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
    std::vector<RecordChunk> chunks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % kBlockSize == 0) chunks.emplace_back();
        chunks.back().push(lines[i]);
    }
    addAll(std::move(chunks));
}

void LedgerRecords::addAll(std::vector<RecordChunk> chunks) {
    std::erase_if(chunks, [](const RecordChunk& c) { return c.empty(); });
    if (chunks.empty()) return;
    for (const auto& chunk : chunks)
        for (std::size_t i = 0; i < chunk.size(); ++i) noteAdded(chunk[i]);

    // Added one by one, equal lines end up latest first. A ledger file is
    // normally in order already, so check that before sorting.
    struct Where {
        std::size_t chunk;
        std::size_t line;
    };
    bool sorted = true;
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
    if (sorted && size_ == 0) {
        // Equal lines have equal lengths (folding keeps every byte in place),
        // so a run is reversed by swapping bytes, across chunks if need be.
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
        return;
    }

    // The general case: sort the new lines (later ones first among equals) and
    // merge them in before the old lines they equal.
    const auto less = [](std::string_view a, std::string_view b) {
        return compareRecordLines(a, b) < 0;
    };
    std::vector<std::string_view> added;
    for (auto it = chunks.rbegin(); it != chunks.rend(); ++it)
        for (std::size_t i = it->size(); i-- > 0;) added.push_back((*it)[i]);
    std::stable_sort(added.begin(), added.end(), less);
    std::vector<std::string_view> old;
    old.reserve(size_);
    forEach([&](std::string_view l) { old.push_back(l); });
    std::vector<std::string_view> merged;
    merged.reserve(old.size() + added.size());
    std::merge(added.begin(), added.end(), old.begin(), old.end(), std::back_inserter(merged),
               less);

    std::vector<RecordChunk> blocks;
    for (std::size_t i = 0; i < merged.size(); ++i) {
        if (i % kBlockSize == 0) blocks.emplace_back();
        blocks.back().push(merged[i]);
    }
    blocks_ = std::move(blocks);
    size_ = merged.size();
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

}  // namespace orvo
