#include "print/FieldWrap.h"

#include "base/Cp932.h"
#include "ledger/RecordLine.h"

namespace orvo::print {

int wrapField(std::string_view field, int columnWidth, int charWidth, const PrintFont& font,
              const TextMeasurer& measurer, std::vector<std::string>* lines) {
    const int limit = columnWidth - charWidth;
    // Most fields fit on one line: one measurement instead of one per character.
    if (field.find(kPackedLineBreak) == std::string_view::npos) {
        if (field.empty()) return 0;
        if (measurer.width(font, field) <= limit) {
            if (lines) lines->emplace_back(field);
            return 1;
        }
    }
    int count = 0;
    std::size_t start = 0;
    std::size_t pos = 0;
    auto endLine = [&](std::size_t end) {
        if (lines) lines->emplace_back(field.substr(start, end - start));
        ++count;
    };
    while (pos < field.size()) {
        if (count == kMaxFieldLines) {
            if (lines) lines->back() += "…";
            return count;
        }
        if (field[pos] == kPackedLineBreak) {
            endLine(pos);
            start = ++pos;
            continue;
        }
        pos += cp932::charLength(field, pos);
        if (measurer.width(font, field.substr(start, pos - start)) > limit) {
            endLine(pos);
            start = pos;
        }
    }
    if (start < pos) endLine(pos);
    return count;
}

}  // namespace orvo::print
