// A crash hunt: seeded random clicks, double clicks, drags, wheel turns and
// keys on every visible widget of the main window and its companion windows, with
// every box answered at random. The program must stay alive, and no record
// of a day other than the ones shown before and after an event may change
// (unless the event put a backup copy in the ledger's place).
//
// ORVO_CRASH_HUNT_SEED picks the run (printed when it fails);
// ORVO_CRASH_HUNT_EVENTS makes it longer than the suite's quick pass.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "base/Amount.h"
#include "base/OrvoError.h"
#include "forms/calculator/OrvoDen.h"
#include "forms/phrases/Unit4.h"
#include "forms/settings/Unit2.h"
#include "forms/statement/StatementImportWindow.h"
#include "ledger/LedgerBook.h"
#include "ledger/RecordLine.h"
#include "ledger/StepKind.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "settings/DefaultTitles.h"
#include "support/MainWindowHarness.h"
#include "support/SourceFolders.h"
#include "support/WidgetAt.h"

using namespace Qt::Literals::StringLiterals;
using orvo::testing::MainWindowHarness;

namespace {

using Random = std::mt19937;

int pick(Random& random, int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
}

// Every box answered with one of its own buttons; file questions cancelled,
// so that no other ledger replaces the one under test.
class RandomDialogs : public orvo::platform::Dialogs {
public:
    explicit RandomDialogs(Random& random) : random_(random) {
        previous_ = &orvo::platform::dialogs();
        orvo::platform::setDialogs(this);
    }
    ~RandomDialogs() override { orvo::platform::setDialogs(nullptr); }

    orvo::platform::Button message(orvo::platform::MessageKind, const QString&,
                                   orvo::platform::Buttons buttons) override {
        QList<orvo::platform::Button> offered;
        for (auto b :
             {orvo::platform::Yes, orvo::platform::No, orvo::platform::Cancel, orvo::platform::Ok})
            if (buttons & b) offered << b;
        return offered.isEmpty() ? orvo::platform::Ok : offered[pick(random_, offered.size())];
    }
    QString inputBox(const QString&, const QString&, const QString& initial) override {
        const QString answers[] = {initial, u"1"_s, u"3"_s, u"x"_s, QString(), u"食費"_s};
        return answers[pick(random_, 6)];
    }
    std::optional<QString> openFile(const orvo::platform::FileDialogRequest&) override {
        return std::nullopt;
    }

private:
    Random& random_;
    orvo::platform::Dialogs* previous_ = nullptr;
};

// The records grouped by their date, each group in a fixed order.
std::map<std::string, std::vector<std::string>> recordsByDay(const orvo::LedgerRecords& records) {
    std::map<std::string, std::vector<std::string>> days;
    records.forEach([&](std::string_view line) {
        days[std::string(line.substr(0, line.find('\t')))].emplace_back(line);
    });
    for (auto& [day, lines] : days) std::sort(lines.begin(), lines.end());
    return days;
}

// The day groups that differ, but for `except`.
QStringList changedDays(const std::map<std::string, std::vector<std::string>>& before,
                        const std::map<std::string, std::vector<std::string>>& after,
                        const std::set<std::string>& except) {
    std::set<std::string> days;
    for (const auto& [day, lines] : before) days.insert(day);
    for (const auto& [day, lines] : after) days.insert(day);
    QStringList changed;
    for (const std::string& day : days) {
        if (except.count(day)) continue;
        const auto b = before.find(day);
        const auto a = after.find(day);
        const bool same = (b == before.end()) == (a == after.end()) &&
                          (b == before.end() || b->second == a->second);
        if (!same) changed << QString::fromStdString(day);
    }
    return changed;
}

std::string linesOf(const orvo::LedgerRecords& records) {
    std::string lines;
    records.forEach([&](std::string_view line) {
        lines += line;
        lines += '\n';
    });
    return lines;
}

// Where two such texts part, for the failure message: line counts and the
// first line that differs in each.
QString firstDifference(const std::string& got, const std::string& expected) {
    std::size_t at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
    const auto lineAt = [at](const std::string& text) {
        const std::size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
        const std::size_t from = begin == std::string::npos || at == 0 ? 0 : begin + 1;
        return orvo::platform::fromCp932(text.substr(from, text.find('\n', from) - from));
    };
    return u"%1 lines where %2 were expected; first difference: \"%3\" where \"%4\""_s
        .arg(std::count(got.begin(), got.end(), '\n'))
        .arg(std::count(expected.begin(), expected.end(), '\n'))
        .arg(lineAt(got), lineAt(expected));
}

// One day's group of records as text, as linesOf gives a whole list.
std::string linesOfDay(const std::map<std::string, std::vector<std::string>>& byDay,
                       const QString& day) {
    std::string lines;
    if (const auto it = byDay.find(day.toStdString()); it != byDay.end())
        for (const std::string& line : it->second) lines += line + '\n';
    return lines;
}

// The day shown, and whether its view holds edits not yet written back.
QString shownDayState(const orvo::LedgerBook& book) {
    return u"%1 shown, %2 written back"_s.arg(QString::fromStdString(book.pickedDay().format()),
                                              book.dayViewChanged() ? u"edits not"_s : u"all"_s);
}

const int kKeys[] = {
    Qt::Key_A,       Qt::Key_1,         Qt::Key_5,      Qt::Key_0,      Qt::Key_Minus,
    Qt::Key_Plus,    Qt::Key_Space,     Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Tab,
    Qt::Key_Backtab, Qt::Key_Escape,    Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,
    Qt::Key_Right,   Qt::Key_Home,      Qt::Key_End,    Qt::Key_PageUp, Qt::Key_PageDown,
    Qt::Key_Delete,  Qt::Key_Backspace, Qt::Key_F2,     Qt::Key_F4,     Qt::Key_C,
    Qt::Key_V,       Qt::Key_X,         Qt::Key_Equal,  Qt::Key_Z,      Qt::Key_Y};
const Qt::KeyboardModifiers kModifiers[] = {Qt::NoModifier,      Qt::NoModifier,
                                            Qt::NoModifier,      Qt::ShiftModifier,
                                            Qt::ControlModifier, Qt::AltModifier};
const QString kTexts[] = {u"食費"_s, u"12"_s, u"ｱ"_s, u"😀"_s, u"1+2"_s};

class CrashHunt {
public:
    CrashHunt(MainWindowHarness& h, Random& random) : h_(h), random_(random) {}

    int reopened = 0;

    // One random input event; returns what it was, for the failure message.
    QString step() {
        // Some widgets run a menu in a nested loop (a text box's own menu, a
        // tool button's): the user would close it, so close what opens while
        // an event is still being delivered.
        const QScopedValueRollback delivering(delivering_, true);
        closeNestedLoops();
        // Undo and redo, often enough to cross many steps both ways.
        if (pick(random_, 25) == 0) {
            const bool redo = pick(random_, 3) == 0;
            QTest::keyClick(h_.grid(), redo ? Qt::Key_Y : Qt::Key_Z, Qt::ControlModifier);
            return redo ? u"key Ctrl+Y"_s : u"key Ctrl+Z"_s;
        }
        // A window that random clicks seldom reach through its menu.
        if (pick(random_, 150) == 0) {
            h_.action("mnuRestore")->trigger();
            return u"menu バックアップから復元..."_s;
        }
        return randomEvent(someWindow());
    }

private:
    void closeNestedLoops() {
        QTimer::singleShot(10, &context_, [this] {
            if (!delivering_) return;
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popup->close();
            } else if (QWidget* modal = QApplication::activeModalWidget(); modal && !inModal_) {
                // A modal window (search, settings, preview) runs its own loop:
                // it gets a few events of its own, then the user closes it.
                const QScopedValueRollback nested(inModal_, true);
                const QPointer<QWidget> window = modal;
                for (int i = 0; i < 12 && window && window->isVisible(); ++i) {
                    randomEvent(window);
                    MainWindowHarness::settle();
                }
                if (window && window->isVisible()) window->close();
            }
            closeNestedLoops();
        });
    }

    QString randomEvent(const QPointer<QWidget>& window) {
        const QList<QWidget*> widgets = visibleWidgetsOf(window);
        QWidget* target = widgets[pick(random_, widgets.size())];
        // Named before the event: the event may destroy it (a cell editor).
        const QString name = describe(target);
        const QPoint global = target->mapToGlobal(somePointIn(target->rect()));
        const Qt::KeyboardModifiers modifiers = kModifiers[pick(random_, 6)];
        switch (pick(random_, 8)) {
            case 0:
            case 1:
                pressAt(window, global, QEvent::MouseButtonPress, modifiers);
                pressAt(window, global, QEvent::MouseButtonRelease, modifiers);
                return u"click "_s + name;
            case 2:
                for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonPress, QEvent::MouseButtonDblClick,
                                  QEvent::MouseButtonRelease}) {
                    pressAt(window, global, type);
                    MainWindowHarness::settle();
                }
                return u"double click "_s + name;
            case 3: {
                const QPoint to =
                    global + QPoint(pick(random_, 200) - 100, pick(random_, 120) - 60);
                pressAt(window, global, QEvent::MouseButtonPress, modifiers);
                pressAt(window, (global + to) / 2, QEvent::MouseMove, modifiers);
                pressAt(window, to, QEvent::MouseMove, modifiers);
                pressAt(window, to, QEvent::MouseButtonRelease, modifiers);
                return u"drag from "_s + name;
            }
            case 4: {
                QWidget* at = orvo::testing::widgetAt(window, global);
                QContextMenuEvent menu(QContextMenuEvent::Mouse, at->mapFromGlobal(global), global);
                const QString atName = describe(at);
                QApplication::sendEvent(at, &menu);
                return u"right click "_s + atName;
            }
            case 5: {
                QWidget* at = orvo::testing::widgetAt(window, global);
                QWheelEvent wheel(QPointF(at->mapFromGlobal(global)), QPointF(global), QPoint(),
                                  QPoint(0, pick(random_, 2) ? 120 : -120), Qt::NoButton,
                                  Qt::NoModifier, Qt::NoScrollPhase, false);
                const QString atName = describe(at);
                QApplication::sendEvent(at, &wheel);
                return u"wheel "_s + atName;
            }
            case 6: {
                const QString text = kTexts[pick(random_, 5)];
                // As the input method hands over a finished word.
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
                QApplication::sendEvent(focusOr(window), &press);
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
                QApplication::sendEvent(focusOr(window), &release);
                return u"type "_s + text;
            }
            default: {
                const int key = kKeys[pick(random_, static_cast<int>(std::size(kKeys)))];
                QTest::keyClick(focusOr(window), static_cast<Qt::Key>(key), modifiers);
                return u"key "_s + QKeySequence(key | modifiers.toInt()).toString();
            }
        }
    }

    QWidget* someWindow() {
        if (QWidget* popup = QApplication::activePopupWidget()) return popup;
        if (QWidget* modal = QApplication::activeModalWidget()) return modal;
        // A main window closed by a key or a button is opened again, so that
        // the hunt goes on where the edits are.
        if (!h_.form->isVisible()) {
            h_.form->show();
            ++reopened;
        }
        QList<QWidget*> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !qobject_cast<QMenu*>(w)) windows << w;
        return windows[pick(random_, windows.size())];
    }

    static QList<QWidget*> visibleWidgetsOf(QWidget* window) {
        QList<QWidget*> widgets{window};
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->isVisible() && w->window() == window && !w->rect().isEmpty()) widgets << w;
        return widgets;
    }

    QPoint somePointIn(const QRect& rect) {
        return {rect.left() + pick(random_, std::max(1, rect.width())),
                rect.top() + pick(random_, std::max(1, rect.height()))};
    }

    QWidget* focusOr(QWidget* window) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->isVisible()) return focus;
        return window ? window : h_.form.get();
    }

    static QString describe(const QWidget* w) {
        return QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName();
    }

    // The window may be gone after the last event (a pop-up closes itself):
    // then the event goes to the main window, as the screen would have it.
    QWidget* pressAt(const QPointer<QWidget>& window, const QPoint& global, QEvent::Type type,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* to = window && window->isVisible() ? window.data() : h_.form.get();
        return orvo::testing::pressAt(to, global, type, modifiers);
    }

    MainWindowHarness& h_;
    Random& random_;
    bool delivering_ = false;
    bool inModal_ = false;
    QObject context_;
};

int fromEnvironment(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

}  // namespace

class CrashHuntTest : public QObject {
    Q_OBJECT
private slots:
    void randomInputNeverEndsTheProgramNorTouchesOtherDays() {
        const int seed = fromEnvironment("ORVO_CRASH_HUNT_SEED", 20261208);
        const int events = fromEnvironment("ORVO_CRASH_HUNT_EVENTS", 3000);
        Random random(static_cast<Random::result_type>(seed));
        MainWindowHarness h;
        QStringList records;
        const QString days[] = {u"2026/10/14"_s, u"2026/10/15"_s, u"2026/10/16"_s, u"2026/11/01"_s};
        for (int i = 0; i < 40; ++i)
            records << days[i % 4] + u"\t食費\t外食\t"_s + QString::number(i * 37) + u"\t0\t"_s +
                           (i % 5 ? u"昼\x1b夜"_s : QString());
        h.writeRecord(h.writeLedger(u"hunt.dat"_s, records));
        // Copies for "バックアップから復元...", the ledger as it starts.
        QDir(h.path(QString())).mkdir(u"hunt.dat.backups"_s);
        for (const QString& copy : {u"hunt.2026-10-14.dat"_s, u"hunt.2026-10-01.dat"_s})
            QFile::copy(h.path(u"hunt.dat"_s), h.path(u"hunt.dat.backups/"_s + copy));
        RandomDialogs answers(random);
        h.start();
        orvo::forms::TOrvoDentaku calculator(h.form.get());
        calculator.setAttribute(Qt::WA_QuitOnClose, false);
        orvo::forms::TForm4 phrases(h.form.get(), h.form.get());
        orvo::forms::TForm2 settings(*h.form, h.path(u"Prin.ini"_s), h.form.get());
        h.form->setSettingsWindow(&settings);
        h.form->setCompanionWindows(&phrases, &calculator);
        calculator.showCalculator();
        // The statement window beside them: it reads the ledger and changes none.
        const orvo::TitleLists titles = orvo::DefaultTitleLists();
        orvo::forms::StatementImportWindow statementWindow(
            orvo::statement::readWholeFile(orvo::testing::fixturesFolder() +
                                           "/statement/card-cp932.csv"),
            h.book().records(), titles, orvo::platform::toNativePath(h.path(u"rules.txt"_s)),
            orvo::platform::toNativePath(h.path(u"layouts"_s)), h.form.get());
        statementWindow.setAttribute(Qt::WA_QuitOnClose, false);
        statementWindow.setModal(false);
        statementWindow.show();
        h.action("mnuSuii")->trigger();  // "家計の推移", left open among the others
        CrashHunt hunt(h, random);

        int writeBacks = 0;
        int restores = 0;
        // The ledger as the history starts (opened, or a copy restored):
        // undoing every step comes back to it.
        std::string start = linesOf(h.book().records());
        std::uint64_t droppedAtStart = 0;
        std::set<std::string> shownDays;
        for (int i = 0; i < events; ++i) {
            const auto before = recordsByDay(h.book().records());
            const std::string shownBefore = h.book().pickedDay().format();
            const std::string fileBefore = h.book().dataFileName();
            const std::uint64_t travelsBefore = h.book().history().travels();
            QString what;
            try {
                what = hunt.step();
                MainWindowHarness::settle();
            } catch (const std::exception& e) {
                // Out of an event handler an exception ends the program.
                QFAIL(qPrintable(u"seed %1, event %2 (%3): exception %4"_s.arg(seed).arg(i).arg(
                    what, QString::fromLocal8Bit(e.what()))));
            } catch (...) {
                QFAIL(
                    qPrintable(u"seed %1, event %2 (%3): exception"_s.arg(seed).arg(i).arg(what)));
            }
            const auto after = recordsByDay(h.book().records());
            if (after != before) ++writeBacks;
            if (h.book().history().steps() == 0) {
                start = linesOf(h.book().records());
                droppedAtStart = h.book().history().dropped();
            }
            // Undo and redo take back and bring again whole steps, of any day.
            if (h.book().history().travels() != travelsBefore) continue;
            shownDays.insert(h.book().pickedDay().format());
            // A copy restored in place of the ledger is another ledger, no edit.
            const bool replaced = h.book().dataFileName() != fileBefore;
            restores += replaced;
            const QStringList changed =
                replaced ? QStringList()
                         : changedDays(before, after, {shownBefore, h.book().pickedDay().format()});
            if (!changed.isEmpty())  // (and how the first of them changed)
                QFAIL(qPrintable(
                    u"seed %1, event %2 (%3) changed the records of %4: "_s.arg(seed).arg(i).arg(
                        what, changed.join(u", "_s)) +
                    firstDifference(linesOfDay(after, changed.first()),
                                    linesOfDay(before, changed.first())) +
                    u"; "_s + shownDayState(h.book())));
        }
        qInfo("seed %d: %d events, %d changed the records, %zu days shown, %d closes, %d restores",
              seed, events, writeBacks, shownDays.size(), hunt.reopened, restores);
        // Every step undone, the ledger is as the history started; redone, as it ended.
        // First what the last events left pending (a date typed into the
        // calendar lands after a pause) and any popup the user would close.
        QTest::qWait(2000);
        while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        h.delegate()->commitOpenEditor();
        MainWindowHarness::settle();
        // The ledger as a save would write it: edits the day view holds and has
        // not yet written back are part of it, and going through the history
        // may write them back (a write-back joins the step before it). One
        // with an amount that is no number stays in the view, as a save would refuse it.
        const auto writeBack = [&] {
            try {
                h.book().Recalculate();
            } catch (const orvo::OrvoError&) {
            }
        };
        writeBack();
        const std::string end = linesOf(h.book().records());
        const std::uint64_t made = h.book().history().made();
        const QString endState = u"; at the end "_s + shownDayState(h.book());
        int undone = 0;
        QStringList stepNames;  // newest first, for a failure's message
        while (h.book().canUndo()) {
            stepNames << orvo::platform::fromCp932(orvo::stepName(*h.book().undoKind()));
            h.action("mnuUndo")->trigger();
            ++undone;
        }
        QCOMPARE(h.book().history().made(), made);  // undoing made no step of its own
        if (h.book().history().dropped() == droppedAtStart) {
            const std::string undoneLines = linesOf(h.book().records());
            QVERIFY2(undoneLines == start,
                     qPrintable(u"seed %1, %2 steps undone: "_s.arg(seed).arg(undone) +
                                firstDifference(undoneLines, start)));
        }
        while (h.book().canRedo()) h.action("mnuRedo")->trigger();
        QCOMPARE(h.book().history().made(), made);
        writeBack();
        const std::string redoneLines = linesOf(h.book().records());
        QVERIFY2(redoneLines == end,
                 qPrintable(u"seed %1, %2 steps redone: "_s.arg(seed).arg(undone) +
                            firstDifference(redoneLines, end) + endState + u"; steps "_s +
                            stepNames.join(u", "_s)));
        qInfo("%d steps undone and redone", undone);
        // The cumulative totals still add up the records.
        std::int32_t out = 0, in = 0;
        std::vector<std::string> fields;
        h.book().records().forEach([&](std::string_view line) {
            orvo::splitRecordInto(line, fields);
            // (Columns deleted before a write-back leave records without amounts.)
            if (fields.size() > 3)
                out = orvo::wrapAdd(out, orvo::parseAmount(fields[3]).value_or(0));
            if (fields.size() > 4) in = orvo::wrapAdd(in, orvo::parseAmount(fields[4]).value_or(0));
        });
        QCOMPARE(h.book().totals().allOut, out);
        QCOMPARE(h.book().totals().allIn, in);
    }
};

QTEST_MAIN(CrashHuntTest)
#include "CrashHuntTest.moc"
