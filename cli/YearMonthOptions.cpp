#include "cli/YearMonthOptions.h"

namespace orvo::cli {

namespace {

std::optional<int> numberOption(const std::string& text, std::size_t maxDigits, int low, int high) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int> yearOption(const std::string& text) {
    return numberOption(text, 4, 1, 9999);
}

std::optional<int> monthOption(const std::string& text) {
    return numberOption(text, 2, 1, 12);
}

}  // namespace orvo::cli
