#pragma once
// Small helpers shared by the core tests.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/OrvoError.h"
#include "ledger/LedgerRecords.h"
#include "support/ScratchFolder.h"

namespace orvo {

// The message of the OrvoError `f` throws, or "" when it throws none.
template <class F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const OrvoError& e) {
        return e.what();
    }
    return {};
}

// A file's bytes, or "" when it cannot be read.
inline std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// Every record line, in list order.
inline std::vector<std::string> recordLines(const LedgerRecords& records) {
    std::vector<std::string> out;
    records.forEach([&](std::string_view l) { out.emplace_back(l); });
    return out;
}

// The orders in which a ledger's record lines may stand in its file.
enum class LineOrder {
    Sorted,              // as the program saves them
    ShuffledWithinDays,  // days in order, each day's lines in any order
    Reversed,
    Random,
};
inline constexpr LineOrder kLineOrders[] = {LineOrder::Sorted, LineOrder::ShuffledWithinDays,
                                            LineOrder::Reversed, LineOrder::Random};

inline const char* orderName(LineOrder order) {
    switch (order) {
        case LineOrder::Sorted:
            return "sorted";
        case LineOrder::ShuffledWithinDays:
            return "shuffled within days";
        case LineOrder::Reversed:
            return "reversed";
        case LineOrder::Random:
            return "random";
    }
    return "";
}

// Puts record lines into `order` (by their bytes; days by their first ten).
inline void arrange(std::vector<std::string>& lines, LineOrder order, std::mt19937& rng) {
    if (order == LineOrder::Random) {
        std::shuffle(lines.begin(), lines.end(), rng);
        return;
    }
    std::sort(lines.begin(), lines.end());
    if (order == LineOrder::Reversed) std::reverse(lines.begin(), lines.end());
    if (order != LineOrder::ShuffledWithinDays) return;
    for (auto day = lines.begin(); day != lines.end();) {
        auto next = std::find_if(day, lines.end(), [&](const std::string& l) {
            return l.compare(0, 10, *day, 0, 10) != 0;
        });
        std::shuffle(day, next, rng);
        day = next;
    }
}

}  // namespace orvo
