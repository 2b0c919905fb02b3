// Stepping days in the main window on a large ledger (1M records unless
// given), as the user does with the mouse and keyboard: ">" clicked again and
// again, the date picker's day stepped with the arrow key held down (auto-
// repeating key steps it as a single press does), and ">" clicked after each visit to the grid (so
// that every step writes the unchanged day back). Each step is timed up to the end of the repaint
// it causes; the widgets repainted during the steps are listed. Runs on Qt's offscreen platform
// unless another is set.
//   day_step_bench [RECORDS] [STEPS]

#include <QAbstractItemView>
#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "base/AtomicFile.h"
#include "bench/LedgerGenerator.h"
#include "bench/WindowOnGeneratedLedger.h"
#include "forms/main/Unit1.h"
#include "platform/Fonts.h"
#include "platform/ProgramFiles.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Counts the paint events each widget receives while it is on.
class PaintCounter : public QObject {
public:
    bool on = false;
    QMap<QString, int> counts;
    QMap<QString, double> us;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (on && event->type() == QEvent::Paint) {
            // The widget's classes up to its nearest named ancestor.
            QString name;
            for (QObject* o = watched; o; o = o->parent()) {
                const QString own = o->objectName();
                if (!own.isEmpty() && !own.startsWith(u"qt_"_s)) {
                    name = name.isEmpty() ? own : own + u'/' + name;
                    break;
                }
                const QString cls = QString::fromLatin1(o->metaObject()->className());
                name = name.isEmpty() ? cls : cls + u'/' + name;
            }
            ++counts[name];
            // The paint itself, timed: the widget handles the event here.
            QElapsedTimer t;
            t.start();
            on = false;
            const bool handled = QCoreApplication::sendEvent(watched, event);
            on = true;
            us[name] += static_cast<double>(t.nsecsElapsed()) / 1e3;
            return handled;
        }
        return false;
    }
};

// Lets every posted event, the repaints included, run.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void report(const char* what, std::vector<double> us, PaintCounter& paints, int steps) {
    std::sort(us.begin(), us.end());
    double sum = 0;
    for (double u : us) sum += u;
    std::printf("%-44s mean %8.1f us  median %8.1f us  max %8.1f us\n", what, sum / us.size(),
                us[us.size() / 2], us.back());
    std::printf("    repainted per step:");
    for (auto it = paints.counts.cbegin(); it != paints.counts.cend(); ++it)
        std::printf(" %s %.2f (%.0f us)", qPrintable(it.key()),
                    static_cast<double>(it.value()) / steps, paints.us[it.key()] / steps);
    std::printf("\n");
    paints.counts.clear();
    paints.us.clear();
}

std::vector<double> timeSteps(int steps, PaintCounter& paints, const std::function<void()>& step,
                              const std::function<void()>& between = {}) {
    std::vector<double> us;
    QElapsedTimer timer;
    for (int i = 0; i < steps; ++i) {
        if (between) between();
        timer.start();
        paints.on = true;
        step();
        settle();
        paints.on = false;
        us.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e3);
    }
    return us;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    orvo::platform::installFontSubstitutions();
    const std::size_t records = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1'000'000;
    const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;

    QTemporaryDir dir;
    const QString record = orvo::bench::writeGeneratedLedgerFolder(dir, records);

    // A day in the middle of the generated ledger.
    const orvo::LedgerDate start{2040, 1, 1};
    orvo::forms::TForm1 window(orvo::forms::StartOptions{start, record});
    window.show();
    QApplication::setActiveWindow(&window);
    settle();
    std::printf("ledger: %zu records, %d steps per way\n", window.ledger().records().size(), steps);

    PaintCounter paints;
    app.installEventFilter(&paints);
    auto* next = window.findChild<QPushButton*>(u"Button2"_s);
    auto* picker = window.findChild<QDateEdit*>(u"DateTimePicker1"_s);
    auto* grid = window.findChild<QAbstractItemView*>(u"StringGrid1"_s);

    report("\">\" clicked",
           timeSteps(steps, paints, [&] { QTest::mouseClick(next, Qt::LeftButton); }), paints,
           steps);

    picker->setFocus(Qt::TabFocusReason);
    picker->setCurrentSection(QDateTimeEdit::DaySection);
    settle();
    // Held down, the key steps the picker by its own repeat timer, through the
    // same step as a single press.
    // The day section stops at the month's end; the next month is picked
    // between the timed steps.
    const auto nextMonthAtItsEnd = [&] {
        const QDate d = picker->date();
        if (d.day() < d.daysInMonth()) return;
        picker->setDate(d.addDays(1));
        picker->setCurrentSection(QDateTimeEdit::DaySection);
        settle();
    };
    report("picker's day, Up pressed",
           timeSteps(
               steps, paints, [&] { QTest::keyClick(picker, Qt::Key_Up); }, nextMonthAtItsEnd),
           paints, steps);

    // The grid entered before each step: every step writes the day back.
    // An amount cell, which no title drop-down covers.
    const QPoint cell = grid->visualRect(grid->model()->index(0, 2)).center();
    report("grid entered, then \">\" clicked",
           timeSteps(steps, paints,
                     [&] {
                         QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
                         QTest::mouseClick(next, Qt::LeftButton);
                     }),
           paints, steps);
    std::printf("last day shown: %s\n", window.ledger().pickedDay().format().c_str());
    window.hide();
    return 0;
}
