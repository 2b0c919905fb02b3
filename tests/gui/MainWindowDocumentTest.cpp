// Start-up and the document commands: the last-file record, the start-up
// hint, New, Open, Save, Save As, the close question and help.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include "forms/main/LedgerGridModel.h"
#include "forms/main/LedgerGridView.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::LedgerDate;
using orvo::platform::Button;
using orvo::platform::MessageKind;
using orvo::testing::MainWindowHarness;

namespace {

const QString kHint = u"ﾒﾆｭｰの「ﾌｧｲﾙ」から「新規作成」\r\n    または「開く」を選択してください"_s;
const QString kCredit = u"OrvoKakei[現金出納帳 Version 0.1]"_s;

int countShown(const MainWindowHarness& h, const QString& text) {
    int n = 0;
    for (const auto& s : h.dialogs.shown()) n += s.text == text ? 1 : 0;
    return n;
}

QString dataFile(const MainWindowHarness& h) {
    return QString::fromStdString(h.book().dataFileName());
}

}  // namespace

class MainWindowDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartShowsTheHintOnceAndAnEmptyLedger() {
        MainWindowHarness h;
        h.start();
        QCOMPARE(countShown(h, kHint), 1);
        const auto& hint = h.dialogs.shown().front();
        QCOMPARE(hint.kind, MessageKind::Information);
        QCOMPARE(hint.title, u"情報"_s);
        QCOMPARE(hint.buttons, orvo::platform::Ok);
        QCOMPARE(h.book().table().rowCount(), 6);
        QCOMPARE(h.form->windowTitle(), kCredit);
        QVERIFY(h.form->gridSelection() == (orvo::CellBlock{0, 0, 0, 0}));

        h.dialogs.cancelFile();
        h.action("Save1")->trigger();
        QCOMPARE(h.dialogs.last().what, orvo::testing::ScriptedDialogs::Shown::What::File);
        QCOMPARE(h.dialogs.last().file.filter, u"ﾃﾞｰﾀﾌｧｲﾙ(*.dat)|*.dat|すべてのﾌｧｲﾙ(*.*)|*.*"_s);
        QCOMPARE(h.dialogs.last().file.defaultSuffix, u"dat"_s);
        QVERIFY(!QFileInfo::exists(h.recordPath()));
    }

    void anUnreadableLastFileRecordGivesItsErrorAndNoHint() {
        MainWindowHarness h;
        QDir().mkpath(h.recordPath());  // a folder where the record should be
        h.start();
        QCOMPARE(countShown(h, kHint), 0);
        QCOMPARE(h.dialogs.shown().size(), std::size_t{1});
        QCOMPARE(h.dialogs.last().kind, MessageKind::Error);
        QVERIFY(h.dialogs.last().text.endsWith(u"は開けません."_s));
        QCOMPARE(h.book().table().rowCount(), 6);
    }

    void aRecordWithAnEmptyFirstLineGivesTheHint() {
        MainWindowHarness h;
        h.writeRecord(QString());
        h.start();
        QCOMPARE(countShown(h, kHint), 1);
    }

    // "orvokakei FILE.dat", as a desktop launcher starts it: that file, not the last one.
    void aLedgerNamedAtStartIsOpenedInPlaceOfTheLastOne() {
        MainWindowHarness h;
        const QString last = h.writeLedger(u"前回.dat"_s, {u"2026/10/15\t食費\t\t500\t0\t"_s});
        const QString named = h.writeLedger(u"指定.dat"_s, {u"2026/10/15\t住居費\t\t70000\t0\t"_s});
        h.writeRecord(last);
        h.start({2026, 10, 15}, true, named);
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + named + u']');
        QCOMPARE(h.cell(1, 1), u"住居費"_s);
        QCOMPARE(h.readCp932(u"orvokakei.ini"_s), named + u"\r\n"_s);
        QCOMPARE(countShown(h, kHint), 0);
    }

    void aMissingLedgerNamedAtStartIsReported() {
        MainWindowHarness h;
        h.start({2026, 10, 15}, true, h.path(u"ない.dat"_s));
        QCOMPARE(h.dialogs.shown().size(), std::size_t{1});
        QVERIFY(!h.form->windowTitle().contains(u"ない.dat"_s));
    }

    void startUpReopensTheLastLedgerOnToday() {
        MainWindowHarness h;
        const QString file =
            h.writeLedger(u"家計.dat"_s, {u"2026/10/14\t食費\t\t500\t0\t"_s,
                                          u"2026/10/15\t住居費\t家賃\t70000\t0\t十月分"_s,
                                          u"2026/10/16\t収入\t\t0\t300000\t"_s});
        h.writeRecord(file);
        h.start();
        QCOMPARE(countShown(h, kHint), 0);
        QCOMPARE(h.dialogs.shown().size(), std::size_t{0});
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + file + u']');
        QCOMPARE(h.cell(1, 1), u"住居費"_s);
        QCOMPARE(h.cell(5, 1), u"十月分"_s);
        QCOMPARE(h.labelText("DayOut"), u"¥70,000"_s);
        QCOMPARE(h.labelText("AllOut"), u"¥70,500"_s);
        QCOMPARE(h.labelText("AllZan"), u"¥229,500"_s);
        QCOMPARE(h.form->width(), 640);
        QCOMPARE(h.form->height(), 480);
        QCOMPARE(h.readCp932(u"orvokakei.ini"_s), file + u"\r\n"_s);
    }

    void newWritesTheEmptyLedgerAtOnce() {
        MainWindowHarness h;
        h.start();
        const QString file = h.path(u"new.dat"_s);
        h.type(5, 1, u"未保存"_s);
        h.dialogs.answer(orvo::platform::No);  // save the current data?
        h.dialogs.answerFile(file);
        h.action("New1")->trigger();
        QVERIFY(h.dialogs.allAnswersUsed());
        QCOMPARE(countShown(h, u"現ﾃﾞｰﾀを保存しますか"_s), 1);
        QCOMPARE(countShown(h, u"新しいﾃﾞｰﾀとその保存先を設定します"_s), 1);
        QCOMPARE(h.readCp932(u"new.dat"_s).count(u"\r\n"_s), 17);
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + file + u']');
        QCOMPARE(h.readCp932(u"orvokakei.ini"_s), file + u"\r\n"_s);

        // The next start opens it without the hint.
        h.form.reset();
        h.dialogs.clearShown();
        h.start();
        QCOMPARE(countShown(h, kHint), 0);
        QCOMPARE(dataFile(h), file);
    }

    void newOverAnExistingFileDeclinedChangesNothing() {
        MainWindowHarness h;
        const QString old = h.writeLedger(u"old.dat"_s, {u"2026/10/15\t食費\t\t100\t0\t"_s});
        const QString other = h.writeLedger(u"other.dat"_s, {});
        h.writeRecord(old);
        h.start();
        for (Button answer : {orvo::platform::No, orvo::platform::Cancel}) {
            h.dialogs.clearShown();
            h.dialogs.answer(orvo::platform::No);
            h.dialogs.answerFile(other);
            h.dialogs.answer(answer);
            h.action("New1")->trigger();
            QVERIFY(h.dialogs.allAnswersUsed());
            const auto& question = h.dialogs.last();
            QCOMPARE(question.kind, MessageKind::Warning);
            QCOMPARE(question.text, u"同一ﾌｧｲﾙが存在します\r\n上書きしますか？"_s);
            QCOMPARE(question.buttons,
                     orvo::platform::Yes | orvo::platform::No | orvo::platform::Cancel);
            QCOMPARE(dataFile(h), old);
            QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + old + u']');
            QCOMPARE(h.cell(1, 1), u"食費"_s);
        }
        // A later save writes the old file.
        h.type(3, 1, u"250"_s);
        h.action("Save1")->trigger();
        QVERIFY(h.readCp932(u"old.dat"_s).contains(u"\t250\t"_s));
        QVERIFY(!h.readCp932(u"other.dat"_s).contains(u"250"_s));
    }

    void cancelInTheCloseQuestionKeepsEveryEdit() {
        MainWindowHarness h;
        const QString file = h.writeLedger(u"book.dat"_s, {});
        h.writeRecord(file);
        h.start();
        const QString before = h.readCp932(u"book.dat"_s);
        h.type(1, 1, u"食費"_s);
        h.type(3, 1, u"1200"_s);
        h.dialogs.answer(orvo::platform::Cancel);
        QVERIFY(!h.form->close());
        QCOMPARE(h.dialogs.last().text, u"終了する前に現ﾃﾞｰﾀを保存しますか"_s);
        QCOMPARE(h.dialogs.last().kind, MessageKind::Confirmation);
        QVERIFY(h.form->isVisible());
        QCOMPARE(h.cell(1, 1), u"食費"_s);
        QCOMPARE(h.cell(3, 1), u"1200"_s);
        QCOMPARE(h.readCp932(u"book.dat"_s), before);
    }

    void closeQuestionYesSavesAndNoDoesNot() {
        MainWindowHarness h;
        const QString file = h.writeLedger(u"book.dat"_s, {});
        h.writeRecord(file);
        h.start();
        h.type(1, 1, u"食費"_s);
        h.dialogs.answer(orvo::platform::No);
        QVERIFY(h.form->close());
        QVERIFY(!h.readCp932(u"book.dat"_s).contains(u"食費"_s));

        h.form->show();
        h.dialogs.answer(orvo::platform::Yes);
        QVERIFY(h.form->close());
        QVERIFY(h.readCp932(u"book.dat"_s).contains(u"2026/10/15\t食費\t\t0\t0\t"_s));
    }

    void aCancelledNameQuestionDuringTheCloseKeepsTheWindowOpen() {
        MainWindowHarness h;
        h.start();
        h.type(1, 1, u"食費"_s);
        h.dialogs.answer(orvo::platform::Yes);
        h.dialogs.cancelFile();
        QVERIFY(!h.form->close());
        QVERIFY(h.form->isVisible());
        QCOMPARE(h.cell(1, 1), u"食費"_s);
    }

    void escapeAndTheEndButtonAskTheCloseQuestion() {
        MainWindowHarness h;
        h.start();
        h.type(5, 1, u"未保存"_s);  // unchanged, the window would close without asking
        h.dialogs.clearShown();
        h.dialogs.answer(orvo::platform::Cancel);
        QTest::mouseClick(h.child<QPushButton>("Button4"), Qt::LeftButton);
        h.dialogs.answer(orvo::platform::Cancel);
        h.action("Exit1")->trigger();
        h.dialogs.answer(orvo::platform::Cancel);
        h.grid()->setFocus();
        QTest::keyClick(h.grid(), Qt::Key_Escape);
        QCOMPARE(countShown(h, u"終了する前に現ﾃﾞｰﾀを保存しますか"_s), 3);
        QVERIFY(h.form->isVisible());
    }

    void openReplacesTheLedgerAndRecordsTheFile() {
        MainWindowHarness h;
        h.start();
        const QString file = h.writeLedger(u"other.dat"_s, {u"2026/10/15\tABC\t\t10\t0\t"_s});
        h.type(1, 1, u"食費"_s);
        h.dialogs.answer(orvo::platform::No);
        h.dialogs.answerFile(file);
        h.action("Open1")->trigger();
        QVERIFY(h.dialogs.allAnswersUsed());
        QCOMPARE(h.dialogs.last().file.fileName, QString());  // the name is emptied first
        QCOMPARE(h.cell(1, 1), u"ABC"_s);
        QCOMPARE(h.labelText("AllOut"), u"¥10"_s);
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + file + u']');
        QCOMPARE(h.readCp932(u"orvokakei.ini"_s), file + u"\r\n"_s);
    }

    void openOfAMissingFileLeavesAnEmptyLedgerUnderItsName() {
        MainWindowHarness h;
        const QString old = h.writeLedger(u"old.dat"_s, {u"2026/10/15\t食費\t\t100\t0\t"_s});
        h.writeRecord(old);
        h.start();
        const QString missing = h.path(u"missing.dat"_s);
        h.dialogs.answer(orvo::platform::No);
        h.dialogs.answerFile(missing);
        h.action("Open1")->trigger();
        QCOMPARE(h.dialogs.last().kind, MessageKind::Error);
        QCOMPARE(h.dialogs.last().text, u"ファイル "_s + missing + u" が見つかりません."_s);
        QCOMPARE(dataFile(h), missing);
        QCOMPARE(h.form->windowTitle(), kCredit);
        QCOMPARE(h.cell(1, 1), QString());
        QVERIFY(h.book().records().empty());
        QCOMPARE(h.readCp932(u"orvokakei.ini"_s), old + u"\r\n"_s);
    }

    void saveAsWritesTheChosenFileAndKeepsItsName() {
        MainWindowHarness h;
        h.start();
        h.type(1, 1, u"食費"_s);
        const QString file = h.path(u"saved.dat"_s);
        h.dialogs.answerFile(file);
        h.action("SaveAs1")->trigger();
        QVERIFY(h.readCp932(u"saved.dat"_s).contains(u"食費"_s));
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + file + u']');
        // The dialog offers the name last chosen next time.
        h.dialogs.cancelFile();
        h.action("SaveAs1")->trigger();
        QCOMPARE(h.dialogs.last().file.fileName, file);
    }

    // A Save As (or a New) that cannot write leaves the ledger's file as it was:
    // the next save goes where it went before, or asks when there was none.
    void aFailedSaveAsKeepsTheLedgersFile_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("名前を付けて保存") << u"SaveAs1"_s;
        QTest::newRow("新規作成") << u"New1"_s;
    }
    void aFailedSaveAsKeepsTheLedgersFile() {
        QFETCH(QString, command);
        MainWindowHarness h;
        const QString ledger = h.writeLedger(u"mine.dat"_s, {u"2026/10/15\t食費\t\t5\t0\t"_s});
        h.writeRecord(ledger);
        h.start();
        const QString caption = h.form->windowTitle();
        const bool isNew = command == u"New1"_s;
        if (isNew) h.dialogs.answer(orvo::platform::No);  // the save question
        h.dialogs.answerFile(h.path(u"no-such-folder/other.dat"_s));
        h.action(command.toLatin1().constData())->trigger();
        QVERIFY(h.dialogs.last().text.contains(u"を作成できません"_s));
        QCOMPARE(QString::fromStdString(h.book().dataFileName()), isNew ? QString() : ledger);
        QCOMPARE(h.readCp932(u"orvokakei.ini"_s), ledger + u"\r\n"_s);
        if (!isNew) QCOMPARE(h.form->windowTitle(), caption);
        h.dialogs.cancelFile();
        h.action("Save1")->trigger();  // asks for a name only when there is none
        QCOMPARE(h.dialogs.last().what == orvo::testing::ScriptedDialogs::Shown::What::File, isNew);
    }

    void openOfAFileThatIsNoLedgerWarnsAndChangesNothing() {
        MainWindowHarness h;
        const QString ledger = h.writeLedger(u"mine.dat"_s, {u"2026/10/15\t食費\t\t5\t0\t"_s});
        h.writeRecord(ledger);
        h.start();
        h.writeCp932(u"letter.txt"_s, u"拝啓\r\n"_s);
        h.dialogs.answer(orvo::platform::No);  // the save question
        h.dialogs.answerFile(h.path(u"letter.txt"_s));
        h.action("Open1")->trigger();
        QCOMPARE(h.dialogs.last().kind, orvo::platform::MessageKind::Warning);
        QCOMPARE(h.dialogs.last().text,
                 u"ファイル "_s + h.path(u"letter.txt"_s) + u" は家計簿のデータではありません"_s);
        QCOMPARE(QString::fromStdString(h.book().dataFileName()), ledger);
        QCOMPARE(h.book().records().size(), std::size_t(1));
        QCOMPARE(h.readCp932(u"orvokakei.ini"_s), ledger + u"\r\n"_s);
        h.action("Save1")->trigger();
        QCOMPARE(h.readCp932(u"letter.txt"_s), u"拝啓\r\n"_s);
    }

    void aLedgerChangedOnDiskIsReplacedOnlyWhenTheUserSaysSo() {
        MainWindowHarness h;
        const QString ledger = h.writeLedger(u"mine.dat"_s, {u"2026/10/15\t食費\t\t5\t0\t"_s});
        h.writeRecord(ledger);
        h.start();
        h.action("Save1")->trigger();
        QCOMPARE(h.dialogs.unanswered(), 0);  // its own save asks nothing
        const QString theirs = h.readCp932(u"mine.dat"_s) + u"2026/10/16\t交通費\t\t9\t0\t\r\n"_s;
        h.writeCp932(u"mine.dat"_s, theirs);
        h.dialogs.answer(orvo::platform::No);
        h.action("Save1")->trigger();
        QVERIFY(h.dialogs.last().text.contains(u"変更されています"_s));
        QCOMPARE(h.readCp932(u"mine.dat"_s), theirs);
        h.dialogs.answer(orvo::platform::Yes);
        h.action("Save1")->trigger();
        QVERIFY(!h.readCp932(u"mine.dat"_s).contains(u"交通費"_s));
        QVERIFY(h.dialogs.allAnswersUsed());
    }

    void firstStartWithoutTitleFilesUsesTheBundledTitles() {
        MainWindowHarness h(false);
        h.start();
        QCOMPARE(countShown(h, kHint), 1);
        QCOMPARE(h.dialogs.shown().size(), std::size_t{1});  // no error box
        QVERIFY(h.child<QComboBox>("ComboBox1")->count() > 0);
        QVERIFY(h.child<QComboBox>("ComboBox2")->count() > 0);
        QVERIFY(!QFileInfo::exists(h.path(u"勘定科目1.txt"_s)));
        QVERIFY(!QFileInfo::exists(h.path(u"勘定科目2.txt"_s)));
    }

    void anUnreadableTitleFileIsReportedAndStartUpGoesOn() {
        MainWindowHarness h(false);
        h.writeCp932(u"勘定科目1.txt"_s, u"食費\r\n"_s);
        h.start();
        QCOMPARE(h.dialogs.shown().size(), std::size_t{2});
        QCOMPARE(h.dialogs.shown()[0].kind, MessageKind::Error);
        QCOMPARE(h.dialogs.shown()[0].text, u"ファイル 勘定科目2.txt は開けません."_s);
        QCOMPARE(h.dialogs.shown()[1].text, kHint);
        QCOMPARE(h.child<QComboBox>("ComboBox1")->count(), 1);
        QCOMPARE(h.book().table().rowCount(), 6);
        QCOMPARE(h.book().table().columnWidth(5), 160);
    }

    void helpOpensTheBundledDocument() {
        MainWindowHarness h;
        h.start();
        h.action("Help1")->trigger();
        auto* browser = h.form->findChild<QTextBrowser*>(u"HelpBrowser"_s);
        QVERIFY(browser);
        QVERIFY(browser->window()->isVisible());
        QVERIFY(browser->toPlainText().contains(u"毎日の記帳"_s));
        QVERIFY(browser->toPlainText().contains(u"目次"_s));
    }
};

QTEST_MAIN(MainWindowDocumentTest)
#include "MainWindowDocumentTest.moc"
