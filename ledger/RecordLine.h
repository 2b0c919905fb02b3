#pragma once
// The record line: TAB-separated fields, the date first; line breaks held as ESC.

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

inline constexpr char kFieldSeparator = '\t';
inline constexpr char kPackedLineBreak = '\x1B';

// Cuts `line` at every TAB into `fields` (emptied first): k TABs give k + 1 fields.
void splitRecordInto(std::string_view line, std::vector<std::string>& fields);

// Every line break of the cell text (CR LF, and a lone CR or LF, which are
// taken as line breaks too) becomes ESC; a TAB, which would cut the record,
// becomes a blank.
std::string PackLineBreaks(std::string_view text);

// Every ESC becomes CR LF.
std::string UnpackLineBreaks(std::string_view field);

}  // namespace orvo
