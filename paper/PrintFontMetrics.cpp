#include "paper/PrintFontMetrics.h"

#include <cmath>

#include "base/Cp932.h"
#include "platform/Fonts.h"
#include "platform/Text.h"

namespace orvo::paper {

namespace {

constexpr double kTenthsOfMmPerInch = 254.0;

double devicePixelsOf(int tenthsOfMm) {
    return tenthsOfMm * kReferenceDpi / kTenthsOfMmPerInch;
}

int tenthsOfMmOf(double devicePixels) {
    return static_cast<int>(std::lround(devicePixels * kTenthsOfMmPerInch / kReferenceDpi));
}

QString faceName(print::FontFace face) {
    return face == print::FontFace::Mincho ? platform::paperMinchoFaceName()
                                           : platform::paperGothicFaceName();
}

}  // namespace

QFont printQFont(const print::PrintFont& font) {
    QFont q(faceName(font.face));
    q.setPixelSize(std::max(1, font.height));
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setStyleStrategy(QFont::PreferOutline);
    return q;
}

PrintFontMetrics::Face& PrintFontMetrics::face(const print::PrintFont& font) const {
    const auto key = std::make_pair(static_cast<int>(font.face), font.height);
    auto found = faces_.find(key);
    if (found != faces_.end()) return found->second;
    Face f;
    QFont q(faceName(font.face));
    q.setHintingPreference(QFont::PreferNoHinting);
    f.raw = QRawFont::fromFont(q);
    f.raw.setPixelSize(devicePixelsOf(font.height));
    f.devicePixels.assign(0x10000, -1);
    return faces_.emplace(key, std::move(f)).first->second;
}

int PrintFontMetrics::advanceOf(Face& f, unsigned code, std::string_view character) const {
    int& known = f.devicePixels[code];
    if (known >= 0) return known;
    // The backslash is measured as itself: half-width, as the yen sign it stands for.
    const QString text = platform::fromCp932(character);
    const QList<quint32> glyphs = f.raw.glyphIndexesForString(text);
    double advance = 0;
    for (const QPointF& a : f.raw.advancesForGlyphIndexes(glyphs)) advance += a.x();
    known = static_cast<int>(std::lround(advance));
    return known;
}

int PrintFontMetrics::width(const print::PrintFont& font, std::string_view text) const {
    Face& f = face(font);
    long devicePixels = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = cp932::charLength(text, pos);
        const auto lead = static_cast<unsigned char>(text[pos]);
        const unsigned code =
            length == 2 ? (lead << 8) | static_cast<unsigned char>(text[pos + 1]) : lead;
        devicePixels += advanceOf(f, code, text.substr(pos, length));
        pos += length;
    }
    return tenthsOfMmOf(static_cast<double>(devicePixels));
}

// One em: the faces the program names have cells exactly one em high, while
// the IPA faces standing in for them add a line gap below (about 0.1 em) that
// would cost a page five lines.
int PrintFontMetrics::height(const print::PrintFont& font, std::string_view) const {
    return tenthsOfMmOf(std::round(devicePixelsOf(font.height)));
}

double PrintFontMetrics::ascent(const print::PrintFont& font) const {
    return face(font).raw.ascent() * kTenthsOfMmPerInch / kReferenceDpi;
}

}  // namespace orvo::paper
