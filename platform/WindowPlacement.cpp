#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace orvo::platform {

void centreOnScreen(QWidget* window) {
    const QScreen* desktop = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!desktop) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(desktop->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace orvo::platform
