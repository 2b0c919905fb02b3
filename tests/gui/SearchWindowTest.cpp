// The search window "データ検索" on the real main window, driven with the mouse
// and the keyboard: search, jump, remove a line, bulk replace, its messages,
// and a replace after the ledger changed since the search.

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "forms/search/SearchResultModel.h"
#include "forms/search/Unit5.h"
#include "platform/Text.h"
#include "support/MainWindowHarness.h"

using namespace Qt::Literals::StringLiterals;
using orvo::LedgerDate;
using orvo::platform::MessageKind;
using orvo::testing::MainWindowHarness;

namespace {

// Japanese text arrives as the input method commits it.
void typeText(QWidget* widget, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

const QStringList kRecords = {
    u"2026/10/01\t食費\t外食\t1200\t\t昼食"_s, u"2026/10/03\t食費\t主食\t800\t\t米"_s,
    u"2026/10/05\t食費\t外食\t3000\t\t夕食"_s, u"2026/10/09\t住居費\t家賃\t70000\t\t外食なし"_s};

// A main window on a ledger of kRecords, with its search window.
struct SearchFixture {
    MainWindowHarness h;
    std::unique_ptr<orvo::forms::TForm5> form5;

    SearchFixture() {
        h.writeRecord(h.writeLedger(u"book.dat"_s, kRecords));
        h.start();
        form5 = std::make_unique<orvo::forms::TForm5>(*h.form, h.form.get());
        h.form->setSearchWindow(form5.get());
        h.dialogs.clearShown();
    }
    template <class T = QWidget>
    T* child(const char* name) const {
        T* found = form5->findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("the search window has no %s", name);
        return found;
    }
    QListView* list() const { return child<QListView>("ListBox1"); }
    int lines() const { return list()->model()->rowCount(); }
    QString line(int k) const { return list()->model()->index(k, 0).data().toString(); }

    void open() {
        h.action("Find1")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(form5.get()));
    }
    void search(const QString& keyword) {
        QLineEdit* edit = child<QLineEdit>("Edit1");
        edit->setFocus();
        edit->selectAll();
        edit->clear();
        typeText(edit, keyword);
        QTest::keyClick(edit, Qt::Key_Return);  // runs "検索実行"
    }
    void click(const char* button) { QTest::mouseClick(child<QWidget>(button), Qt::LeftButton); }
    QPoint centreOf(int k) const {
        return list()->visualRect(list()->model()->index(k, 0)).center();
    }
    void clickLine(int k) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, centreOf(k));
    }
    void doubleClickLine(int k) {
        clickLine(k);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, centreOf(k));
    }
    QStringList records() const {
        QStringList all;
        for (std::size_t i = 0; i < h.book().records().size(); ++i)
            all << orvo::platform::fromCp932(h.book().records()[i]);
        return all;
    }
};

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
private slots:
    void searchJumpRemoveAndReplaceWithMouseAndKeys() {
        SearchFixture f;
        f.open();
        QVERIFY(f.form5->isModal());
        QCOMPARE(f.form5->windowTitle(), u"データ検索"_s);
        QCOMPARE(f.form5->parentWidget(), f.h.form.get());
        f.search(u"外食"_s);
        QCOMPARE(f.lines(), 3);
        QCOMPARE(f.line(0), u"2026/10/01\t     食費\t     外食\t     1200\t     \t     昼食"_s);

        // Jump: the line's own day, the window stays open.
        f.doubleClickLine(1);
        QCOMPARE(f.h.book().pickedDay(), (LedgerDate{2026, 10, 5}));
        QCOMPARE(f.h.child<QDateEdit>("DateTimePicker1")->date(), QDate(2026, 10, 5));
        QCOMPARE(f.h.cell(5, 1), u"夕食"_s);
        QVERIFY(f.form5->isVisible());

        // Keyword and list survive closing (Esc) and reopening.
        QTest::keyClick(f.list(), Qt::Key_Escape);
        QVERIFY(!f.form5->isVisible());
        f.open();
        QCOMPARE(f.child<QLineEdit>("Edit1")->text(), u"外食"_s);
        QCOMPARE(f.lines(), 3);

        // The removed line's record is left out of the replace.
        f.clickLine(0);
        f.click("Button4");
        QCOMPARE(f.lines(), 2);
        f.h.dialogs.answerInput(u"会食"_s);
        f.h.dialogs.answer(orvo::platform::Ok);
        f.click("Button3");
        QVERIFY(f.h.dialogs.allAnswersUsed());
        const auto& shown = f.h.dialogs.shown();
        QCOMPARE(shown[shown.size() - 2].caption, u"置換"_s);
        QCOMPARE(shown[shown.size() - 2].text, u"置換したい文字列を入力してください"_s);
        QCOMPARE(shown.back().kind, MessageKind::Plain);
        QCOMPARE(shown.back().text, u"置換終了しました"_s);
        QVERIFY(!f.form5->isVisible());
        QCOMPARE(f.records(), (QStringList{kRecords[0], u"2026/10/03\t食費\t主食\t800\t\t米"_s,
                                           u"2026/10/05\t食費\t会食\t3000\t\t夕食"_s,
                                           u"2026/10/09\t住居費\t家賃\t70000\t\t会食なし"_s}));
        QCOMPARE(f.h.cell(2, 1), u"会食"_s);
    }

    void theWindowsMessages() {
        SearchFixture f;
        f.open();
        f.search(QString());
        QCOMPARE(f.h.dialogs.last().kind, MessageKind::Warning);
        QCOMPARE(f.h.dialogs.last().text, u"検索キーワードを入力してください"_s);
        f.search(u"該当なし"_s);
        QCOMPARE(f.h.dialogs.last().kind, MessageKind::Information);
        QCOMPARE(f.h.dialogs.last().text, u"見つかりませんでした"_s);
        QCOMPARE(f.lines(), 0);

        f.search(u"ABC食"_s.mid(3));  // 食
        QCOMPARE(f.lines(), 4);
        f.h.dialogs.cancelInput();
        f.click("Button3");
        QCOMPARE(f.h.dialogs.last().kind, MessageKind::Plain);
        QCOMPARE(f.h.dialogs.last().text, u"置換文字列が入力されていません"_s);
        QVERIFY(f.form5->isVisible());
        // A character the ledger file cannot hold is refused, not dropped.
        f.h.dialogs.answerInput(u"\U00020BB7"_s);
        f.h.dialogs.answer(orvo::platform::Ok);
        f.click("Button3");
        QCOMPARE(f.h.dialogs.last().kind, MessageKind::Warning);
        QVERIFY(f.form5->isVisible());
        QCOMPARE(f.records(), kRecords);
        f.click("Button2");
        QVERIFY(!f.form5->isVisible());
        QCOMPARE(f.h.dialogs.unanswered(), 0);
    }

    void aLineWhoseDateIsNoneStopsTheJump() {
        MainWindowHarness h;
        h.writeRecord(h.writeLedger(u"book.dat"_s, {u"2026/13/45\t食費\t外食\t1\t\t"_s}));
        h.start();
        orvo::forms::TForm5 form5(*h.form, h.form.get());
        h.form->setSearchWindow(&form5);
        h.action("Find1")->trigger();
        auto* edit = form5.findChild<QLineEdit*>(u"Edit1"_s);
        typeText(edit, u"外食"_s);
        QTest::keyClick(edit, Qt::Key_Return);
        auto* list = form5.findChild<QListView*>(u"ListBox1"_s);
        const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(h.dialogs.last().kind, MessageKind::Error);
        QCOMPARE(h.dialogs.last().text, u"'2026/13/45' は日付ではありません."_s);
        QCOMPARE(h.book().pickedDay(), (LedgerDate{2026, 10, 15}));
        QVERIFY(form5.isVisible());
    }

    // The list keeps showing what was found; the ledger changes beneath it
    // (an edit written back when the window is reopened moves every later
    // record's position). The replace changes only records the list shows.
    void aReplaceAfterTheLedgerChangedTouchesOnlyListedRecords() {
        SearchFixture f;
        f.open();
        f.search(u"外食"_s);
        QCOMPARE(f.lines(), 3);
        f.doubleClickLine(0);  // 2026/10/01
        f.click("Button2");
        // On the listed day: the listed record loses its keyword, and a new
        // record with the keyword comes before all the others.
        f.h.type(2, 1, u"主食"_s);
        f.h.type(1, 2, u"食費"_s);
        f.h.type(2, 2, u"外食"_s);
        f.h.type(3, 2, u"5"_s);
        f.open();  // writes the day view back
        QCOMPARE(f.lines(), 3);
        const QStringList before = f.records();
        QCOMPARE(before.size(), 5);

        f.h.dialogs.answerInput(u"会食"_s);
        f.h.dialogs.answer(orvo::platform::Ok);
        f.click("Button3");
        QCOMPARE(f.h.dialogs.last().text, u"置換終了しました"_s);
        QStringList expected = before;
        expected.replaceInStrings(u"2026/10/05\t食費\t外食"_s, u"2026/10/05\t食費\t会食"_s);
        expected.replaceInStrings(u"外食なし"_s, u"会食なし"_s);
        QCOMPARE(f.records(), expected);
        QVERIFY(f.records().contains(u"2026/10/01\t食費\t外食\t5\t0\t"_s));
        QCOMPARE(f.h.labelText("AllOut"), u"¥75,005"_s);
    }
};

QTEST_MAIN(SearchWindowTest)
#include "SearchWindowTest.moc"
