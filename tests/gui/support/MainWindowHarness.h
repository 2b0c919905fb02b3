#pragma once
// A main window started in a scratch working folder, with scripted dialogs, an
// injected today and its own last-file record, for the window tests.

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "forms/main/LedgerCellDelegate.h"
#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "forms/main/Unit1.h"
#include "support/ScriptedDialogs.h"

namespace orvo::testing {

class MainWindowHarness {
public:
    // Makes the scratch folder the current directory; writes the two title
    // files unless `withTitleFiles` is false.
    explicit MainWindowHarness(bool withTitleFiles = true);
    ~MainWindowHarness();

    // Creates the window (FormCreate runs) for `today`, which also names the
    // saves' backup copies; shows and activates it when `show` is set.
    // `ledgerToOpen`: the file named on the command line, if any.
    forms::TForm1& start(LedgerDate today = {2026, 10, 15}, bool show = true,
                         const QString& ledgerToOpen = {});

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString recordPath() const { return path(QStringLiteral("orvokakei.ini")); }
    // Writes `text` (UTF-16, stored as CP932) to `name` in the scratch folder.
    void writeCp932(const QString& name, const QString& text) const;
    QString readCp932(const QString& name) const;
    void writeRecord(const QString& dataFile) const;

    // A ledger file of the standard shape holding `records` (one per line, TAB-separated).
    QString writeLedger(const QString& name, const QStringList& records) const;

    // What the user typing into cell (col, row) leaves behind: the grid has
    // had the focus and the cell holds `text`.
    void type(int col, int row, const QString& text);
    QString cell(int col, int row) const;
    QString labelText(const char* objectName) const;

    // The window's controls and menu items, by the object names it gives them.
    template <class T = QWidget>
    T* child(const char* objectName) const {
        T* found = form->findChild<T*>(QString::fromLatin1(objectName));
        if (!found) qFatal("the main window has no %s", objectName);
        return found;
    }
    QAction* action(const char* objectName) const { return child<QAction>(objectName); }
    forms::LedgerGridView* grid() const { return child<forms::LedgerGridView>("StringGrid1"); }
    forms::LedgerGridModel* model() const {
        return qobject_cast<forms::LedgerGridModel*>(grid()->model());
    }
    forms::LedgerCellDelegate* delegate() const {
        return qobject_cast<forms::LedgerCellDelegate*>(grid()->itemDelegate());
    }
    LedgerBook& book() const { return form->ledger(); }

    // Lets queued work (the sent Tab keystrokes) run.
    static void settle();

    ScriptedDialogs dialogs;
    std::unique_ptr<forms::TForm1> form;

private:
    QTemporaryDir dir_;
    QString previousFolder_;
};

}  // namespace orvo::testing
