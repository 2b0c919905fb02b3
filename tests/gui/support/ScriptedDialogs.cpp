#include "support/ScriptedDialogs.h"

#include <algorithm>

namespace orvo::testing {

using platform::Cancel;
using platform::escapeAnswer;
using platform::Ok;
using platform::setDialogs;
using platform::titleOf;

ScriptedDialogs::ScriptedDialogs() {
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    // Unless a later one has taken its place.
    if (&platform::dialogs() == this) setDialogs(nullptr);
}

Button ScriptedDialogs::message(MessageKind kind, const QString& text, Buttons buttons) {
    Shown s;
    s.what = Shown::What::Message;
    s.kind = kind;
    s.title = titleOf(kind);
    s.text = text;
    s.buttons = buttons;
    shown_.push_back(s);
    if (buttons_.empty()) {
        // An error display or a lone OK needs no answer; anything else was not expected.
        if (buttons == Ok) return Ok;
        ++unanswered_;
        return escapeAnswer(buttons);
    }
    Button b = buttons_.front();
    buttons_.pop_front();
    return b;
}

QString ScriptedDialogs::inputBox(const QString& caption, const QString& prompt,
                                  const QString& initial) {
    Shown s;
    s.what = Shown::What::Input;
    s.title = caption;
    s.caption = caption;
    s.text = prompt;
    s.initial = initial;
    shown_.push_back(s);
    if (inputs_.empty()) {
        ++unanswered_;
        return initial;
    }
    const QString a = inputs_.front().value_or(initial);
    inputs_.pop_front();
    return a.left(std::max<qsizetype>(255, initial.size()));
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    Shown s;
    s.what = Shown::What::File;
    s.title = request.title;
    s.file = request;
    shown_.push_back(s);
    if (files_.empty()) {
        ++unanswered_;
        return std::nullopt;
    }
    if (!files_.front()) {
        files_.pop_front();
        return std::nullopt;
    }
    const QString a = *files_.front();
    files_.pop_front();
    return a;
}

}  // namespace orvo::testing
