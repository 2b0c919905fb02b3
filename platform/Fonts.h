#pragma once
// The Japanese face names the program asks for, mapped onto the IPA fonts that
// Debian ships, so that screen and paper use the faces the program names.

#include <QFont>
#include <QString>

namespace orvo::platform {

// The screen face ("ＭＳ Ｐゴシック") and the two paper faces.
QString screenFaceName();
QString paperMinchoFaceName();
QString paperGothicFaceName();

// Registers the substitution table with Qt's font matching. Call once after
// the application object exists; calling again does no harm.
void installFontSubstitutions();

// The screen face at `pixelSize` pixels.
QFont screenFont(int pixelSize);

// The totals are formatted with a backslash that the Japanese system font
// draws as the yen sign; the IPA fonts draw a real backslash, so labels on
// screen show the yen sign itself.
QString yenForDisplay(QString text);

}  // namespace orvo::platform
