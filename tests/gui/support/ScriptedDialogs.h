#pragma once
// Dialogs that answer from a script and record what they showed, installed in
// place of the Qt ones for as long as they live.

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "platform/Dialogs.h"

namespace orvo::testing {

using platform::Button;
using platform::Buttons;
using platform::FileDialogRequest;
using platform::MessageKind;

class ScriptedDialogs : public platform::Dialogs {
public:
    struct Shown {
        enum class What { Message, Input, File } what = What::Message;
        MessageKind kind = MessageKind::Plain;
        QString title;  // as the real box would show it
        QString text;   // message text, or the input box's prompt
        Buttons buttons = 0;
        QString caption;  // input box
        QString initial;  // input box
        FileDialogRequest file;
    };

    ScriptedDialogs();            // installs itself
    ~ScriptedDialogs() override;  // restores the Qt dialogs

    void answer(Button b) { buttons_.push_back(b); }
    void answerInput(const QString& text) { inputs_.push_back(text); }
    void cancelInput() { inputs_.push_back(std::nullopt); }
    void answerFile(const QString& path) { files_.push_back(path); }
    void cancelFile() { files_.push_back(std::nullopt); }

    const std::vector<Shown>& shown() const { return shown_; }
    const Shown& last() const { return shown_.back(); }
    void clearShown() { shown_.clear(); }
    // Dialogs shown without a scripted answer; a test should expect none.
    int unanswered() const { return unanswered_; }
    bool allAnswersUsed() const { return buttons_.empty() && inputs_.empty() && files_.empty(); }

    Button message(MessageKind kind, const QString& text, Buttons buttons) override;
    QString inputBox(const QString& caption, const QString& prompt,
                     const QString& initial) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;

private:
    std::vector<Shown> shown_;
    std::deque<Button> buttons_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<std::optional<QString>> files_;
    int unanswered_ = 0;
};

}  // namespace orvo::testing
