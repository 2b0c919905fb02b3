#pragma once
// What the list of records and the parts that build it share: letters
// folded, a line's field 0, the size of the list's blocks, the day of a
// record line as a number, the order of equal lines, and work in two halves
// at once.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>
#include <thread>

#include "ledger/LedgerDate.h"
#include "ledger/RecordLine.h"

namespace orvo {

// ASCII letters folded, as the list's order compares them.
constexpr unsigned char foldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

inline std::string_view field0(std::string_view line) {
    return line.substr(0, line.find(kFieldSeparator));
}

inline constexpr std::size_t kBlockSize = 1024;  // lines per block after a split or a bulk load
inline constexpr std::size_t kMaxBlockSize = 2 * kBlockSize;

// The lines of the next block when `left` lines are cut into blocks:
// kBlockSize, the last up to twice that.
constexpr std::size_t nextBlockLength(std::size_t left) {
    return left >= 2 * kBlockSize ? kBlockSize : left;
}

// The day of a line whose field 0 is a date written "yyyy/mm/dd"
// (canonicalDayKey); -1 for other lines.
inline std::int32_t dayKey(std::string_view line) {
    if (line.size() > 10 && line[10] != kFieldSeparator) return -1;
    return canonicalDayKey(line.substr(0, 10));
}

// Lines of a canonical date share its ten bytes and the TAB after them.
inline constexpr std::size_t kDayKeyFrom = 11;

// Of lines that compare equal, the one added later stands first: a new line
// goes before those it equals (LedgerRecords::add), and every bulk add gives
// the same. Whether a line added at `a` stands before one added at `b`, when
// the first compares `order` to the second (compareRecordLines).
constexpr bool standsBefore(int order, std::size_t a, std::size_t b) {
    return order != 0 ? order < 0 : a > b;
}

// Runs `second` on a thread of its own while `first` runs on this one (two
// halves of the work of a large load); then rethrows what either threw.
template <class First, class Second>
void runSideBySide(First&& first, Second&& second) {
    std::exception_ptr failed;
    {
        std::jthread thread([&] {
            try {
                second();
            } catch (...) {
                failed = std::current_exception();
            }
        });
        first();
    }
    if (failed) std::rethrow_exception(failed);
}

}  // namespace orvo
