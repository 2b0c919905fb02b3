#pragma once
// Replays a laid-out page (print/PageOps.h, 0.1 mm units) with a QPainter:
// scaled into the preview image, or at natural size on a printer or PDF page.

#include <QPainter>

#include "paper/PrintFontMetrics.h"
#include "print/PageOps.h"
#include "print/PrintSettings.h"

class QPagedPaintDevice;

namespace orvo::paper {

// The preview: the image cleared, the page white with a thin black border,
// scaled into the rectangle from (0, 0) that previewPageRect gives.
void paintPreviewPage(QPainter& painter, const print::Page& page,
                      print::PageOrientation orientation, const PrintFontMetrics& metrics);

// Paper: 1 unit = 0.1 mm, the page's top-left at the device point (-20, -60)
// of the printer page, as the printer's own margins expect.
void paintPaperPage(QPainter& painter, const print::Page& page, const PrintFontMetrics& metrics);

}  // namespace orvo::paper
