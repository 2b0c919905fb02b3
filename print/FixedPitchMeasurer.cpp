#include "base/Cp932.h"
#include "print/TextMeasurer.h"

namespace orvo::print {

int FixedPitchMeasurer::width(const PrintFont& font, std::string_view text) const {
    int total = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = cp932::charLength(text, pos);
        total += length == 2 ? font.height : font.height / 2;
        pos += length;
    }
    return total;
}

int FixedPitchMeasurer::height(const PrintFont& font, std::string_view) const {
    return font.height;
}

}  // namespace orvo::print
