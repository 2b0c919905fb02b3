#include "forms/print/PagePainter.h"

#include <variant>

#include "platform/Fonts.h"
#include "platform/Text.h"
#include "print/PageTarget.h"

namespace orvo::forms {

namespace {

constexpr double kTenthsOfMmPerInch = 254.0;

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

// The operations in page units; the painter's transform maps them to the device.
void replay(QPainter& painter, const print::Page& page, const PrintFontMetrics& metrics) {
    QPen thin(Qt::black);
    thin.setWidth(0);  // cosmetic: one device pixel whatever the scale
    painter.setPen(thin);
    print::PrintFont font;
    for (const print::PageOp& op : page.ops) {
        std::visit(
            Overloaded{
                [&](const print::SelectFontOp& o) {
                    font = o.font;
                    painter.setFont(printQFont(font));
                },
                [&](const print::TextOp& o) {
                    const QString text = platform::yenForDisplay(platform::fromCp932(o.text));
                    painter.drawText(QPointF(o.x, o.y + metrics.ascent(font)), text);
                },
                [&](const print::LineOp& o) { painter.drawLine(QLineF(o.x1, o.y1, o.x2, o.y2)); },
                [&](const print::RectOp& o) {
                    painter.setBrush(QColor(o.fill.red, o.fill.green, o.fill.blue));
                    painter.drawRect(QRectF(o.left, o.top, o.right - o.left, o.bottom - o.top));
                    painter.setBrush(Qt::NoBrush);
                },
            },
            op);
    }
}

}  // namespace

void paintPreviewPage(QPainter& painter, const print::Page& page,
                      print::PageOrientation orientation, const PrintFontMetrics& metrics) {
    const QRect image = painter.viewport();
    painter.fillRect(image, Qt::white);
    if (page.width <= 0 || page.height <= 0) return;
    const print::PixelSize rect = print::previewPageRect(
        orientation, {image.width(), image.height()}, page.width, page.height);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(static_cast<double>(rect.width) / page.width,
                  static_cast<double>(rect.height) / page.height);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(0, 0, page.width, page.height));
    painter.setBrush(Qt::NoBrush);
    replay(painter, page, metrics);
    painter.restore();
}

void paintPaperPage(QPainter& painter, const print::Page& page, const PrintFontMetrics& metrics) {
    const double devicePerUnit = painter.device()->logicalDpiX() / kTenthsOfMmPerInch;
    painter.save();
    painter.translate(print::kPrinterOriginX, print::kPrinterOriginY);
    painter.scale(devicePerUnit, painter.device()->logicalDpiY() / kTenthsOfMmPerInch);
    replay(painter, page, metrics);
    painter.restore();
}

}  // namespace orvo::forms
