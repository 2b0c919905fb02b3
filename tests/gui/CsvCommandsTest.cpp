// The CSV commands of the File menu: their questions, the file dialog's CSV
// set-up and its return, the import's day view and totals (also after a line
// that stops it), the notice about records without a level-1 title, the
// progress dialog's cancel, and the export after the day view's write-back.

#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include "forms/main/OperationProgress.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::platform::MessageKind;
using orvo::testing::MainWindowHarness;
using orvo::testing::ScriptedDialogs;

namespace {

const QString kDataFilter = u"ﾃﾞｰﾀﾌｧｲﾙ(*.dat)|*.dat|すべてのﾌｧｲﾙ(*.*)|*.*"_s;
const QString kTitleQuestion =
    u"読み込んだﾃﾞｰﾀの先頭行は項目名ですか\r\n\r\n項目：はい\r\nﾃﾞｰﾀ：いいえ"_s;

// Runs "CSV読み込み" on `csv` (UTF-16, written as CP932): a change in hand
// not saved first, the file chosen, the title question answered `titles`.
void importCsv(MainWindowHarness& h, const QString& csv, orvo::platform::Button titles) {
    h.type(5, 1, u"未保存"_s);  // so that the import asks about saving it
    h.writeCp932(u"in.csv"_s, csv);
    h.dialogs.answer(orvo::platform::No);
    h.dialogs.answerFile(h.path(u"in.csv"_s));
    h.dialogs.answer(titles);
    h.action("CSV1")->trigger();
}

// Clicks the progress dialog's Cancel button when the dialog shows.
class ClickCancelOnShow : public QObject {
public:
    bool clicked = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QProgressDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && !clicked) {
            clicked = true;
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        }
        return false;
    }
};

// Also notes what the cumulative expense label showed when the error box came.
class DialogsNotingTheTotals : public ScriptedDialogs {
public:
    explicit DialogsNotingTheTotals(MainWindowHarness& h) : h_(h) {}
    QString allOutAtError;
    orvo::platform::Button message(MessageKind kind, const QString& text,
                                   orvo::platform::Buttons b) override {
        if (kind == MessageKind::Error) allOutAtError = h_.labelText("AllOut");
        return ScriptedDialogs::message(kind, text, b);
    }

private:
    MainWindowHarness& h_;
};

}  // namespace

class CsvCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void importAsksItsQuestionsAndShowsTheImportedDay() {
        MainWindowHarness h;
        const QString file = h.writeLedger(u"old.dat"_s, {u"2026/10/15\t食費\t\t999\t0\t"_s});
        h.writeRecord(file);
        h.start();
        importCsv(h, u"2026/10/15,食費,外食,1200,,昼食\r\n2026/10/16,収入,,,5000,x,y,z\r\n"_s,
                  orvo::platform::No);
        QVERIFY(h.dialogs.allAnswersUsed());
        const auto& shown = h.dialogs.shown();
        QCOMPARE(shown.size(), std::size_t{3});
        QCOMPARE(shown[0].text, u"現ﾃﾞｰﾀを保存しますか"_s);
        QCOMPARE(shown[1].file.filter, u"CSVﾌｧｲﾙ(*.csv)|*.csv;*.txt|すべてのﾌｧｲﾙ(*.*)|*.*"_s);
        QCOMPARE(shown[1].file.defaultSuffix, u"csv"_s);
        QCOMPARE(shown[2].kind, MessageKind::Confirmation);
        QCOMPARE(shown[2].text, kTitleQuestion);
        QCOMPARE(shown[2].buttons, orvo::platform::Yes | orvo::platform::No);

        QCOMPARE(h.book().records().size(), std::size_t{2});
        QCOMPARE(h.book().table().columnCount(), 9);  // eight fields
        QCOMPARE(h.cell(2, 1), u"外食"_s);
        QCOMPARE(h.labelText("DayOut"), u"¥1,200"_s);
        QCOMPARE(h.labelText("AllOut"), u"¥1,200"_s);
        QCOMPARE(h.labelText("AllIn"), u"¥5,000"_s);
        QCOMPARE(h.labelText("AllZan"), u"¥3,800"_s);
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei[現金出納帳 Version 0.1]"_s);
        QVERIFY(h.book().dataFileName().empty());

        // The next save asks in the data-file set-up, without the CSV's name.
        h.dialogs.cancelFile();
        h.action("Save1")->trigger();
        QCOMPARE(h.dialogs.last().file.filter, kDataFilter);
        QCOMPARE(h.dialogs.last().file.defaultSuffix, u"dat"_s);
        QVERIFY(!h.dialogs.last().file.fileName.endsWith(u".csv"_s));
    }

    void theDialogReturnsToItsDataFileSetUpAfterACancel() {
        for (const char* command : {"CSV1", "CSV2"}) {
            MainWindowHarness h;
            h.start();
            h.type(5, 1, u"未保存"_s);  // the save questions are asked
            h.dialogs.clearShown();
            if (QByteArray(command) == "CSV1") h.dialogs.answer(orvo::platform::No);
            if (QByteArray(command) == "CSV2") h.dialogs.answer(orvo::platform::Ok);
            h.dialogs.cancelFile();
            h.action(command)->trigger();
            QCOMPARE(h.dialogs.last().file.defaultSuffix, u"csv"_s);
            QCOMPARE(h.dialogs.last().file.acceptLabel,
                     QByteArray(command) == "CSV2" ? u"保存"_s : QString());
            if (QByteArray(command) == "CSV2") {
                QCOMPARE(h.dialogs.shown().front().text, u"CSVﾌｧｲﾙ名を指定してください"_s);
                QCOMPARE(h.dialogs.shown().front().kind, MessageKind::Confirmation);
                QCOMPARE(h.dialogs.last().file.filter,
                         u"CSVﾌｧｲﾙ(*.csv)|*.csv|すべてのﾌｧｲﾙ(*.*)|*.*"_s);
            }
            h.dialogs.answer(orvo::platform::No);
            h.dialogs.cancelFile();
            h.action("Open1")->trigger();
            QVERIFY(h.dialogs.allAnswersUsed());
            QCOMPARE(h.dialogs.last().file.filter, kDataFilter);
            QCOMPARE(h.dialogs.last().file.defaultSuffix, u"dat"_s);
            QCOMPARE(h.dialogs.unanswered(), 0);
        }
    }

    void aTitleLineTitlesTheColumnsAndTheCountOnlyGrows() {
        MainWindowHarness h;
        h.start();
        importCsv(h, u"日付,科目,細目,出,入,メモ,追加\r\n2026/10/15,食費,,100,,a\r\n"_s,
                  orvo::platform::Yes);
        QCOMPARE(h.book().table().columnCount(), 8);
        QCOMPARE(h.cell(1, 0), u"日付"_s);
        QCOMPARE(h.cell(7, 0), u"追加"_s);
        QCOMPARE(h.book().records().size(), std::size_t{1});
        // A narrower file later still gives a new ledger's six columns.
        importCsv(h, u"2026/10/15,食費,,100,,a\r\n"_s, orvo::platform::No);
        QCOMPARE(h.book().table().columnCount(), 6);
    }

    void aBadLineKeepsWhatCameBeforeAndShowsItBeforeTheError() {
        MainWindowHarness h;
        h.start();
        DialogsNotingTheTotals dialogs(h);
        dialogs.answer(orvo::platform::No);
        h.writeCp932(u"in.csv"_s,
                     u"2026/10/15,食費,,100,,a\r\n2026/10/14,食費,,20,,b\r\n\r\n"
                     u"2026/10/15,食費,,4000,,c\r\n"_s);
        dialogs.answerFile(h.path(u"in.csv"_s));
        dialogs.answer(orvo::platform::No);
        h.action("CSV1")->trigger();
        QCOMPARE(dialogs.last().kind, MessageKind::Error);
        QCOMPARE(dialogs.last().text, u"リストのインデックスが範囲を超えています (-1)."_s);
        QCOMPARE(dialogs.allOutAtError, u"¥120"_s);
        QCOMPARE(h.book().records().size(), std::size_t{2});
        QCOMPARE(h.cell(5, 1), u"a"_s);
        QCOMPARE(h.labelText("DayOut"), u"¥100"_s);
    }

    void recordsWithoutALevel1TitleGiveOneNotice() {
        MainWindowHarness h;
        h.start();
        h.dialogs.clearShown();
        importCsv(h, u"2026/10/17,,,1,,\r\n2026/10/12,,,2,,\r\n2026/10/15,食費,,3,,\r\n"_s,
                  orvo::platform::No);
        int notices = 0;
        for (const auto& s : h.dialogs.shown())
            notices += s.kind == MessageKind::Information ? 1 : 0;
        QCOMPARE(notices, 1);
        QCOMPARE(h.dialogs.last().kind, MessageKind::Information);
        QVERIFY(h.dialogs.last().text.contains(u" 2 件"_s));
        QVERIFY(h.dialogs.last().text.contains(u"2026/10/12"_s));
        QCOMPARE(h.book().records().size(), std::size_t{3});
        QCOMPARE(QString::fromLatin1(h.book().records()[0]), u"2026/10/12\t\t\t2\t\t"_s);
    }

    void cancellingTheProgressDialogLeavesTheLedgerAsItWas() {
        MainWindowHarness h;
        const QString file = h.writeLedger(u"old.dat"_s, {u"2026/10/15\t食費\t\t999\t0\t"_s});
        h.writeRecord(file);
        h.start();
        QString csv;
        for (int i = 0; i < 100000; ++i) csv += u"2026/10/15,食費,,1,,x\r\n"_s;
        // Cancel is pressed as the dialog shows, within the progress report
        // that shows it: the report answers the import with the cancel, however
        // fast the import runs.
        orvo::forms::OperationProgress::setShowDelay(0);
        ClickCancelOnShow clicker;
        qApp->installEventFilter(&clicker);
        importCsv(h, csv, orvo::platform::No);
        qApp->removeEventFilter(&clicker);
        QVERIFY(clicker.clicked);
        QCOMPARE(h.book().records().size(), std::size_t{1});
        QCOMPARE(h.book().dataFileName(), file.toStdString());
        QCOMPARE(h.labelText("AllOut"), u"¥999"_s);
        QCOMPARE(h.form->windowTitle(), u"OrvoKakei["_s + file + u']');
    }

    void exportWritesTheDayViewsEditsFirst() {
        MainWindowHarness h;
        const QString file = h.writeLedger(u"old.dat"_s, {u"2026/10/14\t食費\t\t5\t0\t"_s});
        h.writeRecord(file);
        h.start();
        h.type(1, 1, u"住居費"_s);
        h.type(3, 1, u"700"_s);
        h.dialogs.answer(orvo::platform::Ok);
        h.dialogs.answerFile(h.path(u"out.csv"_s));
        h.action("CSV2")->trigger();
        QCOMPARE(h.readCp932(u"out.csv"_s),
                 u"2026/10/14,食費,,5,0,\r\n2026/10/15,住居費,,700,0,\r\n"_s);
        QCOMPARE(h.labelText("AllOut"), u"¥705"_s);
    }
};

QTEST_MAIN(CsvCommandsTest)
#include "CsvCommandsTest.moc"
