#pragma once

#include <QDateTime>
#include <QObject>

struct CoreContext;
class WakeupTimer;

// Decides when SchedulerTick runs. Ticks fall on a beat of 200 ms that starts just after each
// second boundary, so a task fires a few milliseconds into its second. While the main window is
// shown the tick runs on every beat (the clock labels move); while it is hidden only on the beats
// of seconds in which an active task can be due, and the program sleeps in between. What fires,
// in which second and in which order is the same either way: a beat is skipped only when the tick
// would find nothing due on it.
//
// The driver follows the active-task table through the context's change callback, which it owns
// while it lives, and re-plans when the clock is set or the machine resumes. A table change is
// planned when control returns to an event loop (a notice's own loop included): a firing's action
// starts without waiting for the next plan, and the rebuilds of one firing share one plan. The
// next wake-up is armed before each tick, so a box opened from inside a firing never stops time.
// Nothing runs until the first setWindowVisible().
//
// It also tells when ticks were missed: after a resume or a forward change of the clock, and when
// a wake-up arrives more than a second after its moment (a sleep it could not see), it signals the
// span from the last moment it was awake to now, before the tick of now runs. Every moment in
// that span that the plan did not wake for held nothing due, so the span names the missed time.
class TickDriver final : public QObject {
    Q_OBJECT

public:
    static constexpr int kBeatMs = 200;
    // Beats fall on the second boundary: the wake-up timer runs on the clock the tick reads and
    // never wakes before its moment. A wake that reads the old second anyway re-arms for the
    // boundary and ticks again.
    static constexpr int kBeatOffsetMs = 0;

    TickDriver(CoreContext &ctx, WakeupTimer &wakeup, QObject *parent = nullptr);
    ~TickDriver() override;

    void setWindowVisible(bool visible);
    void tableChanged();

    // The first beat strictly after `now`.
    static QDateTime NextBeat(const QDateTime &now);

    static constexpr int kLateWakeupMs = 1000; // a wake-up later than this slept through its moment

signals:
    void ticksMissed(const QDateTime &lastAwake, const QDateTime &now);

private:
    void onDue();
    void onClockChanged();
    void noteGap(const QDateTime &now);
    void schedule();
    void arm(const QDateTime &moment);

    CoreContext &m_ctx;
    WakeupTimer &m_wakeup;
    bool m_started = false;
    bool m_visible = false;
    bool m_tickWhenDue = false; // false while the wake-up only renews a plan that found nothing
    bool m_planPending = false; // a table change waits for the event loop to be planned
    QDateTime m_lastAwake; // the clock when the driver last planned
    QDateTime m_armedFor; // the moment the wake-up is armed for
};
