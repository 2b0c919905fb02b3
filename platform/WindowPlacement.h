#pragma once
// Where a window first appears.

class QWidget;

namespace orvo::platform {

// Centres `window` on the available area of its screen, as the desktop places
// a window that asks to start in the middle.
void centreOnScreen(QWidget* window);

}  // namespace orvo::platform
