#include "print/PageTarget.h"

namespace orvo::print {

namespace {
constexpr int kPreviewShortSide = 700;
constexpr int kPreviewLongSide = kPreviewShortSide * 141 / 100;  // Trunc(700 x 1.41) = 987

int scaled(int length, int numerator, int denominator) {
    if (denominator == 0) return 0;
    const float ratio = static_cast<float>(numerator) / static_cast<float>(denominator);
    return static_cast<int>(static_cast<double>(length) * static_cast<double>(ratio));
}
}  // namespace

PixelSize previewImageSize(PageOrientation orientation) {
    if (orientation == PageOrientation::Portrait) return {kPreviewShortSide, kPreviewLongSide};
    return {kPreviewLongSide, kPreviewShortSide};
}

PixelSize previewPageRect(PageOrientation orientation, PixelSize image, int pageWidth,
                          int pageHeight) {
    if (orientation == PageOrientation::Portrait)
        return {image.width, scaled(image.width, pageHeight, pageWidth)};
    return {scaled(image.height, pageWidth, pageHeight), image.height};
}

}  // namespace orvo::print
