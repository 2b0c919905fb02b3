#pragma once
// The central error display for whatever a handler throws: the core's own
// error with its message, and any other exception too, so that none ends the
// program.

#include <exception>

class QApplication;

namespace orvo::platform {

// Shows `error` in the error box: an OrvoError's message, "メモリが不足しています"
// for a failed allocation, another std::exception's text, or a plain
// "エラーが発生しました" for anything else.
void showException(const std::exception_ptr& error);

// Runs an event through `deliver`, showing what it throws instead of letting
// it end the program (for QApplication::notify).
template <class Deliver>
bool deliverShowingErrors(Deliver&& deliver) {
    try {
        return deliver();
    } catch (...) {
        showException(std::current_exception());
        return false;
    }
}

}  // namespace orvo::platform
