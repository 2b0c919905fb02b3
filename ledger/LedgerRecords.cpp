#include "ledger/LedgerRecords.h"

#include <algorithm>
#include <cassert>

#include "ledger/Cp932.h"
#include "ledger/RecordLine.h"

namespace orvo {

namespace {

constexpr std::size_t kBlockSize = 1024;      // lines per block after a split or a bulk load
constexpr std::size_t kMaxBlockSize = 2 * kBlockSize;

inline unsigned char foldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

std::string_view field0(std::string_view line) { return line.substr(0, line.find(kFieldSeparator)); }

}  // namespace

int compareRecordLines(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    // Folding changes only the letters A to Z, so up to the first differing
    // byte the texts agree, and past it raw order decides unless a letter is
    // involved; only then does it matter whether that byte is a trail byte.
    const auto firstDiff = std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin());
    std::size_t i = static_cast<std::size_t>(firstDiff.first - a.begin());
    if (i == n) return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    const auto isUpper = [](unsigned char c) { return c >= 'A' && c <= 'Z'; };
    if (!isUpper(static_cast<unsigned char>(a[i])) && !isUpper(static_cast<unsigned char>(b[i])))
        return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;

    bool trail = false;  // the byte at i follows a lead byte: it is never folded
    for (std::size_t k = 0; k < i; ++k) trail = !trail && cp932::isLeadByte(static_cast<unsigned char>(a[k]));
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

const std::string& LedgerRecords::operator[](std::size_t index) const {
    const Position p = locate(index);
    return blocks_[p.block][p.offset];
}

std::size_t LedgerRecords::lowerBound(std::string_view key) const {
    // The first block whose last line does not sort before the key.
    const auto block = std::partition_point(blocks_.begin(), blocks_.end(), [&](const Block& b) {
        return compareRecordLines(b.back(), key) < 0;
    });
    if (block == blocks_.end()) return size_;
    const auto line = std::partition_point(block->begin(), block->end(), [&](const std::string& l) {
        return compareRecordLines(l, key) < 0;
    });
    if (!startsValid_) rebuildStarts();
    const auto b = static_cast<std::size_t>(block - blocks_.begin());
    return starts_[b] + static_cast<std::size_t>(line - block->begin());
}

std::size_t LedgerRecords::add(std::string line) {
    const std::size_t index = lowerBound(line);
    noteAdded(line);
    if (blocks_.empty()) {
        blocks_.emplace_back();
        blocks_.back().reserve(kBlockSize);
    }
    Position p;
    if (index == size_) {
        p = {blocks_.size() - 1, blocks_.back().size()};
    } else {
        p = locate(index);
    }
    Block& block = blocks_[p.block];
    block.insert(block.begin() + static_cast<std::ptrdiff_t>(p.offset), std::move(line));
    ++size_;
    if (block.size() > kMaxBlockSize) {
        Block upper(std::make_move_iterator(block.begin() + kBlockSize), std::make_move_iterator(block.end()));
        block.resize(kBlockSize);
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block) + 1, std::move(upper));
    }
    startsValid_ = false;
    return index;
}

void LedgerRecords::addAll(std::vector<std::string> lines) {
    std::vector<std::vector<std::string>> chunks;
    chunks.push_back(std::move(lines));
    addAll(std::move(chunks));
}

void LedgerRecords::addAll(std::vector<std::vector<std::string>> chunks) {
    std::vector<std::string*> all;  // every new line, in order, across chunks
    for (auto& chunk : chunks)
        for (auto& l : chunk) {
            noteAdded(l);
            all.push_back(&l);
        }
    if (all.empty()) return;
    const auto less = [](const std::string& a, const std::string& b) { return compareRecordLines(a, b) < 0; };

    // Added one by one, equal lines end up latest first. A ledger file is
    // normally in order already, so check that before sorting.
    bool sorted = true;
    std::vector<std::pair<std::size_t, std::size_t>> equalRuns;  // [first, last] of lines that compare equal
    for (std::size_t i = 1; i < all.size() && sorted; ++i) {
        const int c = compareRecordLines(*all[i - 1], *all[i]);
        sorted = c <= 0;
        if (c != 0) continue;
        if (!equalRuns.empty() && equalRuns.back().second == i - 1)
            equalRuns.back().second = i;
        else
            equalRuns.emplace_back(i - 1, i);
    }
    if (sorted && size_ == 0) {
        for (auto [first, last] : equalRuns)
            for (std::size_t a = first, b = last; a < b; ++a, --b) std::swap(*all[a], *all[b]);
        all.clear();
        all.shrink_to_fit();
        for (auto& chunk : chunks) {
            size_ += chunk.size();
            for (std::size_t i = 0; i < chunk.size(); i += kMaxBlockSize) {
                const std::size_t end = std::min(chunk.size(), i + kMaxBlockSize);
                if (i == 0 && end == chunk.size()) {
                    if (!chunk.empty()) blocks_.push_back(std::move(chunk));
                    break;
                }
                blocks_.emplace_back(std::make_move_iterator(chunk.begin() + static_cast<std::ptrdiff_t>(i)),
                                     std::make_move_iterator(chunk.begin() + static_cast<std::ptrdiff_t>(end)));
            }
            std::vector<std::string>().swap(chunk);
        }
        startsValid_ = false;
        return;
    }

    std::vector<std::string> lines;
    lines.reserve(all.size());
    for (std::string* l : all) lines.push_back(std::move(*l));
    all.clear();
    chunks.clear();
    std::reverse(lines.begin(), lines.end());
    std::stable_sort(lines.begin(), lines.end(), less);

    std::vector<std::string> merged;
    merged.reserve(size_ + lines.size());
    std::vector<std::string> old;
    old.reserve(size_);
    for (auto& b : blocks_)
        for (auto& l : b) old.push_back(std::move(l));
    blocks_.clear();
    // New lines go before the old ones they equal.
    std::merge(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()),
               std::make_move_iterator(old.begin()), std::make_move_iterator(old.end()), std::back_inserter(merged),
               less);
    for (std::size_t i = 0; i < merged.size(); i += kBlockSize) {
        const std::size_t end = std::min(merged.size(), i + kBlockSize);
        blocks_.emplace_back(std::make_move_iterator(merged.begin() + static_cast<std::ptrdiff_t>(i)),
                             std::make_move_iterator(merged.begin() + static_cast<std::ptrdiff_t>(end)));
    }
    size_ = merged.size();
    startsValid_ = false;
}

void LedgerRecords::removeAt(std::size_t index) {
    const Position p = locate(index);
    Block& block = blocks_[p.block];
    noteRemoved(block[p.offset]);
    block.erase(block.begin() + static_cast<std::ptrdiff_t>(p.offset));
    if (block.empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block));
    --size_;
    startsValid_ = false;
}

void LedgerRecords::replaceAt(std::size_t index, std::string line) {
    const Position p = locate(index);
    std::string& slot = blocks_[p.block][p.offset];
    noteRemoved(slot);
    noteAdded(line);
    slot = std::move(line);
}

void LedgerRecords::clear() {
    blocks_.clear();
    size_ = 0;
    startsValid_ = false;
    oddlyDated_.clear();
    undated_.clear();
}

void LedgerRecords::noteAdded(const std::string& line) {
    const std::string_view f = field0(line);
    if (LedgerDate::isCanonical(f)) return;
    if (auto d = LedgerDate::parse(f))
        oddlyDated_.emplace(d->serial(), line);
    else
        undated_.insert(line);
}

void LedgerRecords::noteRemoved(const std::string& line) {
    const std::string_view f = field0(line);
    if (LedgerDate::isCanonical(f)) return;
    if (auto d = LedgerDate::parse(f)) {
        auto [lo, hi] = oddlyDated_.equal_range(d->serial());
        for (auto it = lo; it != hi; ++it)
            if (it->second == line) {
                oddlyDated_.erase(it);
                return;
            }
    } else {
        auto [lo, hi] = undated_.equal_range(line);
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
        const std::string& line = (*this)[i];
        if (line.size() == key.size() || line[key.size()] == kFieldSeparator) result.push_back(i);
    }
    auto [olo, ohi] = oddlyDated_.equal_range(day.serial());
    if (olo != ohi) {
        for (auto it = olo; it != ohi; ++it) {
            for (std::size_t i = lowerBound(it->second); i < size_; ++i) {
                const std::string& line = (*this)[i];
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
    return compareRecordLines(first, day.addDays(1).format()) < 0 ? &first : nullptr;
}

}  // namespace orvo
