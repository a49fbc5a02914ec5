// Firing in a hostile world, with the real tick driver on a simulated wake-up: the file edited
// by hand while the program runs, blocks that cannot be read, saves that fail (a read-only file,
// a full file system) and boxes that stay open across the next task's second.
#include "support/TestMain.h"
#include "support/FileSizeLimit.h"
#include "support/SimWakeup.h"
#include "Context.h"
#include "Messages.h"
#include "Scheduler.h"
#include "support/CoreFixture.h"
#include "support/FileHelpers.h"
#include "Tasklist.h"
#include "Tickdriver.h"
#include "Wakeuptimer.h"

#include <QtTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString T = u"true"_s;
const QString F = u"false"_s;
const QString FM = u"falseM"_s;
const QString Day = u"5 января 2004"_s;

// Monday 5 January 2004.
QDateTime at(const QString &time)
{
    return QDateTime(QDate(2004, 1, 5), QTime::fromString(time, u"H:mm:ss.zzz"_s));
}

// The program on a simulated clock: the driver wakes when it asked to, and control returns to the
// event loop after each wake-up. Steps run at their moments, as a user or another program would.
struct Program {
    CoreFixture f;
    SimWakeup wakeup;
    std::unique_ptr<TickDriver> driver;
    QMap<QDateTime, std::function<void()>> steps;

    explicit Program(const QList<TaskFields> &tasks, const QDateTime &start, bool visible = false)
    {
        f.writeTasks(tasks);
        f.clock.set(start);
        try {
            RebuildTaskList(f.ctx);
        } catch (const std::exception &) {
        }
        driver = std::make_unique<TickDriver>(f.ctx, wakeup);
        driver->setWindowVisible(visible);
    }

    // Runs the wake-ups (and the steps) up to `end`; also from inside an open box.
    void runUntil(const QDateTime &end)
    {
        while (true) {
            QCoreApplication::sendPostedEvents();
            QDateTime next = wakeup.armed;
            if (!steps.isEmpty() && (!next.isValid() || steps.firstKey() <= next))
                next = steps.firstKey();
            if (!next.isValid() || next > end)
                return;
            f.clock.set(next);
            if (!steps.isEmpty() && steps.firstKey() == next)
                steps.take(next)();
            else
                wakeup.fire();
        }
    }
};

QStringList blockLines(const TaskFields &task)
{
    return {u"%>>"_s, task.type, task.time, task.date, task.message, task.param, task.state};
}

// Makes saves of the task file fail, as a read-only file does: the file is made immutable (which
// holds for root too), else its permissions are taken away.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString &path)
        : m_path(path)
    {
        m_immutable = setImmutable(true);
        if (!m_immutable)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    ~ReadOnlyFile()
    {
        if (m_immutable)
            setImmutable(false);
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    }
    bool holds() const
    {
        QFile probe(m_path);
        return !probe.open(QIODevice::ReadWrite | QIODevice::Append);
    }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    QString m_path;
    bool m_immutable = false;
};

// A full file system: no file may grow beyond a few bytes while it lives.
class FullFileSystem : public FileSizeLimit {
public:
    FullFileSystem()
        : FileSizeLimit(16)
    {
    }
};

} // namespace

class FiringFaultsTest : public QObject {
    Q_OBJECT

private slots:
    // ---- identity before action ----

    // A screen-saver task is due at 9:00:09; at 9:00:03 the file is rewritten with an inactive
    // shutdown task in front of it. The due task fires, and nothing else is touched.
    void handEditMovesTheDueTask_theDueTaskFiresAndNoOther()
    {
        const TaskFields a = makeTask("5", "9:00:09", Day);
        const TaskFields b = makeTask("2", "9:00:00", u"1 января 2030"_s, "NULL", "NULL", F);
        Program p({a}, at("9:00:00.000"));
        p.steps[at("9:00:03.000")] = [&] { p.f.writeTasks({b, a}); };
        p.runUntil(at("9:00:12.000"));
        QCOMPARE(p.f.actions.calls, QStringList {u"screensaver"_s});
        QCOMPARE(p.f.fileLines(), blockLines(b));
        QCOMPARE(p.f.view.texts(), QStringList {u"2Выключить компьютер [9:00:00] <1 января 2030>"_s});
        QCOMPARE(p.f.view.ticks(), QList<bool> {false});
    }

    void handEditMovesAnEveryDayTask_itIsMarkedWhereItIsNow()
    {
        const TaskFields a = makeTask("6", "9:00:09", "NULL", "NULL", "/bin/a");
        const TaskFields b = makeTask("6", "9:00:09", "NULL", "NULL", "/bin/b", F);
        Program p({a}, at("9:00:00.000"));
        p.steps[at("9:00:03.000")] = [&] { p.f.writeTasks({b, a}); };
        p.runUntil(at("9:00:12.000"));
        QCOMPARE(p.f.actions.calls, QStringList {u"run|/bin/a"_s});
        QCOMPARE(p.f.fileStates(), (QStringList {F, FM}));
    }

    // The due task was removed by hand: nothing fires, and the list shows the file as it is.
    void handEditRemovesTheDueTask_nothingFires()
    {
        const TaskFields a = makeTask("5", "9:00:09", Day);
        const TaskFields b = makeTask("2", "9:00:09", Day, "NULL", "NULL", F);
        const TaskFields c = makeTask("6", "9:00:09", "NULL", "NULL", "/bin/c", F);
        Program p({a, c}, at("9:00:00.000"));
        p.steps[at("9:00:03.000")] = [&] { p.f.writeTasks({b, c}); };
        p.runUntil(at("9:00:12.000"));
        QCOMPARE(p.f.actions.calls, QStringList());
        QCOMPARE(p.f.fileLines(), blockLines(b) + blockLines(c));
        QCOMPARE(p.f.view.ticks(), (QList<bool> {false, false}));
    }

    // ---- a bad block is one bad row ----

    void badBlock_isOneRowAndEveryOtherTaskFires_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("badType");
        QTest::newRow("at the start") << 0 << u"R"_s;
        QTest::newRow("in the middle") << 1 << u"R"_s;
        QTest::newRow("at the end") << 2 << u""_s;
    }
    void badBlock_isOneRowAndEveryOtherTaskFires()
    {
        QFETCH(int, position);
        QFETCH(QString, badType);
        const TaskFields bad = makeTask(badType, "9:05:00", "NULL", "NULL", "/bin/bad", FM);
        QList<TaskFields> tasks {makeTask("6", "9:05:00", "NULL", "NULL", "/bin/daily"),
            makeTask("1", "9:05:01", Day, u"Позвонить "_s)};
        tasks.insert(position, bad);
        Program p(tasks, at("9:04:58.000"));
        const QStringList badLines = blockLines(bad);
        QCOMPARE(p.f.view.RowCount(), 3);
        QCOMPARE(p.f.view.rows.at(position).checked, false);
        const QString reported = u"'%1' is not a valid integer value"_s.arg(badType);
        QCOMPARE(p.f.messages.shown.size(), 1);
        QVERIFY2(p.f.messages.shown.at(0).contains(reported), qPrintable(p.f.messages.shown.at(0)));
        QVERIFY(p.f.messages.shown.at(0).contains(p.f.ctx.taskFilePath));
        QVERIFY(p.f.messages.shown.at(0).contains(u"со строки %1"_s.arg(7 * position + 1)));

        // No report stands between a due task and its action.
        QList<int> messagesDuringActions;
        p.f.actions.whileOpen = [&](const QString &) { messagesDuringActions << int(p.f.messages.shown.size()); };
        p.runUntil(at("9:05:03.000"));
        QCOMPARE(p.f.actions.calls, (QStringList {u"run|/bin/daily"_s, u"remind|Позвонить |NULL"_s}));
        QCOMPARE(messagesDuringActions, (QList<int> {1, 1}));
        // The block is kept as it was; the list was rebuilt twice without saying it again.
        const QStringList lines = p.f.fileLines();
        const int badAt = position == 0 ? 0 : 7; // the one-shot task went
        QCOMPARE(lines.mid(badAt, 7), badLines);
        QCOMPARE(p.f.messages.shown.size(), 1);
        QCOMPARE(p.f.view.RowCount(), 2);

        // The user can delete the bad row; re-arming passes it by.
        p.f.clock.set(at("9:05:07.000"));
        RearmFiredTasks(p.f.ctx);
        QCOMPARE(p.f.fileLines().mid(badAt, 7), badLines);
        DeleteTask(p.f.ctx, position == 0 ? 0 : 1);
        RebuildTaskList(p.f.ctx);
        QCOMPARE(p.f.view.RowCount(), 1);
        QCOMPARE(p.f.fileStates(), QStringList {T});
        QCOMPARE(p.f.messages.shown.size(), 1);
    }

    // A missing caption length is said once; the default 15 is used and actions still run.
    void missingCaptionLength_usesTheDefaultAndFires()
    {
        CoreFixture f;
        f.settings.keys.clear();
        f.writeTasks({makeTask("1", "9:05:00", "NULL", u"abcdefghijklmnopqrst "_s)});
        f.clock.set(at("9:04:59.000"));
        try {
            RebuildTaskList(f.ctx);
        } catch (const std::exception &) {
        }
        QCOMPARE(f.view.texts(), QStringList {u"1Напомнить о ''abcdefghijklmno...''  [9:05:00] <кажд. день>"_s});
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.at(0).contains(u"simv_count"_s));
        f.clock.set(at("9:05:00.100"));
        SchedulerTick(f.ctx);
        QCOMPARE(f.actions.calls, QStringList {u"remind|abcdefghijklmnopqrst |NULL"_s});
        QCOMPARE(f.fileStates(), QStringList {FM});
        QCOMPARE(f.messages.shown.size(), 1);
    }

    // ---- a failed save never costs or doubles an action ----

    void failedSave_actionRunsOnceAndIsReportedAfter_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<TaskFields>("task");
        QTest::addColumn<QString>("report");
        const TaskFields daily = makeTask("6", "9:05:00", "NULL", "NULL", "/bin/daily");
        const TaskFields once = makeTask("6", "9:05:00", Day, "NULL", "/bin/once");
        QTest::newRow("read-only, every day") << false << daily << u"Cannot write file"_s;
        QTest::newRow("read-only, one-shot") << false << once << Msg::DeleteFailed;
        QTest::newRow("full disk, every day") << true << daily << u"Cannot write file"_s;
        QTest::newRow("full disk, one-shot") << true << once << Msg::DeleteFailed;
    }
    void failedSave_actionRunsOnceAndIsReportedAfter()
    {
        QFETCH(bool, fullDisk);
        QFETCH(TaskFields, task);
        QFETCH(QString, report);
        CoreFixture f;
        f.writeTasks({makeTask("2", "18:00:00", "NULL"), task});
        f.clock.set(at("9:04:59.000"));
        RebuildTaskList(f.ctx);
        const QByteArray before = readBytes(f.ctx.taskFilePath);
        int messagesDuringAction = -1;
        f.actions.whileOpen = [&](const QString &) { messagesDuringAction = int(f.messages.shown.size()); };
        {
            std::unique_ptr<ReadOnlyFile> readOnly;
            std::unique_ptr<FullFileSystem> full;
            if (fullDisk) {
                full = std::make_unique<FullFileSystem>();
            } else {
                readOnly = std::make_unique<ReadOnlyFile>(f.ctx.taskFilePath);
                if (!readOnly->holds())
                    QSKIP("cannot make a file read-only here");
            }
            f.clock.set(at("9:05:00.002"));
            for (int i = 0; i < 5; ++i) { // every beat of the second
                SchedulerTick(f.ctx);
                f.clock.advanceMs(200);
            }
        }
        QCOMPARE(f.actions.calls, QStringList {u"run|"_s + task.param});
        QCOMPARE(messagesDuringAction, 0);
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown.at(0).startsWith(report), qPrintable(f.messages.shown.at(0)));
        if (report != Msg::DeleteFailed)
            QVERIFY(f.messages.shown.at(0).contains(f.ctx.taskFilePath));
        QCOMPARE(readBytes(f.ctx.taskFilePath), before);
        // The list shows the task settled: fired, or gone.
        QCOMPARE(f.view.ticks(), task.date == u"NULL" ? (QList<bool> {true, false}) : QList<bool> {true});

        // Once the file can be written again, the next save writes what the program holds.
        f.clock.set(at("9:05:06.000"));
        if (task.date == u"NULL") {
            RearmFiredTasks(f.ctx);
            QCOMPARE(f.fileStates(), (QStringList {T, T}));
        } else {
            StoreTickStates(f.ctx);
            QCOMPARE(f.fileStates(), QStringList {T});
        }
        QCOMPARE(f.messages.shown.size(), 1);
    }

    // A run of failures is reported once, and the re-arming goes on in memory meanwhile.
    void failedSaves_reportedOncePerRun()
    {
        CoreFixture f;
        f.writeTasks({makeTask("6", "9:05:00", "NULL", "NULL", "/bin/a"), makeTask("6", "9:05:01", "NULL", "NULL", "/bin/b")});
        f.clock.set(at("9:04:59.000"));
        RebuildTaskList(f.ctx);
        FullFileSystem full;
        for (const char *moment : {"9:05:00.002", "9:05:01.002"}) {
            f.clock.set(at(QString::fromLatin1(moment)));
            SchedulerTick(f.ctx);
        }
        f.clock.set(at("9:05:06.002"));
        try {
            RearmFiredTasks(f.ctx);
        } catch (const std::exception &) {
        }
        QCOMPARE(f.actions.calls, (QStringList {u"run|/bin/a"_s, u"run|/bin/b"_s}));
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.view.ticks(), (QList<bool> {true, true}));
    }

    // ---- boxes do not stop time ----

    // The first task's deletion fails while its "тут!" box is open across the second task's
    // second: the second task still fires, from the box's own loop.
    void boxOpenAcrossTheNextTasksSecond_theNextTaskFires_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::newRow("window hidden") << false;
        QTest::newRow("window shown") << true;
    }
    void boxOpenAcrossTheNextTasksSecond_theNextTaskFires()
    {
        QFETCH(bool, visible);
        Program p({makeTask("6", "9:05:00", Day, "NULL", "/bin/first"),
                      makeTask("6", "9:05:01", "NULL", "NULL", "/bin/second")},
            at("9:04:59.500"), visible);
        ReadOnlyFile readOnly(p.f.ctx.taskFilePath);
        if (!readOnly.holds())
            QSKIP("cannot make a file read-only here");
        QStringList fired;
        p.f.actions.whileOpen = [&](const QString &call) { fired << p.f.clock.now.toString(u"HH:mm:ss.zzz"_s) + u' ' + call; };
        int clockUpdatesInBox = -1;
        bool armedInBox = false;
        p.f.messages.whileOpen = [&](const QString &) {
            if (clockUpdatesInBox >= 0)
                return;
            QCoreApplication::sendPostedEvents();
            armedInBox = p.wakeup.armed.isValid();
            const int before = p.f.view.clockUpdates;
            p.runUntil(at("9:05:02.500")); // the box stays open for two seconds
            clockUpdatesInBox = p.f.view.clockUpdates - before;
        };
        p.runUntil(at("9:05:00.500"));
        QVERIFY(armedInBox);
        QCOMPARE(fired, (QStringList {u"09:05:00.000 run|/bin/first"_s, u"09:05:01.000 run|/bin/second"_s}));
        if (visible)
            QVERIFY2(clockUpdatesInBox >= 9, qPrintable(QString::number(clockUpdatesInBox)));
    }
};

ZARVO_TEST_GUILESS_MAIN(FiringFaultsTest)
#include "test_firingfaults.moc"
