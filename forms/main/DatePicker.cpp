#include "forms/main/DatePicker.h"

#include <QKeyEvent>

namespace orvo::forms {

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
