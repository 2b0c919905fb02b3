#pragma once
// Wrapping a record field into the lines it prints on.

#include <string>
#include <string_view>
#include <vector>

#include "print/PageOps.h"
#include "print/TextMeasurer.h"

namespace orvo::print {

inline constexpr int kMaxFieldLines = 20;

// Wraps `field` (CP932) for a column `columnWidth` wide, in `font`: ESC ends a
// line (an empty one too) and is not drawn; any other character is added to the
// line, which ends after it once the line is wider than columnWidth - charWidth.
// A double-byte character is never split. A field that would wrap past
// kMaxFieldLines lines keeps the first ones, the last ending in an ellipsis.
// Appends the lines to `lines` unless it is null; returns their count.
int wrapField(std::string_view field, int columnWidth, int charWidth, const PrintFont& font,
              const TextMeasurer& measurer, std::vector<std::string>* lines);

}  // namespace orvo::print
