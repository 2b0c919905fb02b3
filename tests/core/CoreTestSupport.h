#pragma once
// Small helpers shared by the core tests.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "base/OrvoError.h"
#include "ledger/LedgerRecords.h"

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

}  // namespace orvo
