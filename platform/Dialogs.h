#pragma once
// Message boxes, the input box, the file dialog and the central error display,
// behind one interface so that tests answer them without a person.

#include <QString>
#include <QStringList>

class QFileDialog;
#include <memory>
#include <optional>

namespace orvo {
class OrvoError;
}

namespace orvo::platform {

// The application's title: the plain box's and the error display's caption.
QString applicationTitle();

// The kind sets a message box's title and icon.
enum class MessageKind {
    Warning,       // "警告", warning icon
    Information,   // "情報", information icon
    Confirmation,  // "確認", question icon
    Plain,         // application title, no icon
    Error,         // application title, error icon (the central error display)
};
QString titleOf(MessageKind kind);

enum Button { Ok = 0x1, Yes = 0x2, No = 0x4, Cancel = 0x8 };
using Buttons = int;  // an OR of Button values

struct FileDialogRequest {
    QString title;
    QString filter;         // "説明(*.ext)|*.ext|…" as the program writes it
    QString defaultSuffix;  // without the dot
    QString fileName;       // the name last chosen, shown at start
    QString acceptLabel;    // the accept button's caption; empty: the dialog's own ("開く")
};

// The accept button's caption of a file dialog that chooses where to save.
QString saveAcceptLabel();

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a modal message box and returns the button pressed. Closing the
    // box without a button answers Cancel (or No, or Ok when those are all it has).
    virtual Button message(MessageKind kind, const QString& text, Buttons buttons) = 0;

    // One line of at most 255 characters; Cancel returns `initial`.
    virtual QString inputBox(const QString& caption, const QString& prompt,
                             const QString& initial) = 0;

    // The file-open dialog; no value when cancelled. Does not require the file
    // to exist and asks no overwrite question.
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;

    // The central error display: application title, error icon, OK, text + ".".
    void showError(const QString& text);
    void showError(const OrvoError& error);
};

// What closing a box without pressing a button answers.
Button escapeAnswer(Buttons buttons);

// The Qt file dialog `QtDialogs::openFile` runs for `request` (a window of its
// own, not yet shown).
std::unique_ptr<QFileDialog> makeFileDialog(const FileDialogRequest& request);

// The dialogs the program uses; Qt-backed unless a test installs its own.
Dialogs& dialogs();
// Installs `d` (not owned) until it is replaced; nullptr restores the Qt ones.
void setDialogs(Dialogs* d);

// The real dialogs on Qt widgets.
class QtDialogs : public Dialogs {
public:
    Button message(MessageKind kind, const QString& text, Buttons buttons) override;
    QString inputBox(const QString& caption, const QString& prompt,
                     const QString& initial) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
};

}  // namespace orvo::platform
