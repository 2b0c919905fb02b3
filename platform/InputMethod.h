#pragma once
// The input-method switch: off, or on in Hiragana mode.
//
// On Linux, Qt cannot switch an input method (ibus, fcitx) on or off or choose
// its conversion mode. The switch therefore sets the widget's input-method
// hints: "off" asks for Latin input (Qt::ImhPreferLatin, which fcitx5 and ibus
// honour by starting in direct input where they support it) and "Hiragana"
// clears that request; either way a half-typed composition is cancelled. The
// user's own toggle key keeps working, since the hints are only advice.

#include <QWidget>

namespace orvo::platform {

enum class InputMode { Off, Hiragana };

void setInputMode(QWidget* widget, InputMode mode);

// The mode last set on `widget` (from its hints).
InputMode inputModeOf(const QWidget* widget);

}  // namespace orvo::platform
