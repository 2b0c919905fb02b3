// The budget file "予算.txt", parsed from memory and read from a file, which
// must give the same budgets, and the file a save writes of them.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFiles.h"
#include "base/OrvoError.h"
#include "summary/Budgets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const orvo::summary::ParsedBudgets parsed = orvo::summary::parseBudgets(bytes);

    static const std::string path = orvo::fuzz::scratchFolder() + "/budgets.txt";
    orvo::fuzz::writeFile(path, bytes);
    std::vector<orvo::summary::Budget> read;
    try {
        orvo::summary::ReadBudgets(read, path);
        if (parsed.firstBadLine != 0) std::abort();  // a bad line must be reported
    } catch (const orvo::OrvoError&) {
        if (parsed.firstBadLine == 0) std::abort();
    }
    if (read != parsed.budgets) std::abort();
    // Budgets as read are budgets a save writes back unchanged.
    if (orvo::summary::parseBudgets(orvo::summary::budgetFileText(parsed.budgets)).budgets !=
        parsed.budgets)
        std::abort();
    return 0;
}
