#pragma once
// The search's text rules: the matching of a keyword in a record line, the
// result line shown for a record, and the replace of the bulk replace.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// Every byte from 0x61 to 0x7A becomes the byte 0x20 lower, wherever it
// stands, the second byte of a double-byte character included.
std::string upperCaseBytes(std::string_view text);

// Whether a record line contains the keyword: both upper-cased byte by byte,
// the keyword found starting at a character boundary of the line. The whole
// line counts, TABs included; an empty keyword is found nowhere.
class KeywordMatcher {
public:
    explicit KeywordMatcher(std::string_view keyword);
    bool matches(std::string_view line) const;
    // The indexes of the lines that match, in order: the same rule applied to
    // many lines at once, which is what makes a pass over the ledger fast.
    std::vector<std::size_t> matchingLines(std::span<const std::string_view> lines) const;

private:
    std::string key_;             // upper-cased
    mutable std::string folded_;  // the lines upper-cased, each ended by LF; reused, only grows
    mutable std::vector<std::size_t> starts_;  // where each line begins in folded_
};

// The line the result list shows for a record: every field but the last
// followed by TAB and five blanks.
std::string resultLineOf(std::string_view recordLine);

// Field 0 of a result line (up to its first TAB).
std::string_view dateFieldOfResultLine(std::string_view resultLine);

// `line` with every occurrence of `keyword` replaced by `newText`, found from
// left to right at character boundaries without overlapping; the inserted
// text is not searched again. ASCII letters match regardless of case (the
// second byte of a double-byte character must be equal). An empty keyword
// occurs nowhere.
std::string replaceIgnoringAsciiCase(std::string_view line, std::string_view keyword,
                                     std::string_view newText);

}  // namespace orvo
