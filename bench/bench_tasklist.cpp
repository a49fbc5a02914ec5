// Figures for the task list and the tick: the file reads, saves and rebuilds of one firing and
// one re-arm (counted at the file layer), RebuildTaskList over files of growing size, and one
// tick over a large active-task table. Prints medians; asserts nothing.
#include "Context.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Scheduler.h"
#include "support/CoreFixture.h"
#include "Tasklist.h"
#include "Tickplan.h"
#include "Txtfileclass.h"
#include "Usersettings_linux.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A mix of every kind and type; a third are reminders with a message, which read "simv_count".
QList<TaskFields> makeTasks(int count)
{
    QList<TaskFields> tasks;
    tasks.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString time = QStringLiteral("%1:%2:%3")
                                 .arg(i % 24)
                                 .arg(i % 60, 2, 10, QLatin1Char('0'))
                                 .arg((i / 60) % 60, 2, 10, QLatin1Char('0'));
        switch (i % 6) {
        case 0:
        case 1:
            tasks << makeTask("1", time, "NULL",
                QStringLiteral("Позвонить по поводу задачи номер %1 ").arg(i), "/home/user/sounds/bell.wav");
            break;
        case 2:
            tasks << makeTask("2", time, u"5 января 2004"_s);
            break;
        case 3:
            tasks << makeTask("6", time, "NULL", "NULL", "C:\\Program Files\\Tools\\editor.exe");
            break;
        case 4:
            tasks << makeTask("7", "NULL", u"5 марта "_s, "NULL", u"Иван Петров"_s);
            break;
        default:
            tasks << makeTask("5", time, "NULL", "NULL", "NULL", "false");
            break;
        }
    }
    return tasks;
}

qint64 threadCpuNs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Medians of wall-clock and of this thread's CPU time. On a busy machine the wall figure includes
// waiting for a core; the CPU figure is the work itself.
struct Figures {
    double wallNs;
    double cpuNs;
};

template<typename F> Figures measure(int runs, F &&body)
{
    std::vector<qint64> wall;
    std::vector<qint64> cpu;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        const qint64 cpuStart = threadCpuNs();
        timer.start();
        body();
        wall.push_back(timer.nsecsElapsed());
        cpu.push_back(threadCpuNs() - cpuStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {double(wall[wall.size() / 2]), double(cpu[cpu.size() / 2])};
}

void benchRebuild(int count)
{
    CoreFixture f;
    f.writeTasks(makeTasks(count));
    RebuildTaskList(f.ctx); // warm the file cache
    const Figures ns = measure(count >= 10000 ? 21 : 51, [&] { RebuildTaskList(f.ctx); });
    std::printf("RebuildTaskList %6d tasks:  wall %8.3f ms  cpu %8.3f ms  (cpu %.3f us per task)\n", count,
        ns.wallNs / 1e6, ns.cpuNs / 1e6, ns.cpuNs / 1e3 / count);
}

// The same with the settings in their file, as the program keeps them: the reminder rows need
// the caption length from it.
void benchRebuildWithSettingsFile(int count)
{
    CoreFixture f;
    QTemporaryDir configHome;
    JsonSettingsBackend settings(configHome.path());
    settings.CreateKey(SettingsKeys::Root + QLatin1Char('\\') + SettingsKeys::Settings);
    WriteSettingInteger(settings, SettingsKeys::Settings, QStringLiteral("simv_count"), 15);
    f.ctx.settings = &settings;
    f.writeTasks(makeTasks(count));
    RebuildTaskList(f.ctx);
    const Figures ns = measure(count >= 10000 ? 21 : 51, [&] { RebuildTaskList(f.ctx); });
    std::printf("RebuildTaskList %6d tasks, settings file:  wall %8.3f ms  cpu %8.3f ms\n", count, ns.wallNs / 1e6,
        ns.cpuNs / 1e6);
}

void benchTick(int count)
{
    CoreFixture f;
    QList<TaskFields> tasks;
    for (int i = 0; i < count; ++i) // active and never due at the benchmark's moment
        tasks << makeTask(
            "2", QStringLiteral("%1:00:00").arg(i % 9 + 10), i % 2 ? "NULL" : u"5 января 2004"_s);
    f.writeTasks(tasks);
    f.clock.set(QDateTime(QDate(2004, 1, 5), QTime(9, 5, 0)));
    RebuildTaskList(f.ctx);
    const Figures ns = measure(2001, [&] { SchedulerTick(f.ctx); });
    std::printf("SchedulerTick   %6d active: wall %8.1f us  cpu %8.1f us  (cpu %.1f ns per task)\n", count,
        ns.wallNs / 1e3, ns.cpuNs / 1e3, ns.cpuNs / count);
}

// Planning the next due second, as the sleeping driver does after each tick and each change of
// the table while the window is hidden: the kinds of makeTasks, none due at the moment.
void benchPlan(int count)
{
    CoreFixture f;
    f.writeTasks(makeTasks(count));
    RebuildTaskList(f.ctx);
    const QDateTime now(QDate(2004, 1, 5), QTime(23, 59, 59, 500));
    const Figures ns = measure(count >= 10000 ? 21 : 201, [&] { NextDueSecond(f.ctx.activeTasks, now); });
    std::printf("NextDueSecond   %6d tasks:  wall %8.3f ms  cpu %8.3f ms  (%d active)\n", count, ns.wallNs / 1e6,
        ns.cpuNs / 1e6, int(f.ctx.activeTasks.size()));
}

// The file work of one operation: reads and saves of the task file, and rebuilds of the list and
// the table (each rebuild raises the change signal once).
struct FileWork {
    int reads = 0;
    int saves = 0;
    int rebuilds = 0;
};

void printWork(const char *what, const FileWork &before, const FileWork &after)
{
    std::printf("%-34s reads %d  saves %d  rebuilds %d\n", what, after.reads - before.reads,
        after.saves - before.saves, after.rebuilds - before.rebuilds);
}

void benchFileWork()
{
    CoreFixture f;
    QList<TaskFields> tasks = makeTasks(100);
    tasks << makeTask("6", "23:59:58", "NULL", "NULL", "/bin/daily")
          << makeTask("6", "23:59:59", u"5 января 2004"_s, "NULL", "/bin/once");
    f.writeTasks(tasks);
    int rebuilds = 0;
    f.ctx.activeTasksChanged = [&] { ++rebuilds; };
    const auto now = [&] { return FileWork {TxtFile::LoadCount, TxtFile::SaveCount, rebuilds}; };
    f.clock.set(QDateTime(QDate(2004, 1, 5), QTime(23, 59, 57)));
    RebuildTaskList(f.ctx);

    FileWork before = now();
    f.clock.set(QDateTime(QDate(2004, 1, 5), QTime(23, 59, 58, 2)));
    SchedulerTick(f.ctx);
    printWork("firing of an every-day task:", before, now());

    before = now();
    f.clock.set(QDateTime(QDate(2004, 1, 5), QTime(23, 59, 59, 2)));
    SchedulerTick(f.ctx);
    printWork("firing of a one-shot task:", before, now());

    before = now();
    f.clock.set(QDateTime(QDate(2004, 1, 6), QTime(0, 0, 3, 2)));
    RearmFiredTasks(f.ctx);
    printWork("re-arm of the every-day task:", before, now());
    if (f.actions.calls != QStringList({u"run|/bin/daily"_s, u"run|/bin/once"_s}))
        std::printf("  (unexpected firings: %s)\n", qPrintable(f.actions.calls.join(u", "_s)));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchFileWork();
    for (int count : {100, 1000, 10000})
        benchRebuild(count);
    benchRebuildWithSettingsFile(10000);
    for (int count : {100, 1000, 10000})
        benchTick(count);
    for (int count : {100, 1000, 10000})
        benchPlan(count);
    return 0;
}
