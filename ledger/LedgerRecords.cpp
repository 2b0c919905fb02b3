#include "ledger/LedgerRecords.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "base/Cp932.h"
#include "ledger/LoadedBytes.h"
#include "ledger/RecordLine.h"
#include "ledger/RecordListBuilder.h"
#include "ledger/RecordListLayout.h"

namespace orvo {

namespace {

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

RecordChunk::RecordChunk(const std::shared_ptr<const LoadedBytes>& loaded)
    : loaded_(loaded), loadedData_(loaded->data()), spans_(&loaded->lineArena()) {}

RecordChunk& RecordChunk::operator=(const RecordChunk& other) {
    if (this != &other) *this = RecordChunk(other);
    return *this;
}

RecordChunk& RecordChunk::operator=(RecordChunk&& other) noexcept {
    if (this != &other) {
        std::destroy_at(this);
        std::construct_at(this, std::move(other));
    }
    return *this;
}

void RecordChunk::shareLoaded(const std::shared_ptr<const LoadedBytes>& loaded) {
    if (loaded_ == loaded) return;
    assert(!loaded_);  // a chunk points into the bytes of one load at most
    loaded_ = loaded;
    loadedData_ = loaded->data();
}

void RecordChunk::pushLoaded(const std::shared_ptr<const LoadedBytes>& loaded,
                             std::string_view line) {
    shareLoaded(loaded);
    spans_.push_back({static_cast<std::size_t>(line.data() - loadedData_) | kLoaded, line.size()});
}

void RecordChunk::insert(std::size_t i, std::string_view line) {
    const std::size_t offset = bytes_.size();
    bytes_.append(line);
    spans_.insert(spans_.begin() + static_cast<std::ptrdiff_t>(i), Span{offset, line.size()});
}

void RecordChunk::erase(std::size_t i) {
    if (!(spans_[i].offset & kLoaded)) unused_ += spans_[i].length;
    spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(i));
    // A block that keeps being rewritten (one day edited again and again)
    // would otherwise only grow.
    if (unused_ > 4096 && unused_ * 2 > bytes_.size()) compact();
}

void RecordChunk::pushFrom(const RecordChunk& from, std::size_t i) {
    if ((from.spans_[i].offset & kLoaded) && (!loaded_ || loaded_ == from.loaded_))
        pushLoaded(from.loaded_, from[i]);
    else
        push(from[i]);
}

RecordChunk RecordChunk::splitOff(std::size_t from) {
    RecordChunk upper;
    for (std::size_t i = from; i < size(); ++i) {
        if (spans_[i].offset & kLoaded)
            upper.pushLoaded(loaded_, (*this)[i]);
        else
            upper.push((*this)[i]);
    }
    spans_.resize(from);
    compact();
    return upper;
}

void RecordChunk::compact() {
    std::string bytes;
    bytes.reserve(bytes_.size() - unused_);
    for (Span& s : spans_) {
        if (s.offset & kLoaded) continue;
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
    insertAt(index, line);
    return index;
}

void LedgerRecords::insertAt(std::size_t index, std::string_view line) {
    assert(index <= size_);
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
}

void LedgerRecords::addAll(const std::vector<std::string>& lines) {
    std::size_t bytes = 0;
    for (const std::string& line : lines) bytes += line.size();
    RecordListBuilder builder(*this, {}, bytes);
    for (const std::string& line : lines) builder.add(line);
    builder.finish();
}

void LedgerRecords::addAll(std::vector<RecordChunk> chunks) {
    std::size_t bytes = 0;
    for (const RecordChunk& chunk : chunks)
        for (std::size_t i = 0; i < chunk.size(); ++i) bytes += chunk[i].size();
    RecordListBuilder builder(*this, {}, bytes);
    for (RecordChunk& chunk : chunks) {
        for (std::size_t i = 0; i < chunk.size(); ++i) builder.add(chunk[i]);
        chunk = RecordChunk();
    }
    builder.finish();
}

void LedgerRecords::takeInOrder(std::vector<RecordChunk> blocks) {
    std::erase_if(blocks, [](const RecordChunk& b) { return b.empty(); });
    if (blocks.empty()) return;
    // Each block's first line against the last before it: the lines inside
    // a block are the builder's to sort.
    for (std::size_t b = 1; b < blocks.size(); ++b)
        if (compareRecordLines(blocks[b - 1].back(), blocks[b][0]) > 0)
            throw std::logic_error("blocks out of order");
    if (!blocks_.empty() && compareRecordLines(blocks_.back().back(), blocks.front()[0]) >= 0) {
        // Should the merge run out of memory, the list is left empty rather than untrue.
        std::vector<RecordChunk> older = std::move(blocks_);
        blocks_.clear();
        size_ = 0;
        startsValid_ = false;
        blocks = merged(std::move(older), std::move(blocks));
    }
    for (RecordChunk& block : blocks) {
        size_ += block.size();
        if (block.size() <= kMaxBlockSize) {
            blocks_.push_back(std::move(block));
            continue;
        }
        for (std::size_t at = 0; at < block.size();) {
            const std::size_t n = nextBlockLength(block.size() - at);
            RecordChunk piece;
            for (std::size_t i = at; i < at + n; ++i) piece.pushFrom(block, i);
            blocks_.push_back(std::move(piece));
            at += n;
        }
        block = RecordChunk();
    }
    startsValid_ = false;
}

// Two lists of blocks in order as one, of equal lines the newer first;
// blocks that need no line of the other pass as they are.
std::vector<RecordChunk> LedgerRecords::merged(std::vector<RecordChunk> older,
                                               std::vector<RecordChunk> newer) {
    std::vector<RecordChunk> out;
    RecordChunk open;
    const auto close = [&] {
        if (!open.empty()) out.push_back(std::move(open));
        open = RecordChunk();
    };
    std::size_t o = 0, oi = 0, n = 0, ni = 0;  // block and line in each
    const auto moveWhole = [&](std::vector<RecordChunk>& blocks, std::size_t& b) {
        close();
        out.push_back(std::move(blocks[b++]));
    };
    while (o < older.size() || n < newer.size()) {
        bool takeNewer = o == older.size();
        if (takeNewer || n == newer.size()) {
            if (takeNewer ? ni == 0 : oi == 0) {
                moveWhole(takeNewer ? newer : older, takeNewer ? n : o);
                continue;
            }
        } else {
            const RecordChunk& a = older[o];
            const RecordChunk& c = newer[n];
            if (oi == 0 && standsBefore(compareRecordLines(a.back(), c[ni]), 0, 1)) {
                moveWhole(older, o);
                continue;
            }
            if (ni == 0 && standsBefore(compareRecordLines(c.back(), a[oi]), 1, 0)) {
                moveWhole(newer, n);
                continue;
            }
            takeNewer = standsBefore(compareRecordLines(c[ni], a[oi]), 1, 0);
        }
        std::vector<RecordChunk>& from = takeNewer ? newer : older;
        std::size_t& b = takeNewer ? n : o;
        std::size_t& i = takeNewer ? ni : oi;
        open.pushFrom(from[b], i++);
        if (open.size() == kBlockSize) close();
        if (i == from[b].size()) {
            from[b++] = RecordChunk();
            i = 0;
        }
    }
    close();
    return out;
}

void LedgerRecords::removeAll(const std::vector<std::size_t>& indices) {
    std::vector<RecordChunk> kept;
    std::size_t index = 0;
    auto next = indices.begin();
    for (RecordChunk& block : blocks_) {
        if (next == indices.end() || *next >= index + block.size()) {
            index += block.size();
            kept.push_back(std::move(block));
            continue;
        }
        RecordChunk left;
        for (std::size_t i = 0; i < block.size(); ++i, ++index) {
            if (next != indices.end() && *next == index) {
                noteRemoved(block[i]);
                ++next;
            } else {
                left.pushFrom(block, i);
            }
        }
        if (!left.empty()) kept.push_back(std::move(left));
        block = RecordChunk();
    }
    blocks_ = std::move(kept);
    size_ -= indices.size();
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
