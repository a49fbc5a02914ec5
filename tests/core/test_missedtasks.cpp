// The missed-task report: what counts as missed at start-up and after a time without ticks (a
// suspend, a clock set forward, a wake-up that came late), on the simulated clock and wake-up,
// with the setting on and off; and the deletion of the listed one-shot tasks.
#include "Context.h"
#include "Messages.h"
#include "Missedtasks.h"
#include "Scheduler.h"
#include "support/CoreFixture.h"
#include "support/FileHelpers.h"
#include "support/FileSizeLimit.h"
#include "support/SimWakeup.h"
#include "support/TestMain.h"
#include "Tasklist.h"
#include "Tickdriver.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(const QString &time, int day = 5, int month = 1, int year = 2004)
{
    return QDateTime(QDate(year, month, day), QTime::fromString(time, u"H:mm:ss.zzz"_s));
}

// Records each report; every listed task must show the text of its row in the task list.
struct RecordingReport final : MissedTasksReport {
    const TaskListView *view = nullptr;
    QList<MissedTaskList> reports;
    void ShowMissedTasks(const MissedTaskList &tasks) override
    {
        for (const MissedTask &task : tasks)
            QCOMPARE(task.text, view->RowText(task.block));
        reports.append(tasks);
    }

    // "block @ due" of every task of report i.
    QStringList lines(int i) const
    {
        QStringList out;
        for (const MissedTask &task : reports.at(i))
            out << QString::number(task.block) + u" @ " + task.due.toString(u"dd.MM.yyyy HH:mm:ss"_s);
        return out;
    }
};

// The program running hidden on the simulated clock with the report hooked to the tick driver, as
// the main window hooks it.
struct Program {
    CoreFixture f;
    SimWakeup wakeup;
    RecordingReport report;
    std::unique_ptr<TickDriver> driver;

    Program(const QList<TaskFields> &tasks, const QDateTime &start, bool reportOn = true)
    {
        if (reportOn)
            f.settings.set(u"Settings"_s, MissedReportSetting, 1);
        f.writeTasks(tasks);
        f.clock.set(start);
        report.view = &f.view;
        RebuildTaskList(f.ctx);
        RearmFiredTasks(f.ctx);
        driver = std::make_unique<TickDriver>(f.ctx, wakeup);
        QObject::connect(driver.get(), &TickDriver::ticksMissed, driver.get(),
            [this](const QDateTime &from, const QDateTime &to) {
                ReportMissedBetween(f.ctx, report, from, to);
            });
        driver->setWindowVisible(false);
    }

    // The machine sleeps from now until `moment`; it wakes there and the late wake-up arrives.
    void sleepUntil(const QDateTime &moment)
    {
        f.clock.set(moment);
        wakeup.fire();
    }

    // Wakes at each armed moment up to `end`, as the system's timer would.
    void runUntil(const QDateTime &end)
    {
        while (wakeup.armed.isValid() && wakeup.armed <= end) {
            f.clock.set(wakeup.armed);
            wakeup.fire();
        }
        f.clock.set(end);
    }
};

TaskFields remind(const QString &time, const QString &date, const QString &message = u"Позвонить"_s,
    const QString &param = u"NULL"_s, const QString &state = u"true"_s)
{
    return makeTask(u"1"_s, time, date, message, param, state);
}

} // namespace

class TestMissedTasks : public QObject {
    Q_OBJECT

private slots:
    void suspendAcrossOneShotSecond_reportsItOnceAndChangesNothing();
    void resumeSignalBeforeTheWakeup_reportsTheGap();
    void suspendAcrossEveryDayTime_reportsTheLatestMissedTime();
    void suspendAcrossMidnight_reportsABirthdayOnlyWhenItsWholeDayPassed();
    void clockSetBack_reportsNothing();
    void clockSetForwardWhileShown_reportsTheSkippedSeconds();
    void settingOffOrMissing_reportsNothing();
    void settingOfWrongType_isSaidAndCountsAsOff();
    void manyMisses_makeOneReportInFileOrder();
    void punctualWakeups_reportNothing();
    void atStart_listsActiveOneShotsWhoseSecondPassed();
    void actOnMissedTask_opensNoticeOrProgramOnly();
    void deleteMissedOneShots_removesListedOneShotsInOneSave();
    void deleteMissedOneShots_findsTasksByTheirLines();
    void deleteMissedOneShots_failedSaveKeepsEverything();
};

void TestMissedTasks::suspendAcrossOneShotSecond_reportsItOnceAndChangesNothing()
{
    Program p({remind(u"10:00:00"_s, u"5 января 2004"_s), remind(u"12:00:00"_s, u"5 января 2004"_s)},
        at(u"9:00:00.300"_s));
    QCOMPARE(p.wakeup.armed, at(u"10:00:00.000"_s));
    const QByteArray before = readBytes(p.f.ctx.taskFilePath);

    p.sleepUntil(at(u"11:00:00.500"_s));

    QCOMPARE(p.report.reports.size(), 1);
    QCOMPARE(p.report.lines(0), QStringList {u"0 @ 05.01.2004 10:00:00"_s});
    const MissedTask &task = p.report.reports.at(0).at(0);
    QVERIFY(task.IsOneShot());
    QCOMPARE(task.block, 0);
    // Nothing fired late, nothing changed in the file; the later task still fires in its second.
    QVERIFY(p.f.actions.calls.isEmpty());
    QCOMPARE(readBytes(p.f.ctx.taskFilePath), before);
    p.runUntil(at(u"12:00:01.000"_s));
    QCOMPARE(p.f.actions.calls, QStringList {u"remind|Позвонить|NULL"_s});
    QCOMPARE(p.report.reports.size(), 1);
}

void TestMissedTasks::resumeSignalBeforeTheWakeup_reportsTheGap()
{
    Program p({remind(u"10:00:00"_s, u"5 января 2004"_s)}, at(u"9:00:00.300"_s));
    p.f.clock.set(at(u"10:30:00.000"_s));
    p.wakeup.clockWasSet();
    QCOMPARE(p.report.reports.size(), 1);
    QCOMPARE(p.report.reports.at(0).at(0).due, at(u"10:00:00.000"_s));
    // The re-plan after the resume makes the late wake-up punctual: no second report.
    p.runUntil(at(u"10:40:00.000"_s));
    QCOMPARE(p.report.reports.size(), 1);
}

void TestMissedTasks::suspendAcrossEveryDayTime_reportsTheLatestMissedTime()
{
    Program p({makeTask(u"2"_s, u"10:00:00"_s, u"NULL"_s)}, at(u"9:00:00.300"_s));
    p.sleepUntil(at(u"10:30:00.000"_s));
    QCOMPARE(p.report.lines(0), QStringList {u"0 @ 05.01.2004 10:00:00"_s});
    QVERIFY(p.f.actions.calls.isEmpty()); // a shutdown never runs late

    // Asleep for two days and a half: one entry, at the latest time it was missed.
    p.runUntil(at(u"11:00:00.000"_s));
    p.sleepUntil(at(u"9:00:00.000"_s, 8));
    QCOMPARE(p.report.reports.size(), 2);
    QCOMPARE(p.report.reports.at(1).size(), 1);
    QCOMPARE(p.report.reports.at(1).at(0).due, at(u"10:00:00.000"_s, 7));
}

void TestMissedTasks::suspendAcrossMidnight_reportsABirthdayOnlyWhenItsWholeDayPassed()
{
    const TaskFields birthday = makeTask(u"7"_s, u"NULL"_s, u"6 января "_s, u"Поздравить"_s, u"Ивана"_s);
    {
        // 23:00 on the 5th to 10:00 on the 6th: the day is not over, the tick fires it now.
        Program p({birthday}, at(u"23:00:00.000"_s));
        p.sleepUntil(at(u"10:00:00.000"_s, 6));
        QVERIFY(p.report.reports.isEmpty());
        QCOMPARE(p.f.actions.calls, QStringList {u"birthday|Поздравить|Ивана"_s});
    }
    {
        // 23:00 on the 5th to 0:30 on the 7th: the whole day passed in the sleep.
        Program p({birthday}, at(u"23:00:00.000"_s));
        p.sleepUntil(at(u"0:30:00.000"_s, 7));
        QCOMPARE(p.report.reports.size(), 1);
        QCOMPARE(p.report.lines(0), QStringList {u"0 @ 06.01.2004 00:00:00"_s});
        QVERIFY(p.f.actions.calls.isEmpty());
    }
    {
        // Asleep over New Year's Eve for a birthday on 31 December and one on 1 January.
        Program p({makeTask(u"7"_s, u"NULL"_s, u"31 декабря "_s, u"NULL"_s, u"Анны"_s),
                      makeTask(u"7"_s, u"NULL"_s, u"1 января "_s, u"NULL"_s, u"Олега"_s)},
            at(u"22:00:00.000"_s, 30, 12, 2003));
        p.sleepUntil(at(u"8:00:00.000"_s, 1, 1, 2004));
        QCOMPARE(p.report.reports.size(), 1);
        QCOMPARE(p.report.reports.at(0).size(), 1);
        QCOMPARE(p.report.reports.at(0).at(0).due, at(u"0:00:00.000"_s, 31, 12, 2003));
    }
}

void TestMissedTasks::clockSetBack_reportsNothing()
{
    Program p({remind(u"10:00:00"_s, u"5 января 2004"_s), makeTask(u"5"_s, u"9:30:00"_s, u"NULL"_s)},
        at(u"11:00:00.300"_s));
    p.f.clock.set(at(u"9:00:00.000"_s));
    p.wakeup.clockWasSet();
    QVERIFY(p.report.reports.isEmpty());
    // Back to the old time and a little on: only the seconds after the last awake moment count.
    p.runUntil(at(u"11:00:00.000"_s));
    QVERIFY(p.report.reports.isEmpty());
}

void TestMissedTasks::clockSetForwardWhileShown_reportsTheSkippedSeconds()
{
    Program p({makeTask(u"6"_s, u"10:00:00"_s, u"NULL"_s, u"NULL"_s, u"/usr/bin/true"_s),
                  remind(u"10:00:05"_s, u"5 января 2004"_s)},
        at(u"9:59:58.100"_s));
    p.driver->setWindowVisible(true);
    p.runUntil(at(u"9:59:59.000"_s));
    p.f.clock.set(at(u"10:00:05.100"_s));
    p.wakeup.clockWasSet();
    // 10:00:00 was skipped; 10:00:05 is the present second and fires on the next beat.
    QCOMPARE(p.report.reports.size(), 1);
    QCOMPARE(p.report.reports.at(0).size(), 1);
    QCOMPARE(p.report.reports.at(0).at(0).type, int(ttRunProgram));
    p.runUntil(at(u"10:00:06.000"_s));
    QCOMPARE(p.f.actions.calls, QStringList {u"remind|Позвонить|NULL"_s});
}

void TestMissedTasks::settingOffOrMissing_reportsNothing()
{
    for (const int value : {-1, 0}) {
        Program p({remind(u"10:00:00"_s, u"5 января 2004"_s)}, at(u"9:00:00.300"_s), false);
        if (value >= 0)
            p.f.settings.set(u"Settings"_s, MissedReportSetting, value);
        p.sleepUntil(at(u"11:00:00.000"_s));
        ReportMissedAtStart(p.f.ctx, p.report);
        QVERIFY(p.report.reports.isEmpty());
        QVERIFY(p.f.messages.shown.isEmpty()); // a missing value is no error
        QVERIFY(p.f.actions.calls.isEmpty());
    }
}

void TestMissedTasks::settingOfWrongType_isSaidAndCountsAsOff()
{
    Program p({remind(u"10:00:00"_s, u"5 января 2004"_s)}, at(u"9:00:00.300"_s), false);
    p.f.settings.set(u"Settings"_s, MissedReportSetting, u"да"_s);
    p.sleepUntil(at(u"11:00:00.000"_s));
    QVERIFY(p.report.reports.isEmpty());
    QCOMPARE(p.f.messages.shown, QStringList {u"Invalid data type for 'missed_report'"_s});
}

void TestMissedTasks::manyMisses_makeOneReportInFileOrder()
{
    Program p(
        {
            remind(u"10:30:00"_s, u"5 января 2004"_s, u"второе"_s),
            makeTask(u"3"_s, u"10:10:00"_s, u"NULL"_s),
            remind(u"10:05:00"_s, u"5 января 2004"_s, u"первое"_s, u"NULL"_s, u"false"_s), // inactive
            remind(u"10:00:00"_s, u"5 января 2004"_s, u"первое"_s),
            makeTask(u"7"_s, u"NULL"_s, u"5 января "_s, u"NULL"_s, u"Ивана"_s, u"false"_s),
            remind(u"13:00:00"_s, u"5 января 2004"_s, u"позже"_s),
        },
        at(u"9:00:00.300"_s));
    p.sleepUntil(at(u"12:00:00.000"_s));
    QCOMPARE(p.report.reports.size(), 1);
    const MissedTaskList &tasks = p.report.reports.at(0);
    QCOMPARE(tasks.size(), 3);
    QCOMPARE(tasks.at(0).block, 0);
    QCOMPARE(tasks.at(1).block, 1);
    QCOMPARE(tasks.at(2).block, 3);
    QCOMPARE(tasks.at(1).kind, TaskKind::EveryDay);
}

void TestMissedTasks::punctualWakeups_reportNothing()
{
    Program p({remind(u"10:00:00"_s, u"5 января 2004"_s), makeTask(u"1"_s, u"10:00:03"_s, u"NULL"_s)},
        at(u"9:59:50.000"_s));
    // A wake-up up to a second late still ticks in its second: nothing is reported, both fire.
    while (p.wakeup.armed.isValid() && p.wakeup.armed <= at(u"10:00:05.000"_s)) {
        p.f.clock.set(p.wakeup.armed.addMSecs(900));
        p.wakeup.fire();
    }
    QVERIFY(p.report.reports.isEmpty());
    QCOMPARE(p.f.actions.calls.size(), 2);
}

void TestMissedTasks::atStart_listsActiveOneShotsWhoseSecondPassed()
{
    CoreFixture f;
    f.settings.set(u"Settings"_s, MissedReportSetting, 1);
    f.writeTasks({
        remind(u"9:00:00"_s, u"5 января 2004"_s, u"час назад"_s),
        remind(u"9:00:00"_s, u"5 января 2004"_s, u"выключено"_s, u"NULL"_s, u"false"_s),
        makeTask(u"1"_s, u"9:00:00"_s, u"NULL"_s), // every day: comes round again
        makeTask(u"7"_s, u"NULL"_s, u"4 января "_s, u"NULL"_s, u"Ивана"_s), // yesterday's birthday
        remind(u"10:00:00"_s, u"5 января 2004"_s, u"сейчас"_s), // this second: the tick fires it
        remind(u"10:00:01"_s, u"5 января 2004"_s, u"потом"_s),
        makeTask(u"6"_s, u"23:59:59"_s, u"31 декабря 2003"_s, u"NULL"_s, u"/opt/app"_s),
        remind(u"9:00:00"_s, u"31 февраля 2004"_s, u"нет такого дня"_s),
    });
    f.clock.set(at(u"10:00:00.700"_s));
    RebuildTaskList(f.ctx);
    RecordingReport report;
    report.view = &f.view;
    ReportMissedAtStart(f.ctx, report);
    QCOMPARE(report.reports.size(), 1);
    QCOMPARE(report.lines(0), (QStringList {u"0 @ 05.01.2004 09:00:00"_s, u"6 @ 31.12.2003 23:59:59"_s}));
}

void TestMissedTasks::actOnMissedTask_opensNoticeOrProgramOnly()
{
    CoreFixture f;
    f.writeTasks({remind(u"9:00:00"_s, u"5 января 2004"_s, u"текст"_s, u"/snd/a.wav"_s),
        makeTask(u"7"_s, u"NULL"_s, u"5 января "_s, u"NULL"_s, u"Ивана"_s),
        makeTask(u"6"_s, u"9:00:00"_s, u"5 января 2004"_s, u"NULL"_s, u"/opt/app"_s),
        makeTask(u"2"_s, u"9:00:00"_s, u"5 января 2004"_s), makeTask(u"3"_s, u"9:00:00"_s, u"NULL"_s),
        makeTask(u"4"_s, u"9:00:00"_s, u"5 января 2004"_s),
        makeTask(u"5"_s, u"9:00:00"_s, u"5 января 2004"_s)});
    f.clock.set(at(u"10:00:00.000"_s, 6));
    RebuildTaskList(f.ctx);
    const QByteArray before = readBytes(f.ctx.taskFilePath);
    const MissedTaskList missed = FindMissedBetween(f.ctx, at(u"8:00:00.000"_s, 4), f.clock.now);
    QCOMPARE(missed.size(), 7);
    for (const MissedTask &task : missed)
        ActOnMissedTask(f.ctx, task);
    QCOMPARE(f.actions.calls,
        (QStringList {u"remind|текст|/snd/a.wav"_s, u"birthday|NULL|Ивана"_s, u"run|/opt/app"_s}));
    QCOMPARE(readBytes(f.ctx.taskFilePath), before);
}

void TestMissedTasks::deleteMissedOneShots_removesListedOneShotsInOneSave()
{
    CoreFixture f;
    const TaskFields a = remind(u"9:00:00"_s, u"5 января 2004"_s, u"a"_s);
    const TaskFields daily = makeTask(u"1"_s, u"9:30:00"_s, u"NULL"_s, u"daily"_s);
    const TaskFields b = remind(u"9:45:00"_s, u"5 января 2004"_s, u"b"_s);
    const TaskFields later = remind(u"23:00:00"_s, u"5 января 2004"_s, u"later"_s);
    f.writeTasks({a, daily, a, b, later});
    f.clock.set(at(u"10:00:00.000"_s));
    RebuildTaskList(f.ctx);
    const MissedTaskList missed = FindMissedBetween(f.ctx, at(u"8:00:00.000"_s), f.clock.now);
    QCOMPARE(missed.size(), 4); // a, daily, a, b
    // Only the first of the two identical blocks is listed: only one of them goes.
    const MissedTaskList listed {missed.at(0), missed.at(1), missed.at(3)};

    const QList<QStringList> removed = DeleteMissedOneShots(f.ctx, listed);

    QCOMPARE(removed.size(), 2);
    CoreFixture expected;
    expected.writeTasks({daily, a, later});
    QCOMPARE(readBytes(f.ctx.taskFilePath), readBytes(expected.ctx.taskFilePath));
    QCOMPARE(f.view.RowCount(), 3);
    QCOMPARE(f.ctx.activeTasks.size(), 3);
}

void TestMissedTasks::deleteMissedOneShots_findsTasksByTheirLines()
{
    CoreFixture f;
    const TaskFields a = remind(u"9:00:00"_s, u"5 января 2004"_s, u"a"_s);
    const TaskFields b = remind(u"9:10:00"_s, u"5 января 2004"_s, u"b"_s);
    const TaskFields c = remind(u"9:20:00"_s, u"5 января 2004"_s, u"c"_s);
    f.writeTasks({a, b, c});
    f.clock.set(at(u"10:00:00.000"_s));
    RebuildTaskList(f.ctx);
    const MissedTaskList missed = FindMissedAtStart(f.ctx, f.clock.now);
    QCOMPARE(missed.size(), 3);
    // Meanwhile the file is edited by hand: a is gone, a new task stands first.
    const TaskFields n = remind(u"22:00:00"_s, u"5 января 2004"_s, u"new"_s);
    f.writeTasks({n, c, b});

    const QList<QStringList> removed = DeleteMissedOneShots(f.ctx, {missed.at(0), missed.at(2)});

    QCOMPARE(removed.size(), 2); // a was gone already, c is deleted now
    CoreFixture expected;
    expected.writeTasks({n, b});
    QCOMPARE(readBytes(f.ctx.taskFilePath), readBytes(expected.ctx.taskFilePath));
    QCOMPARE(f.view.RowCount(), 2);
}

void TestMissedTasks::deleteMissedOneShots_failedSaveKeepsEverything()
{
    CoreFixture f;
    f.writeTasks({remind(u"9:00:00"_s, u"5 января 2004"_s), remind(u"23:00:00"_s, u"5 января 2004"_s)});
    f.clock.set(at(u"10:00:00.000"_s));
    RebuildTaskList(f.ctx);
    const MissedTaskList missed = FindMissedAtStart(f.ctx, f.clock.now);
    QCOMPARE(missed.size(), 1);
    const QByteArray before = readBytes(f.ctx.taskFilePath);
    QList<QStringList> removed;
    {
        const FileSizeLimit full(16); // as on a full disk
        QVERIFY(full.active());
        removed = DeleteMissedOneShots(f.ctx, missed);
    }
    QVERIFY(removed.isEmpty());
    QCOMPARE(f.messages.shown, QStringList {Msg::DeleteFailed});
    QCOMPARE(readBytes(f.ctx.taskFilePath), before);
    QCOMPARE(f.view.RowCount(), 2);
}

ZARVO_TEST_GUILESS_MAIN(TestMissedTasks)
#include "test_missedtasks.moc"
