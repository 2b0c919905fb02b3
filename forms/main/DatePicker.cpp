#include "forms/main/DatePicker.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QKeyEvent>

namespace orvo::forms {

DatePicker::~DatePicker() {
    // A date typed into the calendar waits a moment before it lands, and Qt
    // frees what holds it only when it lands or is cancelled: a calendar that
    // goes away first would leak it. Escape cancels it; sent as a release, it
    // does nothing else when no date is being typed.
    const auto* calendar = findChild<QCalendarWidget*>();
    if (!calendar) return;
    if (auto* view =
            calendar->findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"))) {
        QKeyEvent escape(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &escape);
    }
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    // Qt moves to the next section once one is full, and a typed separator
    // moves once more: "2026/11/20" would put the day into the month's place.
    const QString text = event->text();
    if (movedOnByTyping_ && text == u"/") {
        movedOnByTyping_ = false;
        event->accept();
        return;
    }
    const Section before = currentSection();
    QDateEdit::keyPressEvent(event);
    movedOnByTyping_ = text.size() == 1 && text[0].isDigit() && currentSection() != before;
}

}  // namespace orvo::forms
