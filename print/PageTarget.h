#pragma once
// Where a laid-out page goes: scaled into the preview image, or replayed at
// natural size (1 unit = 0.1 mm) on the printer page.

#include "print/PrintSettings.h"

namespace orvo::print {

// The printer replays a page with its top-left corner at this device point.
inline constexpr int kPrinterOriginX = -20;
inline constexpr int kPrinterOriginY = -60;

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The preview image: 700 x Trunc(700 x 1.41) for portrait, turned for landscape.
PixelSize previewImageSize(PageOrientation orientation);

// The rectangle from (0, 0) a page of pageWidth x pageHeight is scaled into:
// the image's width and Trunc(width x H / W) for portrait, Trunc(height x W / H)
// and the image's height for landscape, the ratio held in single precision.
PixelSize previewPageRect(PageOrientation orientation, PixelSize image, int pageWidth,
                          int pageHeight);

}  // namespace orvo::print
