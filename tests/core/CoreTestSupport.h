#pragma once
// Small helpers shared by the core tests.

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

// Every record line, in list order.
inline std::vector<std::string> recordLines(const LedgerRecords& records) {
    std::vector<std::string> out;
    records.forEach([&](std::string_view l) { out.emplace_back(l); });
    return out;
}

}  // namespace orvo
