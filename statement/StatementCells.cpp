#include "statement/StatementCells.h"

#include "base/Cp932.h"

namespace orvo::statement {

char detectSeparator(std::string_view line) {
    std::size_t commas = 0;
    std::size_t tabs = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); i += cp932::charLength(line, i)) {
        const char c = line[i];
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == ',') ++commas;
        if (c == '\t') ++tabs;
    }
    return tabs > commas ? '\t' : ',';
}

std::string_view trimBlanks(std::string_view text) {
    for (;;) {
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        else if (text.substr(0, 2) == "\x81\x40")
            text.remove_prefix(2);
        else
            break;
    }
    for (;;) {
        if (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        } else if (text.size() >= 2 && text.substr(text.size() - 2) == "\x81\x40" &&
                   // the last character really is the full-width blank, not a trail byte 0x81
                   cp932::charLength(text, text.size() - 2) == 2) {
            text.remove_suffix(2);
        } else {
            break;
        }
    }
    return text;
}

std::vector<std::string> splitCells(std::string_view line, char separator) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    bool wasQuoted = false;
    auto finish = [&] {
        cells.push_back(std::string(trimBlanks(cell)));
        cell.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t n = cp932::charLength(line, i);
        const char c = line[i];
        if (n == 1 && c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                i += 2;
                continue;
            }
            if (!quoted && std::string_view(trimBlanks(cell)).empty()) {
                cell.clear();
                quoted = wasQuoted = true;
            } else {
                quoted = false;
            }
            ++i;
            continue;
        }
        if (n == 1 && c == separator && !quoted) {
            finish();
            ++i;
            continue;
        }
        if (!(wasQuoted && !quoted && (c == ' ' || c == '\t'))) cell.append(line.substr(i, n));
        i += n;
    }
    finish();
    return cells;
}

}  // namespace orvo::statement
