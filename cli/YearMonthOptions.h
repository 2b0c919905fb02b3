#pragma once
// The year and month options of `summary` and `budget`.

#include <optional>
#include <string>

namespace orvo::cli {

// A year of one to four digits (1 to 9999), or nothing.
std::optional<int> yearOption(const std::string& text);
// A month from 1 to 12 (one or two digits), or nothing.
std::optional<int> monthOption(const std::string& text);

}  // namespace orvo::cli
