#include "forms/main/MenuVisibility.h"

#include <QActionEvent>

namespace orvo::forms {

namespace {

class EmptyMenuHider : public QObject {
public:
    explicit EmptyMenuHider(QMenu* menu) : QObject(menu), menu_(menu) { update(nullptr); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == menu_ && event->type() == QEvent::ActionAdded) update(nullptr);
        if (watched == menu_ && event->type() == QEvent::ActionRemoved)
            update(static_cast<QActionEvent*>(event)->action());
        return false;
    }

private:
    // ActionRemoved arrives while `leaving` is still in the list.
    void update(const QAction* leaving) {
        int visible = 0;
        for (QAction* a : menu_->actions()) visible += a->isSeparator() || a == leaving ? 0 : 1;
        menu_->menuAction()->setVisible(visible > 0);
    }

    QMenu* menu_;
};

}  // namespace

void hideWhileEmpty(QMenu* menu) {
    menu->installEventFilter(new EmptyMenuHider(menu));
}

}  // namespace orvo::forms
