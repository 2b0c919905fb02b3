#include "platform/InputMethod.h"

#include <QGuiApplication>
#include <QInputMethod>

namespace orvo::platform {

void setInputMode(QWidget* widget, InputMode mode) {
    if (!widget) return;
    Qt::InputMethodHints hints = widget->inputMethodHints();
    if (mode == InputMode::Off)
        hints |= Qt::ImhPreferLatin;
    else
        hints &= ~Qt::ImhPreferLatin;
    widget->setInputMethodHints(hints);
    if (widget->hasFocus()) {
        QGuiApplication::inputMethod()->reset();
        QGuiApplication::inputMethod()->update(Qt::ImHints);
    }
}

InputMode inputModeOf(const QWidget* widget) {
    return widget && (widget->inputMethodHints() & Qt::ImhPreferLatin) ? InputMode::Off
                                                                       : InputMode::Hiragana;
}

}  // namespace orvo::platform
