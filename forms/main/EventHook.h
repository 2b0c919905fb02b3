#pragma once
// An event filter made of one function, so that each filter of a window does
// one job and says which.

#include <QObject>
#include <functional>
#include <initializer_list>
#include <utility>

namespace orvo::forms {

class EventHook : public QObject {
public:
    // True from the handler swallows the event.
    using Handler = std::function<bool(QObject* watched, QEvent* event)>;

    // A hook owned by `owner`, installed on each of `watched`.
    static EventHook* install(QObject* owner, std::initializer_list<QObject*> watched,
                              Handler handler) {
        auto* hook = new EventHook(owner, std::move(handler));
        for (QObject* object : watched) object->installEventFilter(hook);
        return hook;
    }

    bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

private:
    EventHook(QObject* owner, Handler handler) : QObject(owner), handler_(std::move(handler)) {}

    Handler handler_;
};

}  // namespace orvo::forms
