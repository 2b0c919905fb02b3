#pragma once
// How wide and high a CP932 text stands in a print font, in 0.1 mm. The window
// layer measures with the real fonts; tests and `--metrics fixed` use the
// fixed-pitch measurer.

#include <string_view>

#include "print/PageOps.h"

namespace orvo::print {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int width(const PrintFont& font, std::string_view text) const = 0;
    virtual int height(const PrintFont& font, std::string_view text) const = 0;
};

// A double-byte character is as wide as the font is high, a single-byte
// character half that (integer division); every text is the font's height high.
class FixedPitchMeasurer final : public TextMeasurer {
public:
    int width(const PrintFont& font, std::string_view text) const override;
    int height(const PrintFont& font, std::string_view text) const override;
};

}  // namespace orvo::print
