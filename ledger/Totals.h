#pragma once
// The numbers the six totals labels display. The balances are derived.

#include <cstdint>

namespace orvo {

struct Totals {
    std::int32_t dayOut = 0;
    std::int32_t dayIn = 0;
    std::int32_t allOut = 0;
    std::int32_t allIn = 0;
    std::int32_t dayZan() const;
    std::int32_t allZan() const;
    bool operator==(const Totals&) const = default;
};

}  // namespace orvo
