#include "Wallclockwakeup.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

// A CLOCK_REALTIME timerfd armed with an absolute expiry: it fires when the wall clock reaches the
// moment, wherever the clock has been in between, and TFD_TIMER_CANCEL_ON_SET makes a read fail
// with ECANCELED when the clock is set (resume from suspend sets it too).
// Should the system refuse the timer, a precise QTimer counts down to the moment instead: it does
// not follow a change of the clock, but the program keeps firing.
struct WallClockWakeup::Impl {
    int fd = -1;
    QSocketNotifier *notifier = nullptr;
    QTimer fallback;
};

namespace {

bool arm(int fd, qint64 msSinceEpoch)
{
    itimerspec when {};
    // A moment at or before the epoch would disarm the timer; one nanosecond in is long past.
    if (msSinceEpoch <= 0) {
        when.it_value.tv_nsec = 1;
    } else {
        when.it_value.tv_sec = time_t(msSinceEpoch / 1000);
        when.it_value.tv_nsec = long(msSinceEpoch % 1000) * 1000000L;
    }
    return timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) == 0;
}

void disarm(int fd)
{
    const itimerspec when {};
    timerfd_settime(fd, 0, &when, nullptr);
}

} // namespace

WallClockWakeup::WallClockWakeup(QObject *parent)
    : WakeupTimer(parent)
    , d(std::make_unique<Impl>())
{
    d->fallback.setSingleShot(true);
    d->fallback.setTimerType(Qt::PreciseTimer);
    connect(&d->fallback, &QTimer::timeout, this, &WakeupTimer::due);
    d->fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (d->fd < 0)
        return;
    d->notifier = new QSocketNotifier(qintptr(d->fd), QSocketNotifier::Read, this);
    connect(d->notifier, &QSocketNotifier::activated, this, [this] {
        std::uint64_t expirations = 0;
        const ssize_t got = ::read(d->fd, &expirations, sizeof expirations);
        if (got == ssize_t(sizeof expirations)) {
            emit due();
        } else if (got < 0 && errno == ECANCELED) {
            // The timer stays armed for the old moment; the listener plans anew.
            emit clockChanged();
        }
        // EAGAIN: a wake-up that a re-arm overtook; nothing to do.
    });
}

WallClockWakeup::~WallClockWakeup()
{
    delete d->notifier;
    if (d->fd >= 0)
        ::close(d->fd);
}

bool WallClockWakeup::followsWallClock() const
{
    return d->fd >= 0;
}

void WallClockWakeup::wakeAt(const QDateTime &moment)
{
    d->fallback.stop();
    if (d->fd >= 0 && arm(d->fd, moment.toMSecsSinceEpoch()))
        return;
    const qint64 ms = QDateTime::currentDateTime().msecsTo(moment);
    d->fallback.start(int(qBound<qint64>(0, ms, 24LL * 60 * 60 * 1000 + 1000)));
}

void WallClockWakeup::cancel()
{
    d->fallback.stop();
    if (d->fd >= 0)
        disarm(d->fd);
}
