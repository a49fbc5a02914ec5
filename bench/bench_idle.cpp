// Figures for the scheduler running in the background, without the windows: 100 active tasks,
// and the tick driven either by a 200 ms timer (as the program first did) or by the sleeping
// driver with the window hidden or shown.
//   bench_idle footprint <poll|hidden|visible> <seconds>: CPU time, wake-ups (context switches),
//     RSS and PSS of this process over the interval, no task due in it.
//   bench_idle latency <poll|hidden|visible> <firings>: every-day tasks one second apart, the
//     delay from the start of each task's second to its action, p50 / p99 / max.
// Prints one line; asserts nothing.
#include "Context.h"
#include "Scheduler.h"
#include "support/CoreFixture.h"
#include "Tasklist.h"
#include "Tickdriver.h"
#include "Tickplan.h"
#include "Wallclockwakeup.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

struct Usage {
    double cpuSeconds;
    long switches;
};

Usage usageNow()
{
    rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    const double cpu = double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec)
        + double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    return {cpu, ru.ru_nvcsw + ru.ru_nivcsw};
}

// A field of /proc/self/smaps_rollup in kB, -1 when it cannot be read.
long rollupKb(const QByteArray &field)
{
    QFile file(QStringLiteral("/proc/self/smaps_rollup"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(QByteArray(field + ':')))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Runs the tick the chosen way for as long as the object lives.
class Ticking {
public:
    Ticking(const QByteArray &mode, CoreContext &ctx)
    {
        if (mode == "poll") {
            timer = std::make_unique<QTimer>();
            timer->setInterval(200);
            QObject::connect(timer.get(), &QTimer::timeout, [&ctx] { SchedulerTick(ctx); });
            timer->start();
            return;
        }
        wakeup = std::make_unique<WallClockWakeup>();
        driver = std::make_unique<TickDriver>(ctx, *wakeup);
        driver->setWindowVisible(mode == "visible");
    }

private:
    std::unique_ptr<QTimer> timer;
    std::unique_ptr<WallClockWakeup> wakeup;
    std::unique_ptr<TickDriver> driver;
};

QString timeText(const QDateTime &moment)
{
    return MomentTexts::Of(moment).time;
}

int footprint(const QByteArray &mode, int seconds)
{
    CoreFixture f;
    SystemClock clock;
    f.ctx.clock = &clock;
    const QDateTime now = QDateTime::currentDateTime();
    QList<TaskFields> tasks;
    for (int i = 0; i < 100; ++i) // every day, none due within the next hour
        tasks << makeTask("6", timeText(now.addSecs(3600 + 60 * i)), "NULL", "NULL", "/bin/true");
    f.writeTasks(tasks);
    RebuildTaskList(f.ctx);
    Ticking ticking(mode, f.ctx);

    Usage start {};
    QTimer::singleShot(1000, [&] { start = usageNow(); }); // after start-up settles
    QTimer::singleShot(1000 + seconds * 1000, [&] {
        const Usage end = usageNow();
        std::printf("idle %-7s %3d s, 100 active tasks: cpu %8.3f ms/min  wake-ups %7.2f /s  RSS %6ld kB  "
                    "PSS %6ld kB\n",
            mode.constData(), seconds, (end.cpuSeconds - start.cpuSeconds) * 1000.0 * 60 / seconds,
            double(end.switches - start.switches) / seconds, rollupKb("Rss"), rollupKb("Pss"));
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

int latency(const QByteArray &mode, int firings)
{
    CoreFixture f;
    SystemClock clock;
    f.ctx.clock = &clock;
    const QDateTime first = SecondOf(QDateTime::currentDateTime()).addSecs(3);
    QList<TaskFields> tasks;
    for (int i = 0; i < firings; ++i)
        tasks << makeTask("6", timeText(first.addSecs(i)), "NULL", "NULL", QString::number(i));
    f.writeTasks(tasks);
    RebuildTaskList(f.ctx);

    std::vector<qint64> delays;
    f.actions.whileOpen = [&](const QString &) {
        const QDateTime fired = QDateTime::currentDateTime();
        delays.push_back(SecondOf(fired).msecsTo(fired));
        if (int(delays.size()) == firings)
            QCoreApplication::quit();
    };
    Ticking ticking(mode, f.ctx);
    QTimer::singleShot((firings + 10) * 1000, &QCoreApplication::quit);
    QCoreApplication::exec();

    std::sort(delays.begin(), delays.end());
    const auto pick
        = [&](double q) { return delays.empty() ? -1 : delays[size_t(q * double(delays.size() - 1))]; };
    std::printf("latency %-7s %2zu of %d firings: p50 %4lld ms  p99 %4lld ms  max %4lld ms\n",
        mode.constData(), delays.size(), firings, pick(0.5), pick(0.99), delays.empty() ? -1 : delays.back());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray what = argc > 1 ? argv[1] : "footprint";
    const QByteArray mode = argc > 2 ? argv[2] : "hidden";
    const int amount = argc > 3 ? std::max(1, atoi(argv[3])) : 60;
    if (mode != "poll" && mode != "hidden" && mode != "visible") {
        std::fprintf(stderr, "mode: poll, hidden or visible\n");
        return 2;
    }
    if (what == "latency")
        return latency(mode, amount);
    return footprint(mode, amount);
}
