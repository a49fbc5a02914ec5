// The sleeping tick against the polling one: the same task files driven through a tick on every
// 200 ms beat, and through TickDriver with the main window hidden, on a simulated clock. Every
// firing (which task, in which second, in which order) and the task file after every event must
// be the same.
#include "Context.h"
#include "Scheduler.h"
#include "support/CoreFixture.h"
#include "support/FileHelpers.h"
#include "support/SimWakeup.h"
#include "support/TestMain.h"
#include "Tasklist.h"
#include "Tickdriver.h"
#include "Tickplan.h"
#include "Wakeuptimer.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(const QString &time, int day = 5, int month = 1, int year = 2004)
{
    return QDateTime(QDate(year, month, day), QTime::fromString(time, QStringLiteral("H:mm:ss.zzz")));
}

// Something the test does at a moment, as a user would (an edit, showing the window).
struct Step {
    QDateTime moment;
    std::function<void(CoreFixture &)> action;
};

// One run of the program on the simulated clock. The trace holds every firing with its moment,
// and the task file after every firing and every re-arming.
struct Run {
    CoreFixture f;
    SimHelperTimer helper;
    QStringList trace;
    int ticks = 0;

    Run(const QList<TaskFields> &tasks, const QDateTime &start)
    {
        f.writeTasks(tasks);
        f.clock.set(start);
        helper.clock = &f.clock;
        f.ctx.helperTimer = &helper;
        f.actions.whileOpen = [this](const QString &call) {
            trace << f.clock.now.toString(u"HH:mm:ss.zzz"_s) + u' ' + call;
            trace << QString::fromLatin1(readBytes(f.ctx.taskFilePath).toHex());
        };
        // Program start: the list, then the catch-up.
        RebuildTaskList(f.ctx);
        RearmFiredTasks(f.ctx);
    }

    void rearm()
    {
        helper.next = helper.next.addMSecs(5000);
        try {
            RearmFiredTasks(f.ctx);
        } catch (const std::exception &) {
            trace << u"rearm failed"_s;
        }
        trace << u"rearmed " + f.fileStates().join(u',');
    }

    void tick()
    {
        ++ticks;
        SchedulerTick(f.ctx);
    }
};

// The reference: a tick on every beat from the start to the end.
QStringList pollingTrace(
    const QList<TaskFields> &tasks, const QDateTime &start, const QDateTime &end, const QList<Step> &steps)
{
    Run run(tasks, start);
    QList<Step> pending = steps;
    QDateTime beat = TickDriver::NextBeat(start);
    while (true) {
        QDateTime next = beat;
        if (run.helper.next.isValid() && run.helper.next <= next)
            next = run.helper.next;
        if (!pending.isEmpty() && pending.first().moment <= next)
            next = pending.first().moment;
        if (next > end)
            break;
        run.f.clock.set(next);
        if (!pending.isEmpty() && pending.first().moment == next) {
            pending.takeFirst().action(run.f);
        } else if (run.helper.next == next) {
            run.rearm();
        } else {
            run.tick();
            beat = beat.addMSecs(TickDriver::kBeatMs);
        }
    }
    run.trace << u"end " + QString::fromLatin1(readBytes(run.f.ctx.taskFilePath).toHex());
    return run.trace;
}

// The sleeping driver with the window hidden; wakeCount receives how often it woke.
QStringList sleepingTrace(const QList<TaskFields> &tasks, const QDateTime &start, const QDateTime &end,
    const QList<Step> &steps, int *wakeCount = nullptr)
{
    Run run(tasks, start);
    SimWakeup wakeup;
    TickDriver driver(run.f.ctx, wakeup);
    driver.setWindowVisible(false);
    QList<Step> pending = steps;
    int wakes = 0;
    while (true) {
        QDateTime next = wakeup.armed;
        if (run.helper.next.isValid() && (!next.isValid() || run.helper.next <= next))
            next = run.helper.next;
        if (!pending.isEmpty() && (!next.isValid() || pending.first().moment <= next))
            next = pending.first().moment;
        if (!next.isValid() || next > end)
            break;
        run.f.clock.set(next);
        if (!pending.isEmpty() && pending.first().moment == next) {
            pending.takeFirst().action(run.f);
        } else if (run.helper.next == next) {
            run.rearm();
        } else {
            ++wakes;
            wakeup.fire();
        }
        // Back in the event loop: a table change is planned now.
        QCoreApplication::sendPostedEvents();
    }
    if (wakeCount)
        *wakeCount = wakes;
    run.trace << u"end " + QString::fromLatin1(readBytes(run.f.ctx.taskFilePath).toHex());
    return run.trace;
}

TaskFields oneShot(const QString &time, const QString &date, const QString &what)
{
    return makeTask("1", time, date, what);
}

TaskFields everyDay(const QString &time, const QString &what)
{
    return makeTask("6", time, "NULL", "NULL", what);
}

TaskFields birthday(const QString &date, const QString &name, const QString &state = u"true"_s)
{
    return makeTask("7", "NULL", date, u"С днём рождения!"_s, name, state);
}

} // namespace

Q_DECLARE_METATYPE(QList<TaskFields>)

// An every-day task running /bin/x at 9:30:00, and the driver of a hidden window started at
// `now`.
struct HiddenWithOneTask {
    explicit HiddenWithOneTask(const QDateTime &now)
    {
        f.writeTasks({everyDay("9:30:00", "/bin/x")});
        f.clock.set(now);
        RebuildTaskList(f.ctx);
        driver = std::make_unique<TickDriver>(f.ctx, wakeup);
        driver->setWindowVisible(false);
    }
    CoreFixture f;
    SimWakeup wakeup;
    std::unique_ptr<TickDriver> driver;
};

class TickDriverTest : public QObject {
    Q_OBJECT

private slots:
    void sleepingFiresExactlyLikePolling_data()
    {
        QTest::addColumn<QList<TaskFields>>("tasks");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("firings");

        const QString day = u"5 января 2004"_s;
        QList<TaskFields> ten;
        for (int i = 0; i < 10; ++i)
            ten << oneShot("9:05:00", day, QString::number(i));

        QTest::newRow("one-shot") << QList<TaskFields> {oneShot("9:05:00", day, "a")} << at("9:04:58.371")
                                  << 10 << 1;
        QTest::newRow("one-shot that passed, and bad texts")
            << QList<TaskFields> {oneShot("9:04:00", day, "late"), everyDay("09:05:00", "zero"),
                   oneShot("9:05:00", u"5 января 2004 "_s, "blank")}
            << at("9:04:58.000") << 10 << 0;
        QTest::newRow("every day, fired, re-armed after 5 s, and again the next day") << QList<TaskFields> {
            everyDay("9:05:00", "/bin/daily")} << at("9:04:59.950") << 24 * 3600 + 5 << 2;
        QTest::newRow("two in one second, file order")
            << QList<TaskFields> {oneShot("9:05:00", day, "first"), everyDay("9:05:00", "/bin/second")}
            << at("9:04:59.100") << 8 << 2;
        QTest::newRow("ten in one second: those the beats reach") << ten << at("9:04:59.500") << 8 << 5;
        QTest::newRow("ten in one second, started inside it") << ten << at("9:05:00.450") << 8 << 2;
        QTest::newRow("birthday today fires at once; an every-day re-arm turns it off")
            << QList<TaskFields> {birthday(u"5 января "_s, "Ivan"), everyDay("9:05:03", "/bin/x")}
            << at("9:05:00.000") << 20 << 2;
        QTest::newRow("fired birthday stays fired through its day")
            << QList<TaskFields> {birthday(u"5 января "_s, "Ivan", u"falseM"_s),
                   everyDay("9:05:03", "/bin/x")}
            << at("9:05:00.000") << 20 << 1;
        QTest::newRow("across midnight")
            << QList<TaskFields> {everyDay("0:00:01", "/bin/night"), birthday(u"6 января "_s, "Anna"),
                   oneShot("0:00:00", u"6 января 2004"_s, "new day"), oneShot("23:59:59", day, "old day")}
            << at("23:59:50.777") << 20 << 4;
        QTest::newRow("inactive and fired tasks do not fire")
            << QList<TaskFields> {makeTask("1", "9:05:00", day, "off", "NULL", "false"),
                   makeTask("6", "9:05:01", "NULL", "NULL", "/bin/fired", "falseM")}
            << at("9:04:58.000") << 10 << 1;
    }

    void sleepingFiresExactlyLikePolling()
    {
        QFETCH(QList<TaskFields>, tasks);
        QFETCH(QDateTime, start);
        QFETCH(int, seconds);
        QFETCH(int, firings);
        const QDateTime end = start.addSecs(seconds);
        const QStringList polled = pollingTrace(tasks, start, end, {});
        int wakes = 0;
        const QStringList slept = sleepingTrace(tasks, start, end, {}, &wakes);
        QCOMPARE(slept, polled);
        QCOMPARE(polled.filter(QRegularExpression(u"^\\d\\d:"_s)).size(), firings);
        // It sleeps: a handful of beats per firing and a plan a day, not five ticks a second.
        QVERIFY2(wakes <= 5 * firings + seconds / 86400 + 2, qPrintable(QString::number(wakes)));
    }

    // Edits while hidden: the driver plans again at once.
    void sleepingFollowsEditsLikePolling()
    {
        const QString day = u"5 января 2004"_s;
        const QDateTime start = at("9:00:00.000");
        const QList<Step> steps {
            {at("9:00:01.333"),
                [&](CoreFixture &f) {
                    TxtFile file;
                    file.FileName = f.ctx.taskFilePath;
                    file.Load();
                    AppendTask(file, oneShot("9:00:03", day, "added"));
                    AppendTask(file, birthday(u"5 января "_s, "today"));
                    file.Modified = true;
                    file.Save();
                    RebuildTaskList(f.ctx);
                }},
            {at("9:00:05.100"),
                [&](CoreFixture &f) {
                    SetTaskTicked(f.ctx, 0, true); // the user ticks the inactive task back on
                    StoreTickStates(f.ctx);
                    RebuildTaskList(f.ctx);
                }},
        };
        const QList<TaskFields> tasks {makeTask("6", "9:00:06", "NULL", "NULL", "/bin/ticked", "false")};
        const QDateTime end = start.addSecs(12);
        const QStringList polled = pollingTrace(tasks, start, end, steps);
        QCOMPARE(sleepingTrace(tasks, start, end, steps), polled);
        QCOMPARE(polled.filter(QRegularExpression(u"^\\d\\d:"_s)),
            QStringList({u"09:00:01.400 birthday|С днём рождения!|today"_s,
                u"09:00:03.000 remind|added|NULL"_s, u"09:00:06.000 run|/bin/ticked"_s}));
    }

    void visibleWindow_ticksOnEveryBeatFromTheSecond()
    {
        CoreFixture f;
        f.clock.set(at("9:00:00.517"));
        RebuildTaskList(f.ctx);
        SimWakeup wakeup;
        TickDriver driver(f.ctx, wakeup);
        driver.setWindowVisible(true);
        QStringList beats;
        for (int i = 0; i < 7; ++i) {
            beats << wakeup.armed.toString(u"HH:mm:ss.zzz"_s);
            f.clock.set(wakeup.armed.addMSecs(3)); // woken a little late
            wakeup.fire();
        }
        QCOMPARE(beats,
            QStringList({u"09:00:00.600"_s, u"09:00:00.800"_s, u"09:00:01.000"_s, u"09:00:01.200"_s,
                u"09:00:01.400"_s, u"09:00:01.600"_s, u"09:00:01.800"_s}));
        QCOMPARE(f.view.clockUpdates, 7);
        QCOMPARE(f.view.clockTime, u"9:00:01"_s);

        // Hidden with nothing to do: one wake-up a day, to plan again; it does not tick.
        driver.setWindowVisible(false);
        QCOMPARE(wakeup.armed, at("9:00:02.000", 6));
        f.clock.set(wakeup.armed);
        wakeup.fire();
        QCOMPARE(f.view.clockUpdates, 7);
        QCOMPARE(wakeup.armed, at("9:00:02.000", 7));
    }

    void clockSetBack_plansFromTheNewReading()
    {
        HiddenWithOneTask p(at("10:00:00.000"));
        QCOMPARE(p.wakeup.armed, at("9:30:00.000", 6));
        p.f.clock.set(at("9:00:00.000"));
        p.wakeup.clockWasSet();
        QCOMPARE(p.wakeup.armed, at("9:30:00.000"));
    }

    // The wake for a due second is set at the second itself. Should it come a moment early (a
    // clock that reads the old second), nothing fires early and the task fires once the second
    // has come.
    void earlyWake_firesNothingEarly_andTheTaskAtItsSecond()
    {
        HiddenWithOneTask p(at("9:00:00.000"));
        QCOMPARE(p.wakeup.armed, at("9:30:00.000"));
        QStringList fired;
        p.f.actions.whileOpen
            = [&](const QString &call) { fired << p.f.clock.now.toString(u"HH:mm:ss.zzz"_s) + u' ' + call; };

        p.f.clock.set(at("9:29:59.999"));
        p.wakeup.fire();
        QCOMPARE(fired, QStringList());
        QCOMPARE(p.wakeup.armed, at("9:30:00.000"));
        p.f.clock.set(p.wakeup.armed);
        p.wakeup.fire();
        QCOMPARE(fired, QStringList({u"09:30:00.000 run|/bin/x"_s}));
    }

    // A notice keeps its own event loop running while it is open: the tasks due meanwhile fire
    // from that loop, so the plan made after a firing must not wait for the notice to close.

    void taskDueWhileANoticeIsOpen_firesFromTheNoticesLoop()
    {
        const QString day = u"5 января 2004"_s;
        CoreFixture f;
        f.writeTasks({oneShot("9:05:00", day, "first"), oneShot("9:05:01", day, "second")});
        f.clock.set(at("9:04:59.500"));
        RebuildTaskList(f.ctx);
        SimWakeup wakeup;
        TickDriver driver(f.ctx, wakeup);
        driver.setWindowVisible(false);
        QStringList fired;
        f.actions.whileOpen = [&](const QString &call) {
            fired << f.clock.now.toString(u"HH:mm:ss.zzz"_s) + u' ' + call;
            if (fired.size() > 1)
                return;
            QCoreApplication::sendPostedEvents(); // the notice's loop runs
            QVERIFY(wakeup.armed.isValid());
            f.clock.set(wakeup.armed);
            wakeup.fire();
        };
        f.clock.set(wakeup.armed);
        wakeup.fire();
        QCOMPARE(
            fired, QStringList({u"09:05:00.000 remind|first|NULL"_s, u"09:05:01.000 remind|second|NULL"_s}));
        QCOMPARE(f.fileStates(), QStringList());
    }

    void destroyedDriver_leavesTheContextWithoutAListener()
    {
        CoreFixture f;
        SimWakeup wakeup;
        {
            TickDriver driver(f.ctx, wakeup);
            driver.setWindowVisible(true);
            QVERIFY(f.ctx.activeTasksChanged);
        }
        QVERIFY(!f.ctx.activeTasksChanged);
        QVERIFY(!wakeup.armed.isValid());
        RebuildTaskList(f.ctx); // must not call into the destroyed driver
    }
};

ZARVO_TEST_GUILESS_MAIN(TickDriverTest)
#include "test_tickdriver.moc"
