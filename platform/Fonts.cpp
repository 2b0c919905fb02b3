#include "platform/Fonts.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace orvo::platform {

QString screenFaceName() {
    return u"ＭＳ Ｐゴシック"_s;
}
QString paperMinchoFaceName() {
    return u"ＭＳ 明朝"_s;
}
QString paperGothicFaceName() {
    return u"ＭＳ ゴシック"_s;
}

void installFontSubstitutions() {
    // Proportional Gothic for the screen, fixed-pitch faces for paper, as the
    // original faces are. Both spellings of each IPA family are listed, as
    // fontconfig reports either depending on the locale.
    QFont::insertSubstitutions(
        screenFaceName(), {u"IPAPGothic"_s, u"IPA Pゴシック"_s, u"IPAGothic"_s, u"IPAゴシック"_s});
    QFont::insertSubstitutions(paperMinchoFaceName(), {u"IPAMincho"_s, u"IPA明朝"_s});
    QFont::insertSubstitutions(paperGothicFaceName(), {u"IPAGothic"_s, u"IPAゴシック"_s});
}

QFont screenFont(int pixelSize) {
    QFont font(screenFaceName());
    font.setPixelSize(pixelSize);
    return font;
}

QString yenForDisplay(QString text) {
    return text.replace(u'\\', QChar(0x00A5));
}

}  // namespace orvo::platform
