// One writer per ledger in the window: a ledger another instance has open is
// opened read-only or not at all, and the window's lock follows its ledger.

#include <unistd.h>

#include <QFileInfo>
#include <QKeySequence>
#include <QTest>
#include <memory>

#include "base/LockFile.h"
#include "platform/Text.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::platform::MessageKind;
using orvo::testing::MainWindowHarness;
using Shown = orvo::testing::ScriptedDialogs::Shown;

namespace {

QString dataFile(const MainWindowHarness& h) {
    return orvo::platform::fromNativePath(h.book().dataFileName());
}

// The lock another instance of the program holds on `ledger`.
std::unique_ptr<orvo::LockFile> heldElsewhere(const QString& ledger) {
    auto lock = std::make_unique<orvo::LockFile>(orvo::platform::toNativePath(ledger) + ".lock");
    if (lock->tryLock() != orvo::LockOutcome::Locked) qFatal("the lock cannot be taken");
    return lock;
}

void press(MainWindowHarness& h, QKeyCombination keys) {
    QTest::keySequence(h.form.get(), QKeySequence(keys));
}

struct TwoLedgers {
    QString mine;
    QString theirs;
    QString theirBytes;
};

// The window open on "mine.dat"; "theirs.dat" held by another instance.
TwoLedgers startWithTwoLedgers(MainWindowHarness& h) {
    TwoLedgers t;
    t.mine = h.writeLedger(u"mine.dat"_s, {u"2026/10/15\t食費\t\t5\t0\t"_s});
    t.theirs = h.writeLedger(u"theirs.dat"_s, {u"2026/10/15\t交通費\t\t9\t0\t"_s});
    t.theirBytes = h.readCp932(u"theirs.dat"_s);
    h.writeRecord(t.mine);
    h.start();
    h.type(5, 1, u"未保存"_s);  // a change in hand: an Open asks about saving it
    return t;
}

}  // namespace

class MainWindowLockTest : public QObject {
    Q_OBJECT
private slots:
    void openingALedgerHeldElsewhereCanBeCancelledChangingNothing() {
        MainWindowHarness h;
        const TwoLedgers t = startWithTwoLedgers(h);
        const auto theirLock = heldElsewhere(t.theirs);
        const QString caption = h.form->windowTitle();
        h.dialogs.answer(orvo::platform::No);  // save the current data first?
        h.dialogs.answerFile(t.theirs);
        h.dialogs.answer(orvo::platform::Cancel);
        press(h, Qt::CTRL | Qt::Key_O);
        QVERIFY(h.dialogs.allAnswersUsed());
        const Shown& question = h.dialogs.last();
        QCOMPARE(question.kind, MessageKind::Warning);
        QVERIFY(question.text.startsWith(u"ファイル "_s + t.theirs + u" は "_s));
        QVERIFY(question.text.contains(u"プロセス "_s + QString::number(::getpid())));
        QVERIFY(question.text.endsWith(u") が使用中です\r\n読み取り専用で開きますか？"_s));
        QCOMPARE(question.buttons, orvo::platform::Yes | orvo::platform::Cancel);

        QCOMPARE(dataFile(h), t.mine);
        QCOMPARE(h.form->windowTitle(), caption);
        QCOMPARE(h.cell(1, 1), u"食費"_s);
        QCOMPARE(h.readCp932(u"orvokakei.ini"_s), t.mine + u"\r\n"_s);
        QVERIFY(QFileInfo::exists(t.mine + u".lock"_s));  // still this window's
    }

    void aLedgerOpenedReadOnlyIsSavedOnlyUnderANewName() {
        MainWindowHarness h;
        const TwoLedgers t = startWithTwoLedgers(h);
        const auto theirLock = heldElsewhere(t.theirs);
        h.dialogs.answer(orvo::platform::No);
        h.dialogs.answerFile(t.theirs);
        h.dialogs.answer(orvo::platform::Yes);  // read-only
        press(h, Qt::CTRL | Qt::Key_O);
        QCOMPARE(h.cell(1, 1), u"交通費"_s);
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + t.theirs + u" (読み取り専用)]"_s);
        QVERIFY(!QFileInfo::exists(t.mine + u".lock"_s));  // the previous ledger let go

        h.type(3, 1, u"12"_s);
        const QString copy = h.path(u"copy.dat"_s);
        h.dialogs.answerFile(copy);
        press(h, Qt::CTRL | Qt::Key_S);
        QCOMPARE(h.dialogs.last().what, Shown::What::File);  // asked for a name
        QCOMPARE(h.readCp932(u"theirs.dat"_s), t.theirBytes);
        QVERIFY(h.readCp932(u"copy.dat"_s).contains(u"\t12\t"_s));
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + copy + u']');
        QVERIFY(QFileInfo::exists(copy + u".lock"_s));

        h.dialogs.clearShown();
        press(h, Qt::CTRL | Qt::Key_S);  // now its own file: no question
        QCOMPARE(h.dialogs.shown().size(), std::size_t{0});
    }

    void theWindowsLockFollowsItsLedger() {
        MainWindowHarness h;
        const TwoLedgers t = startWithTwoLedgers(h);
        QVERIFY(QFileInfo::exists(t.mine + u".lock"_s));
        {
            const auto theirLock = heldElsewhere(t.theirs);
            h.dialogs.answerFile(t.theirs);
            h.action("SaveAs1")->trigger();
            QCOMPARE(h.dialogs.last().kind, MessageKind::Error);
            QVERIFY(h.dialogs.last().text.endsWith(u"が使用中です."_s));
            QCOMPARE(dataFile(h), t.mine);
            QCOMPARE(h.readCp932(u"theirs.dat"_s), t.theirBytes);
        }
        const QString fresh = h.path(u"new.dat"_s);
        h.dialogs.answer(orvo::platform::No);
        h.dialogs.answerFile(fresh);
        press(h, Qt::CTRL | Qt::Key_N);
        QCOMPARE(dataFile(h), fresh);
        QVERIFY(!QFileInfo::exists(t.mine + u".lock"_s));
        QVERIFY(QFileInfo::exists(fresh + u".lock"_s));
        h.form.reset();  // the program ends
        QVERIFY(!QFileInfo::exists(fresh + u".lock"_s));
    }
};

QTEST_MAIN(MainWindowLockTest)
#include "MainWindowLockTest.moc"
