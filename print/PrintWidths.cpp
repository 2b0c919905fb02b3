#include "print/PrintWidths.h"

#include <algorithm>

#include "base/Amount.h"
#include "base/OrvoError.h"
#include "print/PageGeometry.h"

namespace orvo::print {

std::vector<int> printWidthsFromRows(const std::vector<std::string>& rows) {
    const std::size_t used = std::min<std::size_t>(rows.size(), kPrintedColumns - 1);
    std::vector<int> widths;
    for (std::size_t i = 0; i < used; ++i) {
        const int width = amountOrThrow(rows[i]);
        if (width < kMinPrintWidth || width > kMaxPrintWidth)
            throw notAnIntegerWithin(rows[i], kMinPrintWidth, kMaxPrintWidth);
        widths.push_back(width);
    }
    return widths;
}

}  // namespace orvo::print
