#include "support/WidgetAt.h"

#include <QApplication>
#include <QMouseEvent>

namespace orvo::testing {

QWidget* widgetAt(QWidget* window, const QPoint& global) {
    // A pop-up (a drop-down list, a menu) takes the mouse while it is open.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        QWidget* child = popup->childAt(popup->mapFromGlobal(global));
        return child ? child : popup;
    }
    QWidget* child = window->childAt(window->mapFromGlobal(global));
    return child ? child : window;
}

QWidget* pressAt(QWidget* window, const QPoint& global, QEvent::Type type,
                 Qt::KeyboardModifiers modifiers) {
    QWidget* target = widgetAt(window, global);
    const QPoint local = target->mapFromGlobal(global);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), QPointF(global), button, held, modifiers);
    QApplication::sendEvent(target, &event);
    return target;
}

}  // namespace orvo::testing
