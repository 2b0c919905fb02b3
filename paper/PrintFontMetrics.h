#pragma once
// The print fonts as Qt draws them: "ＭＳ 明朝" and "ＭＳ ゴシック" (the IPA
// fonts, platform/Fonts), measured as a 1,200 dpi printer measures them, so
// that preview, paper and PDF lay out alike on every screen.

#include <QFont>
#include <QRawFont>
#include <map>
#include <utility>
#include <vector>

#include "print/TextMeasurer.h"

namespace orvo::paper {

// The reference device's resolution.
inline constexpr int kReferenceDpi = 1200;

// The face at `height` 0.1 mm units, unhinted, so that it scales evenly onto
// a painter whose unit is 0.1 mm.
QFont printQFont(const print::PrintFont& font);

// Heights are one em (see height()). Widths are the sum of the characters' advances rounded to
// whole device pixels, as a printer reports them; both faces are fixed-pitch, so nothing is kerned.
// Each character is measured once per font and kept.
class PrintFontMetrics final : public print::TextMeasurer {
public:
    int width(const print::PrintFont& font, std::string_view text) const override;
    int height(const print::PrintFont& font, std::string_view text) const override;
    // The distance from a text's top to its baseline, 0.1 mm (fractional).
    double ascent(const print::PrintFont& font) const;

private:
    struct Face {
        QRawFont raw;                   // at the reference device's pixel size
        std::vector<int> devicePixels;  // per CP932 code; -1 until measured
    };
    Face& face(const print::PrintFont& font) const;
    int advanceOf(Face& face, unsigned code, std::string_view character) const;

    mutable std::map<std::pair<int, int>, Face> faces_;
};

}  // namespace orvo::paper
