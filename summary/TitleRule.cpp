#include "summary/TitleRule.h"

#include <algorithm>
#include <numeric>

#include "base/Cp932.h"

namespace orvo::summary {

bool containsWholeCharacters(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return false;
    for (std::size_t pos = 0; pos + needle.size() <= haystack.size();
         pos += cp932::charLength(haystack, pos)) {
        if (haystack.compare(pos, needle.size(), needle) != 0) continue;
        std::size_t end = pos;
        while (end < pos + needle.size()) end += cp932::charLength(haystack, end);
        if (end == pos + needle.size()) return true;
    }
    return false;
}

TitleRule::TitleRule(std::vector<std::string> listed)
    : titles_(std::move(listed)), listedCount_(titles_.size()) {}

std::size_t TitleRule::classify(std::string_view field1) const {
    const auto listedEnd = titles_.begin() + static_cast<std::ptrdiff_t>(listedCount_);
    auto found = std::find(titles_.begin(), listedEnd, field1);
    if (found == listedEnd)
        found = std::find_if(titles_.begin(), listedEnd, [&](const std::string& t) {
            return containsWholeCharacters(field1, t);
        });
    return static_cast<std::size_t>(found - titles_.begin());  // listedCount_: none
}

std::size_t TitleRule::titleOf(std::string_view field1) {
    if (auto known = known_.find(field1); known != known_.end()) return known->second;
    std::size_t number = classify(field1);
    if (number == listedCount_) {
        // Unlisted: the same name met again under another field 1 cannot
        // happen, as an unlisted title is its field 1.
        number = titles_.size();
        titles_.emplace_back(field1);
    }
    known_.emplace(std::string(field1), number);
    return number;
}

std::vector<std::size_t> TitleRule::shownOrder() const {
    std::vector<std::size_t> order(titles_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin() + static_cast<std::ptrdiff_t>(listedCount_), order.end(),
              [&](std::size_t a, std::size_t b) { return titles_[a] < titles_[b]; });
    return order;
}

std::vector<std::size_t> listedFirstOrder(const std::vector<std::string>& names,
                                          const std::vector<std::string>& listed) {
    const auto rank = [&](std::size_t i) {
        return static_cast<std::size_t>(std::find(listed.begin(), listed.end(), names[i]) -
                                        listed.begin());
    };
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::size_t ra = rank(a);
        const std::size_t rb = rank(b);
        if (ra != rb) return ra < rb;
        return ra == listed.size() && names[a] < names[b];
    });
    return order;
}

}  // namespace orvo::summary
