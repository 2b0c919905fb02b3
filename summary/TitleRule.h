#pragma once
// Which level-1 title a record counts under, for every total by title: the
// listed title its field 1 names, else the title it names as it stands, so
// that totals by title always add up to the ledger's.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvo::summary {

// Whether `needle` stands in `haystack` starting and ending on whole characters.
bool containsWholeCharacters(std::string_view haystack, std::string_view needle);

// Titles met in records, numbered as they are met: the listed titles first (in
// list order, each its own number even when listed twice), then every title
// the list lacks. A record's field 1 counts under:
//   - the first listed title equal to it;
//   - else the first listed title found inside it (whole characters; an
//     empty listed title is found nowhere);
//   - else itself, an unlisted title (an empty field 1 too).
class TitleRule {
public:
    explicit TitleRule(std::vector<std::string> listed);

    // The number of the title `field1` counts under; unlisted titles get the
    // next number when first met.
    std::size_t titleOf(std::string_view field1);

    std::size_t listedCount() const { return listedCount_; }
    std::size_t size() const { return titles_.size(); }
    const std::string& title(std::size_t number) const { return titles_[number]; }

    // The numbers in the order titles are shown: the listed ones in list
    // order, then the unlisted ones in byte order of their names.
    std::vector<std::size_t> shownOrder() const;

private:
    std::size_t classify(std::string_view field1) const;

    std::vector<std::string> titles_;
    std::size_t listedCount_;
    // Every field 1 met, with its title: records repeat a few titles.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> known_;
};

// The order of `names` that shows listed ones first in `listed` order and the
// rest after them in byte order: the level-2 titles under one level-1 title.
std::vector<std::size_t> listedFirstOrder(const std::vector<std::string>& names,
                                          const std::vector<std::string>& listed);

}  // namespace orvo::summary
