#include "paper/PagePainter.h"

#include <variant>

#include "base/Cp932.h"
#include "platform/Text.h"
#include "print/PageTarget.h"

namespace orvo::paper {

namespace {

constexpr double kTenthsOfMmPerInch = 254.0;

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
// Clang 14 does not deduce an aggregate's arguments by itself.
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// A text at its top-left corner. The backslash stands for the yen sign, which
// the program's faces draw half-width in its place; the IPA faces' yen sign is
// full-width, so it is drawn squeezed into the backslash's half-width cell.
void drawText(QPainter& painter, const print::TextOp& op, const print::PrintFont& font,
              const PrintFontMetrics& metrics) {
    const double baseline = op.y + metrics.ascent(font);
    std::string_view rest = op.text;
    int x = op.x;
    while (!rest.empty()) {
        std::size_t cut = 0;
        while (cut < rest.size() && rest[cut] != '\\') cut += cp932::charLength(rest, cut);
        const std::string_view run = rest.substr(0, cut);
        if (!run.empty()) {
            painter.drawText(QPointF(x, baseline), platform::fromCp932(run));
            x += metrics.width(font, run);
        }
        if (cut == rest.size()) break;
        const int cell = metrics.width(font, "\\");
        painter.save();
        painter.translate(x, baseline);
        painter.scale(static_cast<double>(cell) / font.height, 1.0);
        painter.drawText(QPointF(0, 0), QString(QChar(0x00A5)));
        painter.restore();
        x += cell;
        rest.remove_prefix(cut + 1);
    }
}

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
                [&](const print::TextOp& o) { drawText(painter, o, font, metrics); },
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

}  // namespace orvo::paper
