#include "platform/Dialogs.h"

#include <algorithm>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/OrvoError.h"
#include "platform/Text.h"

using namespace Qt::Literals::StringLiterals;

namespace orvo::platform {

namespace {

Dialogs* installed = nullptr;

QString captionOf(Button b) {
    switch (b) {
        case Yes:
            return u"はい(&Y)"_s;
        case No:
            return u"いいえ(&N)"_s;
        case Cancel:
            return u"キャンセル"_s;
        case Ok:
            break;
    }
    return u"OK"_s;
}

// "説明(*.a)|*.a;*.b|説明2|*.*" into Qt's "説明(*.a) (*.a *.b);;説明2 (*.*)"; the
// dialog hides the last group, so each file type reads as its description.
QString qtFilterOf(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(u';', u' ');
        out << parts[i] + u" ("_s + pattern + u')';
    }
    return out.join(u";;"_s);
}

}  // namespace

Button escapeAnswer(Buttons buttons) {
    if (buttons & Cancel) return Cancel;
    if (buttons & No) return No;
    if (buttons & Ok) return Ok;
    return Yes;
}

QString applicationTitle() {
    return u"OrvoKakei"_s;
}

QString titleOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return u"警告"_s;
        case MessageKind::Information:
            return u"情報"_s;
        case MessageKind::Confirmation:
            return u"確認"_s;
        case MessageKind::Plain:
        case MessageKind::Error:
            break;
    }
    return applicationTitle();
}

void Dialogs::showError(const QString& text) {
    message(MessageKind::Error, text + u'.', Ok);
}

void Dialogs::showError(const OrvoError& error) {
    showError(fromCp932(error.what()));
}

Dialogs& dialogs() {
    static QtDialogs qtDialogs;
    return installed ? *installed : qtDialogs;
}

void setDialogs(Dialogs* d) {
    installed = d;
}

Button QtDialogs::message(MessageKind kind, const QString& text, Buttons buttons) {
    QMessageBox box;
    box.setWindowTitle(titleOf(kind));
    box.setText(text);
    switch (kind) {
        case MessageKind::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageKind::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageKind::Confirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageKind::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageKind::Plain:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    QAbstractButton* pressedFor[4] = {};
    const Button order[] = {Yes, No, Ok, Cancel};
    const QMessageBox::ButtonRole roles[] = {QMessageBox::YesRole, QMessageBox::NoRole,
                                             QMessageBox::AcceptRole, QMessageBox::RejectRole};
    for (int i = 0; i < 4; ++i) {
        if (!(buttons & order[i])) continue;
        pressedFor[i] = box.addButton(captionOf(order[i]), roles[i]);
        if (order[i] == escapeAnswer(buttons)) box.setEscapeButton(pressedFor[i]);
    }
    box.exec();
    for (int i = 0; i < 4; ++i)
        if (pressedFor[i] && box.clickedButton() == pressedFor[i]) return order[i];
    return escapeAnswer(buttons);
}

QString QtDialogs::inputBox(const QString& caption, const QString& prompt, const QString& initial) {
    QDialog dialog;
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(prompt, &dialog));
    auto* edit = new QLineEdit(initial, &dialog);
    // 255 characters can be typed; a longer initial text is kept whole.
    edit->setMaxLength(std::max<int>(255, static_cast<int>(initial.size())));
    edit->selectAll();
    layout->addWidget(edit);
    auto* box = new QDialogButtonBox(&dialog);
    box->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    box->addButton(captionOf(Cancel), QDialogButtonBox::RejectRole);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(box);
    return dialog.exec() == QDialog::Accepted ? edit->text() : initial;
}

std::unique_ptr<QFileDialog> makeFileDialog(const FileDialogRequest& request) {
    auto dialog = std::make_unique<QFileDialog>(nullptr, request.title);
    // An open dialog even where the program saves, without an overwrite question.
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilter(qtFilterOf(request.filter));
    dialog->setDefaultSuffix(request.defaultSuffix);
    if (!request.acceptLabel.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, request.acceptLabel);
    if (!request.fileName.isEmpty()) dialog->selectFile(request.fileName);
    return dialog;
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request) {
    const std::unique_ptr<QFileDialog> dialog = makeFileDialog(request);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().front();
}

QString saveAcceptLabel() {
    // The one open-mode dialog everywhere; only its button says what the choice is for.
    return u"保存"_s;
}

}  // namespace orvo::platform
