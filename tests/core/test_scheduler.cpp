#include "support/TestMain.h"
#include "Context.h"
#include "Messages.h"
#include "Scheduler.h"
#include "support/CoreFixture.h"
#include "support/FileHelpers.h"
#include "Tasklist.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString T = QStringLiteral("true");
const QString F = QStringLiteral("false");
const QString FM = QStringLiteral("falseM");

// Monday 5 January 2004.
QDateTime at(const QString &time, int day = 5, int month = 1, int year = 2004)
{
    return QDateTime(QDate(year, month, day), QTime::fromString(time, QStringLiteral("H:mm:ss.zzz")));
}

// Ticks every 200 ms from the clock's moment, as TimerMain does, count times.
void tickFor(CoreFixture &f, int count)
{
    for (int i = 0; i < count; ++i) {
        SchedulerTick(f.ctx);
        f.clock.advanceMs(200);
    }
}

// Program start: the list is rebuilt, then fired tasks are re-armed once.
void startUp(CoreFixture &f)
{
    RebuildTaskList(f.ctx);
    RearmFiredTasks(f.ctx);
}

} // namespace

class SchedulerTest : public QObject {
    Q_OBJECT

private slots:
    void tick_refreshesTheClockLabelsFromOneReading()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", u"5 января 2004"_s, "NULL", "NULL", F)});
        RebuildTaskList(f.ctx);
        const QByteArray bytes = readBytes(f.ctx.taskFilePath);
        f.clock.set(at("9:05:00.300"));
        SchedulerTick(f.ctx);
        QCOMPARE(f.view.clockTime, QStringLiteral("9:05:00"));
        QCOMPARE(f.view.clockDate, QStringLiteral("5 января 2004 г."));
        QCOMPARE(f.view.clockWeekday, QStringLiteral("Понед."));
        QCOMPARE(f.actions.calls, QStringList());
        QCOMPARE(readBytes(f.ctx.taskFilePath), bytes);

        f.clock.set(at("23:59:59.999", 4)); // a Sunday
        SchedulerTick(f.ctx);
        QCOMPARE(f.view.clockTime, QStringLiteral("23:59:59"));
        QCOMPARE(f.view.clockDate, QStringLiteral("4 января 2004 г."));
        QCOMPARE(f.view.clockWeekday, QStringLiteral("Воскр."));
    }

    void isEntryDue_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("due");
        QTest::newRow("one-shot, its second") << "9:05:00" << u"5 января 2004"_s << true;
        QTest::newRow("one-shot, next second") << "9:05:01" << u"5 января 2004"_s << false;
        QTest::newRow("one-shot, other year") << "9:05:00" << u"5 января 2005"_s << false;
        QTest::newRow("one-shot, leading zero") << "09:05:00" << u"5 января 2004"_s << false;
        QTest::newRow("one-shot, padded day") << "9:05:00" << u"05 января 2004"_s << false;
        QTest::newRow("every-day, its second") << "9:05:00"
                                               << "NULL" << true;
        QTest::newRow("every-day, other second") << "9:04:59"
                                                 << "NULL" << false;
        QTest::newRow("birthday, its day") << "NULL" << u"5 января "_s << true;
        QTest::newRow("birthday without the blank") << "NULL" << u"5 января"_s << false;
        QTest::newRow("birthday, other day") << "NULL" << u"6 января "_s << false;
        QTest::newRow("birthday with a year") << "NULL" << u"5 января 2004"_s << false;
        QTest::newRow("both NULL") << "NULL"
                                   << "NULL" << false;
    }
    void isEntryDue()
    {
        QFETCH(QString, time);
        QFETCH(QString, date);
        QFETCH(bool, due);
        QCOMPARE(IsEntryDue({time, date}, MomentTexts::Of(at("9:05:00.700"))), due);
    }

    // The file is settled before the action runs: the fake action looks at it while "open".
    void fire_settlesTheFileBeforeTheAction_data()
    {
        QTest::addColumn<TaskFields>("task");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("statesDuringAction"); // empty: the block is gone
        QTest::addColumn<QStringList>("timerCalls");
        const QStringList none;
        const QStringList restart {"disable", "enable"};
        QTest::newRow("one-shot reminder")
            << makeTask("1", "9:05:00", u"5 января 2004"_s, "abc ", "/snd/a.wav") << "remind|abc |/snd/a.wav"
            << QStringList {F} << none;
        QTest::newRow("every-day reminder without sound")
            << makeTask("1", "9:05:00", "NULL", "abc ") << "remind|abc |NULL" << QStringList {F, FM}
            << restart;
        QTest::newRow("one-shot shutdown") << makeTask("2", "9:05:00", u"5 января 2004"_s)
                                           << "countdown|shutdown" << QStringList {F} << none;
        QTest::newRow("every-day shutdown")
            << makeTask("2", "9:05:00", "NULL") << "countdown|shutdown" << QStringList {F, FM} << restart;
        QTest::newRow("reboot") << makeTask("3", "9:05:00", "NULL") << "countdown|reboot"
                                << QStringList {F, FM} << restart;
        QTest::newRow("log off") << makeTask("4", "9:05:00", u"5 января 2004"_s) << "logoff"
                                 << QStringList {F} << none;
        QTest::newRow("screen saver")
            << makeTask("5", "9:05:00", "NULL") << "screensaver" << QStringList {F, FM} << restart;
        QTest::newRow("one-shot program")
            << makeTask("6", "9:05:00", u"5 января 2004"_s, "NULL", "C:\\Tools\\x.exe")
            << "run|C:\\Tools\\x.exe" << QStringList {F} << none;
        QTest::newRow("birthday") << makeTask("7", "NULL", u"5 января "_s, u"Поздравь "_s, u"Иван"_s)
                                  << u"birthday|Поздравь |Иван"_s << QStringList {F, FM} << restart;
    }
    void fire_settlesTheFileBeforeTheAction()
    {
        QFETCH(TaskFields, task);
        QFETCH(QString, call);
        QFETCH(QStringList, statesDuringAction);
        QFETCH(QStringList, timerCalls);
        CoreFixture f;
        // An inactive task first, so the fired one is not row 0 and the row walk is exercised.
        f.writeTasks({makeTask("2", "9:05:00", "NULL", "NULL", "NULL", F), task});
        RebuildTaskList(f.ctx);
        QStringList states;
        QList<bool> ticks;
        int entries = -1;
        f.actions.whileOpen = [&](const QString &) {
            states = f.fileStates();
            ticks = f.view.ticks();
            entries = int(f.ctx.activeTasks.size());
        };
        f.clock.set(at("9:05:00.050"));
        tickFor(f, 5);
        QCOMPARE(f.actions.calls, QStringList {call});
        QCOMPARE(states, statesDuringAction);
        QCOMPARE(ticks, QList<bool>(statesDuringAction.size(), false));
        QCOMPARE(entries, 0);
        QCOMPARE(f.helperTimer.calls, timerCalls);
        QCOMPARE(f.fileStates(), statesDuringAction); // closing the notice changes nothing more
    }

    void fire_unknownTypeDoesTheBookkeepingOnly()
    {
        CoreFixture f;
        f.writeTasks({makeTask("8", "9:05:00", u"5 января 2004"_s), makeTask("8", "9:05:00", "NULL")});
        RebuildTaskList(f.ctx);
        f.clock.set(at("9:05:00.000"));
        tickFor(f, 5);
        QCOMPARE(f.actions.calls, QStringList());
        QCOMPARE(f.fileStates(), QStringList {FM});
    }

    void sameSecond_firesOnePerTickInFileOrder_data()
    {
        QTest::addColumn<int>("tasks");
        QTest::addColumn<QString>("firstTick");
        QTest::addColumn<int>("fired");
        QTest::newRow("two tasks") << 2 << "9:05:00.000" << 2;
        QTest::newRow("ten tasks, ticks from the start of the second") << 10 << "9:05:00.100" << 5;
        QTest::newRow("ten tasks, first tick late in the second") << 10 << "9:05:00.500" << 3;
    }
    void sameSecond_firesOnePerTickInFileOrder()
    {
        QFETCH(int, tasks);
        QFETCH(QString, firstTick);
        QFETCH(int, fired);
        CoreFixture f;
        QList<TaskFields> list;
        for (int i = 0; i < tasks; ++i)
            list << makeTask("6", "9:05:00", u"5 января 2004"_s, "NULL", QStringLiteral("/bin/p%1").arg(i));
        f.writeTasks(list);
        RebuildTaskList(f.ctx);
        f.clock.set(at(firstTick));
        tickFor(f, 15); // three seconds of ticks
        QStringList expected;
        for (int i = 0; i < fired; ++i)
            expected << QStringLiteral("run|/bin/p%1").arg(i);
        QCOMPARE(f.actions.calls, expected);
        QCOMPARE(f.fileStates(), QStringList(tasks - fired, T));
        if (fired < tasks) // the first task left is the first one the ticks did not reach
            QCOMPARE(
                f.view.RowText(0), QStringLiteral("6Запустить: p%1 [9:05:00] <5 января 2004>").arg(fired));
    }

    // While a notice is open the event loop keeps ticking: the open task is not fired again, the
    // next due one is.
    void reentrantTick_firesTheNextTaskButNotTheOpenOne()
    {
        CoreFixture f;
        f.writeTasks({makeTask("1", "9:05:00", "NULL", "first "),
            makeTask("1", "9:05:00", u"5 января 2004"_s, "second "),
            makeTask("6", "9:05:01", "NULL", "NULL", "/bin/later")});
        RebuildTaskList(f.ctx);
        int depth = 0;
        QStringList statesInSecond;
        f.actions.whileOpen = [&](const QString &call) {
            if (call == QStringLiteral("remind|second |NULL"))
                statesInSecond = f.fileStates();
            if (depth > 0 || !call.startsWith(QStringLiteral("remind|first")))
                return;
            ++depth;
            tickFor(f, 10); // the first notice stays open for two seconds
            --depth;
        };
        f.clock.set(at("9:05:00.100"));
        tickFor(f, 20);
        QCOMPARE(
            f.actions.calls, (QStringList {"remind|first |NULL", "remind|second |NULL", "run|/bin/later"}));
        QCOMPARE(statesInSecond, (QStringList {FM, T}));
        QCOMPARE(f.fileStates(), (QStringList {FM, FM}));
    }

    void everyDay_rearmsAfterItsSecondAndFiresAgainNextDay()
    {
        CoreFixture f;
        f.writeTasks({makeTask("5", "9:05:00", "NULL")});
        RebuildTaskList(f.ctx);
        f.clock.set(at("9:05:00.100"));
        SchedulerTick(f.ctx);
        QCOMPARE(f.fileStates(), QStringList {FM});
        QCOMPARE(f.helperTimer.enabled, true);

        f.clock.set(at("9:05:00.900")); // still inside its second: it keeps waiting
        RearmFiredTasks(f.ctx);
        QCOMPARE(f.fileStates(), QStringList {FM});
        QCOMPARE(f.view.ticks(), QList<bool> {false});
        QCOMPARE(f.helperTimer.enabled, true);

        f.clock.set(at("9:05:05.100"));
        RearmFiredTasks(f.ctx);
        QCOMPARE(f.fileStates(), QStringList {T});
        QCOMPARE(f.view.ticks(), QList<bool> {true});
        QCOMPARE(f.ctx.activeTasks.size(), 1);
        QCOMPARE(f.helperTimer.enabled, false);

        tickFor(f, 10);
        f.clock.set(at("9:05:00.000", 6));
        tickFor(f, 5);
        QCOMPARE(f.actions.calls, (QStringList {"screensaver", "screensaver"}));
    }

    void birthday_staysFiredUntilTheNextDay()
    {
        CoreFixture f;
        f.writeTasks({makeTask("7", "NULL", u"5 января "_s, "NULL", u"Иван"_s)});
        RebuildTaskList(f.ctx);
        f.clock.set(at("10:00:00.000"));
        SchedulerTick(f.ctx);
        f.clock.set(at("10:00:05.000"));
        RearmFiredTasks(f.ctx);
        QCOMPARE(f.fileStates(), QStringList {FM});
        QCOMPARE(f.helperTimer.enabled, false); // a birthday does not keep the timer running
        tickFor(f, 10);
        QCOMPARE(f.actions.calls, QStringList {u"birthday|NULL|Иван"_s});

        f.clock.set(at("0:00:00.000", 6));
        RearmFiredTasks(f.ctx);
        QCOMPARE(f.fileStates(), QStringList {T});
    }

    // Storing the ticks writes the unticked fired birthday "false": it will not come back.
    void birthday_turnsInactiveWhenAnotherTaskIsRearmed()
    {
        CoreFixture f;
        f.writeTasks(
            {makeTask("7", "NULL", u"5 января "_s, "NULL", u"Иван"_s), makeTask("2", "10:00:01", "NULL")});
        RebuildTaskList(f.ctx);
        f.clock.set(at("10:00:00.900"));
        tickFor(f, 2);
        QCOMPARE(f.actions.calls, (QStringList {u"birthday|NULL|Иван"_s, "countdown|shutdown"}));
        f.clock.set(at("10:00:06.100"));
        RearmFiredTasks(f.ctx);
        QCOMPARE(f.fileStates(), (QStringList {F, T}));
        QCOMPARE(f.helperTimer.enabled, false);
    }

    void rearm_neverEnablesTheTimer()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", "NULL", "NULL", "NULL", FM)});
        f.clock.set(at("9:05:00.500")); // started inside the task's own second
        startUp(f);
        QCOMPARE(f.fileStates(), QStringList {FM});
        QCOMPARE(f.helperTimer.enabled, false);
        QCOMPARE(f.helperTimer.calls, QStringList());
    }

    void startUp_catchesUpOnlyFiredTasks()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", "NULL", "NULL", "NULL", FM),
            makeTask("7", "NULL", u"4 января "_s, "NULL", u"Иван"_s, FM),
            makeTask("7", "NULL", u"5 января "_s, "NULL", u"Анна"_s, FM),
            makeTask("6", "8:00:00", u"5 января 2004"_s, "NULL", "/bin/missed"),
            makeTask("6", "9:00:00", "NULL", "NULL", "/bin/daily")});
        f.clock.set(at("10:00:00.000"));
        startUp(f);
        // The birthday fired earlier today was not re-armed, so the store made it inactive.
        QCOMPARE(f.fileStates(), (QStringList {T, T, F, T, T}));
        QCOMPARE(f.helperTimer.enabled, false);
        tickFor(f, 25);
        QCOMPARE(f.actions.calls, QStringList());
        QCOMPARE(f.fileStates(), (QStringList {T, T, F, T, T}));
    }

    void birthdayDueAllDay_firesOnTheFirstTickOnce()
    {
        CoreFixture f;
        f.writeTasks({makeTask("7", "NULL", u"5 января "_s, u"Торт "_s, u"Анна"_s)});
        f.clock.set(at("17:42:13.000"));
        startUp(f);
        SchedulerTick(f.ctx);
        QCOMPARE(f.actions.calls, QStringList {u"birthday|Торт |Анна"_s});
        // Started again later the same day: it is fired and today is still its day.
        CoreFixture again;
        again.writeTasks({makeTask("7", "NULL", u"5 января "_s, u"Торт "_s, u"Анна"_s, FM)});
        again.clock.set(at("20:00:00.000"));
        startUp(again);
        tickFor(again, 5);
        QCOMPARE(again.actions.calls, QStringList());
        QCOMPARE(again.fileStates(), QStringList {FM});
    }

    // The list shows "B" (9:30 every day) and "A" (a one-shot task due now); then the file is
    // changed behind it.
    void tickFailures_endSilentlyWithoutAction_data()
    {
        QTest::addColumn<QList<TaskFields>>("after");
        QTest::addColumn<bool>("simvCountSet");
        QTest::addColumn<QStringList>("states");
        const TaskFields b = makeTask("2", "9:30:00", "NULL");
        // A's block is no longer A: nothing is deleted, nothing fires.
        QTest::newRow("type not a number")
            << QList<TaskFields> {b, makeTask("x", "9:05:00", u"5 января 2004"_s)} << true << QStringList {T, T};
        // Block 1 is now another task, due too: it is not A, so it is not marked in A's place.
        QTest::newRow("another task in its place, simv_count missing")
            << QList<TaskFields> {makeTask("1", "9:30:00", "NULL", "m "), makeTask("2", "9:05:00", "NULL")}
            << false << QStringList {T, T};
        QTest::newRow("block gone because the file shrank")
            << QList<TaskFields> {b} << true << QStringList {T};
    }
    void tickFailures_endSilentlyWithoutAction()
    {
        QFETCH(QList<TaskFields>, after);
        QFETCH(bool, simvCountSet);
        QFETCH(QStringList, states);
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:30:00", "NULL"), makeTask("2", "9:05:00", u"5 января 2004"_s)});
        RebuildTaskList(f.ctx);
        if (!simvCountSet)
            f.settings.keys.clear();
        f.writeTasks(after);
        f.clock.set(at("9:05:00.000"));
        SchedulerTick(f.ctx);
        QCOMPARE(f.actions.calls, QStringList());
        QCOMPARE(f.view.clockTime, QStringLiteral("9:05:00"));
        QCOMPARE(f.fileStates(), states);
    }

    // The task file cannot be read at the moment a repeating task is due: the task cannot be
    // confirmed, so nothing fires; once the file is back within its second, that task fires and
    // no other.
    void fire_fileLostAtTheDueMomentNeverFiresAnotherTask()
    {
        CoreFixture f;
        f.writeTasks(
            {makeTask("5", "9:05:00", "NULL"), makeTask("6", "18:00:00", "NULL", "NULL", "/bin/evening")});
        RebuildTaskList(f.ctx);
        const QString aside = f.dir.filePath(QStringLiteral("aside.zct"));
        QVERIFY(QFile::rename(f.ctx.taskFilePath, aside));
        QVERIFY(QDir().mkdir(f.ctx.taskFilePath)); // a folder where the file was: loading fails
        f.clock.set(at("9:05:00.100"));
        SchedulerTick(f.ctx);
        QCOMPARE(f.actions.calls, QStringList());
        QVERIFY(QDir().rmdir(f.ctx.taskFilePath));
        QVERIFY(QFile::rename(aside, f.ctx.taskFilePath));
        tickFor(f, 5);
        QCOMPARE(f.actions.calls, QStringList {"screensaver"});
        QCOMPARE(f.fileStates(), (QStringList {FM, T}));
    }

    // The file lost the last line of a due one-shot task behind the list: that block is no longer
    // the task, so nothing fires, nothing is said, and the list shows the file as it is.
    void fire_taskCutShortBehindTheListDoesNotFire()
    {
        CoreFixture f;
        f.writeTasks({makeTask("6", "18:00:00", "NULL", "NULL", "/bin/evening"),
            makeTask("6", "9:05:00", u"5 января 2004"_s, "NULL", "/bin/once")});
        RebuildTaskList(f.ctx);
        QStringList lines = f.fileLines();
        lines.removeLast();
        f.writeTasks({}, lines);
        f.clock.set(at("9:05:00.100"));
        SchedulerTick(f.ctx);
        QCOMPARE(f.messages.shown, QStringList());
        QCOMPARE(f.actions.calls, QStringList());
        QCOMPARE(f.view.RowCount(), 1); // the incomplete block is no task
        QCOMPARE(f.fileLines(), lines);
    }

    // A block whose type is not a number is passed by, kept as it is, and said once.
    void rearm_passesABadBlockBy()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", "NULL", "NULL", "NULL", FM),
            makeTask("?", "9:06:00", "NULL", "NULL", "NULL", FM)});
        f.clock.set(at("12:00:00.000"));
        RearmFiredTasks(f.ctx);
        RearmFiredTasks(f.ctx);
        QCOMPARE(f.fileStates(), (QStringList {T, FM}));
        QCOMPARE(f.view.ticks(), (QList<bool> {true, false}));
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.at(0).startsWith(u"'?' is not a valid integer value"_s));
    }
};

ZARVO_TEST_GUILESS_MAIN(SchedulerTest)
#include "test_scheduler.moc"
