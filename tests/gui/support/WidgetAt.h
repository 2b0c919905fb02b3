#pragma once
// Mouse input delivered as the window system delivers it: to the widget that
// is at the spot on the screen, whatever floats over the one a test means.

#include <QEvent>
#include <QPoint>
#include <QWidget>

namespace orvo::testing {

// The deepest visible widget of `window` at `global`, or `window` itself.
QWidget* widgetAt(QWidget* window, const QPoint& global);

// Sends a left-button event of `type` (press, release, double click, move) to
// the widget at `global`; returns the widget that got it.
QWidget* pressAt(QWidget* window, const QPoint& global, QEvent::Type type,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace orvo::testing
