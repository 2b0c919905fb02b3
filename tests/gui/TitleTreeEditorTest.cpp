// The title tree editor as the user drives it: pop-up commands on the selected
// title, the delete question, drops, in-place editing, and the title files.

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include "base/OrvoError.h"
#include "forms/titles/TitleTreeEditor.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "settings/TitleFiles.h"
#include "support/ScriptedDialogs.h"
#include "support/TitleForests.h"

using namespace Qt::Literals::StringLiterals;
using orvo::kNoTitle;
using orvo::TitleForest;
using orvo::TitleId;
using orvo::forms::TitleTreeEditor;
using orvo::platform::MessageKind;
using orvo::testing::abcForest;
using orvo::testing::ScriptedDialogs;

namespace {

QString shapeOf(const QTreeWidgetItem* parent, int count,
                const std::function<const QTreeWidgetItem*(int)>& child) {
    QString out;
    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* item = child(i);
        if (i > 0) out += parent ? u","_s : u";"_s;
        out += item->text(0);
        if (item->childCount() > 0)
            out += u'(' +
                   shapeOf(item, item->childCount(), [item](int j) { return item->child(j); }) +
                   u')';
    }
    return out;
}

// The rows as shown, written "A;B(B1(B1a),B2);C".
QString shapeOf(const QTreeWidget* tree) {
    return shapeOf(nullptr, tree->topLevelItemCount(),
                   [tree](int i) { return tree->topLevelItem(i); });
}

QByteArray cp932(const QString& text) {
    const std::string bytes = orvo::platform::toCp932(text).bytes;
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

}  // namespace

class TitleTreeEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TitleTreeEditor> editor;
    std::unique_ptr<ScriptedDialogs> dialogs;

    QTreeWidgetItem* item(const QString& text) const {
        const auto found =
            editor->TreeView1->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void select(const QString& text) {
        QTreeWidgetItem* it = item(text);
        QVERIFY(it);
        editor->TreeView1->setCurrentItem(it);
    }
    QPoint centreOf(const QString& text) const {
        return editor->TreeView1->visualItemRect(item(text)).center();
    }
    QPoint belowLastRow() const { return QPoint(10, editor->TreeView1->viewport()->height() - 2); }
    // What the saved files hold: the model, not just the rows.
    QString savedShape() const {
        const orvo::TitleLists lists = orvo::TitleListsOf(editor->titles());
        QString out;
        for (const auto& t : lists.level1) out += orvo::platform::fromCp932(t) + u';';
        for (const auto& t : lists.level2)
            out +=
                orvo::platform::fromCp932(t.title) + u',' + QString::number(t.parentIndex) + u';';
        return out;
    }

private slots:
    void init() {
        dialogs = std::make_unique<ScriptedDialogs>();
        editor = std::make_unique<TitleTreeEditor>();
        editor->resize(300, 400);
        editor->setTitles(abcForest());
        editor->TreeView1->expandAll();
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    }
    void cleanup() {
        QCOMPARE(dialogs->unanswered(), 0);
        QVERIFY(dialogs->allAnswersUsed());
        editor.reset();
        dialogs.reset();
    }

    void popupMenuHasTheThreeCommands() {
        QStringList texts;
        for (QAction* a : editor->PopupMenu1->actions()) texts << a->text();
        QCOMPARE(texts, (QStringList{u"追加"_s, u"追加(階層下)"_s, u"削除"_s}));
    }

    void rightClickLeavesTheSelectionAndCommandsActOnIt() {
        select(u"B"_s);
        QTest::mouseClick(editor->TreeView1->viewport(), Qt::RightButton, {}, centreOf(u"C"_s));
        QCOMPARE(editor->TreeView1->selectedItems().value(0), item(u"B"_s));
        editor->Add1->trigger();
        QCOMPARE(shapeOf(editor->TreeView1), u"A;新しい科目1;B(B1(B1a),B2);C"_s);
        editor->Add2->trigger();
        QCOMPARE(shapeOf(editor->TreeView1), u"A;新しい科目1;B(B1(B1a),B2,新しい科目2);C"_s);
        // The new sub-title is shown, and the selection stays where it was.
        QVERIFY(item(u"新しい科目2"_s)->parent()->isExpanded());
        QCOMPARE(editor->TreeView1->selectedItems().value(0), item(u"B"_s));
    }

    void addWithNothingSelectedAppendsATopLevelTitle() {
        editor->TreeView1->clearSelection();
        editor->Add1->trigger();
        editor->Add2->trigger();
        QCOMPARE(shapeOf(editor->TreeView1), u"A;B(B1(B1a),B2);C;新しい科目1;新しい科目2"_s);
    }

    void deleteAsksAndOnlyYesDeletes_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("selectedAfter");
        QTest::newRow("No") << int(orvo::platform::No) << u"A;B(B1(B1a),B2);C"_s << u"B"_s;
        QTest::newRow("Cancel") << int(orvo::platform::Cancel) << u"A;B(B1(B1a),B2);C"_s << u"B"_s;
        QTest::newRow("Yes") << int(orvo::platform::Yes) << u"A;C"_s << u"C"_s;
    }
    void deleteAsksAndOnlyYesDeletes() {
        QFETCH(int, answer);
        QFETCH(QString, expected);
        QFETCH(QString, selectedAfter);
        select(u"B"_s);
        dialogs->answer(static_cast<orvo::platform::Button>(answer));
        editor->Delete1->trigger();
        QCOMPARE(dialogs->shown().size(), size_t(1));
        QCOMPARE(dialogs->last().kind, MessageKind::Warning);
        QCOMPARE(dialogs->last().text, u"『B』を削除しますか"_s);
        QCOMPARE(dialogs->last().buttons,
                 orvo::platform::Yes | orvo::platform::No | orvo::platform::Cancel);
        QCOMPARE(shapeOf(editor->TreeView1), expected);
        QCOMPARE(editor->TreeView1->selectedItems().value(0)->text(0), selectedAfter);
        QCOMPARE(editor->titles().size(), size_t(expected == u"A;C"_s ? 2 : 6));
    }

    void deleteWithNothingSelectedAsksNothing() {
        editor->TreeView1->clearSelection();
        editor->Delete1->trigger();
        QVERIFY(dialogs->shown().empty());
        QCOMPARE(editor->titles().size(), size_t(6));
    }

    void refusedDropsTellWhyAndChangeNothing_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("onto itself") << u"B"_s << u"B"_s << u"同じ場所には移動できません"_s;
        QTest::newRow("onto a child") << u"B"_s << u"B2"_s << u"この移動はできません"_s;
        QTest::newRow("onto a grandchild") << u"B"_s << u"B1a"_s << u"この移動はできません"_s;
        QTest::newRow("sub-title onto itself")
            << u"B1a"_s << u"B1a"_s << u"同じ場所には移動できません"_s;
    }
    void refusedDropsTellWhyAndChangeNothing() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(QString, message);
        select(dragged);
        editor->TreeView1DragDrop(editor->TreeView1, editor->TreeView1, centreOf(target));
        QCOMPARE(dialogs->shown().size(), size_t(1));
        QCOMPARE(dialogs->last().kind, MessageKind::Information);
        QCOMPARE(dialogs->last().text, message);
        QCOMPARE(dialogs->last().buttons, orvo::platform::Ok);
        QCOMPARE(shapeOf(editor->TreeView1), u"A;B(B1(B1a),B2);C"_s);
    }

    void dropsMoveTheTitleWithItsSubtitles_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");  // empty: below the last row
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("saved");
        QTest::newRow("onto another top-level title")
            << u"B"_s << u"A"_s << u"A(B(B1(B1a),B2));C"_s << u"A;C;B,0;B1,0;B1a,0;B2,0;"_s;
        QTest::newRow("onto its own parent")
            << u"B1"_s << u"B"_s << u"A;B(B2,B1(B1a));C"_s << u"A;B;C;B2,1;B1,1;B1a,1;"_s;
        QTest::newRow("below the last row")
            << u"B1"_s << QString() << u"A;B(B2);C;B1(B1a)"_s << u"A;B;C;B1;B2,1;B1a,3;"_s;
    }
    void dropsMoveTheTitleWithItsSubtitles() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(QString, expected);
        QFETCH(QString, saved);
        select(dragged);
        QVERIFY(editor->TreeView1DragOver(editor->TreeView1));
        editor->TreeView1DragDrop(editor->TreeView1, editor->TreeView1,
                                  target.isEmpty() ? belowLastRow() : centreOf(target));
        QVERIFY(dialogs->shown().empty());
        QCOMPARE(shapeOf(editor->TreeView1), expected);
        QCOMPARE(savedShape(), saved);
        // The moved title stays selected and in view.
        QCOMPARE(editor->TreeView1->selectedItems().value(0)->text(0), dragged);
        QVERIFY(!item(dragged)->parent() || item(dragged)->parent()->isExpanded());
    }

    void dragsFromElsewhereAreRefused() {
        QTreeWidget other;
        QVERIFY(!editor->TreeView1DragOver(&other));
        QVERIFY(!editor->TreeView1DragOver(nullptr));
        select(u"B"_s);
        editor->TreeView1DragDrop(editor->TreeView1, editor.get(), centreOf(u"A"_s));
        QCOMPARE(shapeOf(editor->TreeView1), u"A;B(B1(B1a),B2);C"_s);
        // A drop from another program reaches the view without a source widget.
        QMimeData mime;
        mime.setText(u"A"_s);
        QDropEvent drop(QPointF(centreOf(u"A"_s)), Qt::MoveAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(editor->TreeView1->viewport(), &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(shapeOf(editor->TreeView1), u"A;B(B1(B1a),B2);C"_s);
        QVERIFY(dialogs->shown().empty());
    }

    void inPlaceEditingChangesTheTitle() {
        select(u"B1"_s);
        editor->TreeView1->editItem(item(u"B1"_s));
        auto* line = editor->TreeView1->viewport()->findChild<QLineEdit*>();
        QVERIFY(line);
        line->selectAll();
        line->insert(u"表具・ソフト"_s);  // as the input method delivers it
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();  // the view commits the edit from its event queue
        QCOMPARE(shapeOf(editor->TreeView1), u"A;B(表具・ソフト(B1a),B2);C"_s);
        QCOMPARE(savedShape(), u"A;B;C;表具・ソフト,1;B1a,1;B2,1;"_s);
        QVERIFY(dialogs->shown().empty());
    }

    void editsCp932CannotHoldAreRefused() {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        item(u"A"_s)->setText(0, u"X"_s + emoji);
        QCOMPARE(dialogs->shown().size(), size_t(1));
        QCOMPARE(dialogs->last().kind, MessageKind::Warning);
        QVERIFY(dialogs->last().text.contains(emoji));
        QVERIFY(item(u"A"_s));  // the row shows the old text again
        QCOMPARE(savedShape().left(6), u"A;B;C;"_s);
    }

    void loadsAndSavesTheTitleFiles() {
        QTemporaryDir dir;
        const QString l1 = dir.filePath(u"勘定科目1.txt"_s), l2 = dir.filePath(u"勘定科目2.txt"_s);
        writeFile(l1, cp932(u"食費\r\n住居費\r\n"_s));
        writeFile(l2, cp932(u"十日市,0\r\n表具,1\r\n"_s));
        editor->LoadTitleTree(dir.path());
        QCOMPARE(shapeOf(editor->TreeView1), u"食費(十日市);住居費(表具)"_s);

        select(u"食費"_s);
        editor->Add2->trigger();
        editor->SaveTitleTree(dir.path());
        QCOMPARE(readFile(l1), cp932(u"食費\r\n住居費\r\n"_s));
        QCOMPARE(readFile(l2), cp932(u"十日市,0\r\n新しい科目2,0\r\n表具,1\r\n"_s));
    }

    void loadErrorsKeepWhatWasRead() {
        QTemporaryDir dir;
        writeFile(dir.filePath(u"勘定科目1.txt"_s), cp932(u"食費\r\n住居費\r\n"_s));
        writeFile(dir.filePath(u"勘定科目2.txt"_s), cp932(u"食料品,0\r\n外食,x\r\n家賃,1\r\n"_s));
        QString error;
        try {
            editor->LoadTitleTree(dir.path());
        } catch (const orvo::OrvoError& e) {
            error = orvo::platform::fromCp932(e.what());
        }
        QCOMPARE(error, u"'x' は整数ではありません"_s);
        QCOMPARE(shapeOf(editor->TreeView1), u"食費(食料品);住居費"_s);
    }

    void neitherFileShowsTheBundledTitles() {
        QTemporaryDir dir;
        editor->LoadTitleTree(dir.path());
        QCOMPARE(editor->TreeView1->topLevelItemCount(), 15);
        QCOMPARE(editor->TreeView1->topLevelItem(0)->text(0), u"食費"_s);
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void saveFailureLeavesTheTreeAndThrows() {
        QTemporaryDir dir;
        QString error;
        try {
            editor->SaveTitleTree(dir.filePath(u"no-such-folder"_s));
        } catch (const orvo::OrvoError& e) {
            error = orvo::platform::fromCp932(e.what());
        }
        QCOMPARE(error, u"ファイル 勘定科目1.txt を作成できません"_s);
        QCOMPARE(shapeOf(editor->TreeView1), u"A;B(B1(B1a),B2);C"_s);
    }
};

QTEST_MAIN(TitleTreeEditorTest)
#include "TitleTreeEditorTest.moc"
