#include "app/FirstPaintTrace.h"

#include <chrono>
#include <cstdio>

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace orvo::app {

namespace {

class FirstPaintTrace : public QObject {
public:
    FirstPaintTrace(QWidget& mainWindow, QWidget& grid) : QObject(&grid), window_(&mainWindow) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        watched->removeEventFilter(this);
        // The paint is about to run; the window reaches the screen once the
        // pass it belongs to has been flushed, before the next timer fires.
        QTimer::singleShot(0, this, [this] {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
            const QByteArray caption = window_ ? window_->windowTitle().toUtf8() : QByteArray();
            std::fprintf(stderr, "first-paint %lld %s\n", ns, caption.constData());
            std::fflush(stderr);
        });
        return false;
    }

private:
    QPointer<QWidget> window_;
};

}  // namespace

void traceFirstPaintIfAsked(QWidget& mainWindow) {
    if (qEnvironmentVariableIsEmpty("ORVO_TRACE_FIRST_PAINT")) return;
    auto* grid = mainWindow.findChild<QAbstractScrollArea*>(u"StringGrid1"_s);
    if (!grid) return;
    grid->viewport()->installEventFilter(new FirstPaintTrace(mainWindow, *grid->viewport()));
}

}  // namespace orvo::app
