#include "ledger/RecordLine.h"

namespace orvo {

void splitRecordInto(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find(kFieldSeparator, start);
        if (tab == std::string_view::npos) {
            fields.emplace_back(line.substr(start));
            return;
        }
        fields.emplace_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

std::string PackLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += kPackedLineBreak;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += kPackedLineBreak;
        } else if (c == kFieldSeparator) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnpackLineBreaks(std::string_view field) {
    std::string out;
    out.reserve(field.size() + 8);
    for (char c : field) {
        if (c == kPackedLineBreak)
            out += "\r\n";
        else
            out += c;
    }
    return out;
}

}  // namespace orvo
