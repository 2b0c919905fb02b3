// "バックアップから復元...": the list of the ledger's daily copies, opening one
// as a new ledger without a name; and a save whose copy cannot be made.

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "forms/restore/BackupRestoreDialog.h"
#include "platform/Text.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::platform::MessageKind;
using orvo::testing::MainWindowHarness;

namespace {

const QString kCredit = u"OrvoKakei[現金出納帳 Version 0.1]"_s;

QString record(const QString& day, int amount) {
    return day + u"\t食費\t外食\t"_s + QString::number(amount) + u"\t0\t"_s;
}

// A ledger "book.dat" with one record, its copies of 10/14 (two records), of
// 10/01 (one) and of 09/01 (no ledger), opened at start-up.
void startWithCopies(MainWindowHarness& h) {
    h.writeRecord(h.writeLedger(u"book.dat"_s, {record(u"2026/10/15"_s, 500)}));
    QDir(h.path(QString())).mkdir(u"book.dat.backups"_s);
    h.writeLedger(u"book.dat.backups/book.2026-10-14.dat"_s,
                  {record(u"2026/10/13"_s, 100), record(u"2026/10/14"_s, 200)});
    h.writeLedger(u"book.dat.backups/book.2026-10-01.dat"_s, {record(u"2026/10/01"_s, 300)});
    h.writeCp932(u"book.dat.backups/book.2026-09-01.dat"_s, u"PK no ledger"_s);
    h.start();
}

// Opens the File menu and clicks `item`, both with the mouse.
void clickFileMenuItem(MainWindowHarness& h, const char* item) {
    QMenuBar* bar = h.form->menuBar();
    auto* menu = h.child<QMenu>("fileMenu");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(h.action(item)).center());
}

// Runs `use` on the restore window once it shows (it runs a loop of its own).
void whenRestoreWindowShows(const std::function<void(orvo::forms::BackupRestoreDialog&)>& use) {
    QTimer::singleShot(0, [use] {
        auto* window =
            qobject_cast<orvo::forms::BackupRestoreDialog*>(QApplication::activeModalWidget());
        QVERIFY(window);
        use(*window);
        if (window->isVisible()) window->reject();  // not left open by a failed check
    });
}

QStringList lineTexts(QTreeWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* line = list->topLevelItem(i);
        lines << line->text(0) + u' ' + line->text(1) + u' ' + line->text(2);
    }
    return lines;
}

}  // namespace

class BackupRestoreTest : public QObject {
    Q_OBJECT
private slots:
    void theChosenCopyOpensWithoutANameAndNothingIsOverwritten() {
        MainWindowHarness h;
        startWithCopies(h);
        const QString bookBefore = h.readCp932(u"book.dat"_s);
        const qint64 size1001 = QFileInfo(h.path(u"book.dat.backups/book.2026-10-01.dat"_s)).size();
        h.dialogs.answer(orvo::platform::No);  // "現ﾃﾞｰﾀを保存しますか"
        QStringList shownLines;
        whenRestoreWindowShows([&](orvo::forms::BackupRestoreDialog& window) {
            auto* list = window.findChild<QTreeWidget*>(u"copyList"_s);
            shownLines = lineTexts(list);
            const QRect second = list->visualItemRect(list->topLevelItem(1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
            auto* open = window.findChild<QPushButton*>(u"openButton"_s);
            QTest::mouseClick(open, Qt::LeftButton);
        });
        clickFileMenuItem(h, "mnuRestore");

        QCOMPARE(shownLines,
                 (QStringList{
                     u"2026/10/14 "_s +
                         QString::number(
                             QFileInfo(h.path(u"book.dat.backups/book.2026-10-14.dat"_s)).size()) +
                         u" 2"_s,
                     u"2026/10/01 "_s + QString::number(size1001) + u" 1"_s,
                     u"2026/09/01 12 読めません"_s}));
        QVERIFY(h.book().dataFileName().empty());
        QCOMPARE(h.book().records().size(), 1u);
        QCOMPARE(std::string(h.book().records()[0]),
                 orvo::platform::toCp932(record(u"2026/10/01"_s, 300)).bytes);
        QCOMPARE(h.form->windowTitle(), kCredit);
        QCOMPARE(h.readCp932(u"book.dat"_s), bookBefore);

        // Its save asks where.
        h.dialogs.cancelFile();
        h.action("Save1")->trigger();
        QCOMPARE(h.dialogs.last().what, orvo::testing::ScriptedDialogs::Shown::What::File);
        QCOMPARE(h.dialogs.unanswered(), 0);
    }

    void theKeyboardCancelsOrChoosesAndAnUnnamedLedgerHasNoCopies() {
        MainWindowHarness h;
        startWithCopies(h);
        h.dialogs.answer(orvo::platform::No);  // "現ﾃﾞｰﾀを保存しますか"
        bool openEnabled = false;
        whenRestoreWindowShows([&](orvo::forms::BackupRestoreDialog& window) {
            openEnabled = window.findChild<QPushButton*>(u"openButton"_s)->isEnabled();
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        h.action("mnuRestore")->trigger();
        QVERIFY(openEnabled);  // the newest is chosen at the start
        QCOMPARE(QString::fromStdString(h.book().dataFileName()), h.path(u"book.dat"_s));
        QCOMPARE(h.book().totals().allOut, 500);

        h.dialogs.answer(orvo::platform::No);
        whenRestoreWindowShows([&](orvo::forms::BackupRestoreDialog& window) {
            auto* list = window.findChild<QTreeWidget*>(u"copyList"_s);
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
        });
        h.action("mnuRestore")->trigger();
        QVERIFY(h.book().dataFileName().empty());
        QCOMPARE(h.book().totals().allOut, 300);

        // The restored ledger has no file, so no copies: said so, nothing asked.
        h.dialogs.clearShown();
        h.action("mnuRestore")->trigger();
        QCOMPARE(h.dialogs.shown().size(), 1u);
        QCOMPARE(h.dialogs.last().text, u"バックアップはありません"_s);
        QCOMPARE(h.dialogs.unanswered(), 0);
    }

    void aCopyThatCannotBeMadeIsReportedOnceAndTheSaveStands() {
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"book.dat"_s, {record(u"2026/10/15"_s, 500)}));
        h.writeCp932(u"book.dat.backups"_s, u"a file in the folder's place"_s);
        h.start();
        const QString error = u"ファイル "_s + h.path(u"book.dat.backups/book.2026-10-15.dat"_s) +
                              u" を作成できません."_s;
        int errors = 0;
        for (const QString& amount : {u"600"_s, u"700"_s}) {
            h.type(3, 1, amount);
            h.action("Save1")->trigger();
            QVERIFY(h.readCp932(u"book.dat"_s).contains(u"\t"_s + amount + u"\t"_s));
            for (const auto& shown : h.dialogs.shown())
                errors += shown.kind == MessageKind::Error && shown.text == error;
            h.dialogs.clearShown();
        }
        QCOMPARE(errors, 1);
    }
};

QTEST_MAIN(BackupRestoreTest)
#include "BackupRestoreTest.moc"
