#pragma once
// A page's drawing operations as text lines, for scripts and tests (UTF-8):
//   page N
//   text X Y FACE HEIGHT TEXT    (FACE mincho or gothic; the font last selected)
//   line X1 Y1 X2 Y2
//   rect LEFT TOP RIGHT BOTTOM R,G,B    (filled with that colour, outlined black)
// The backslash is written as the yen sign the Japanese print fonts show for it.

#include <string>
#include <vector>

#include "print/PageOps.h"

namespace orvo::print {

std::vector<std::string> traceLines(const Page& page);

}  // namespace orvo::print
