#include "Tickdriver.h"

#include "Context.h"
#include "Scheduler.h"
#include "Tickplan.h"
#include "Wakeuptimer.h"

QDateTime TickDriver::NextBeat(const QDateTime &now)
{
    const QDateTime second = SecondOf(now);
    const int ms = now.time().msec();
    for (int offset = kBeatOffsetMs; offset < 1000; offset += kBeatMs) {
        if (offset > ms)
            return second.addMSecs(offset);
    }
    return second.addMSecs(1000 + kBeatOffsetMs);
}

TickDriver::TickDriver(CoreContext &ctx, WakeupTimer &wakeup, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_wakeup(wakeup)
{
    m_ctx.activeTasksChanged = [this] { tableChanged(); };
    connect(&m_wakeup, &WakeupTimer::due, this, &TickDriver::onDue);
    connect(&m_wakeup, &WakeupTimer::clockChanged, this, &TickDriver::onClockChanged);
}

TickDriver::~TickDriver()
{
    m_ctx.activeTasksChanged = nullptr;
    m_wakeup.cancel();
}

void TickDriver::setWindowVisible(bool visible)
{
    m_started = true;
    m_visible = visible;
    schedule();
}

void TickDriver::tableChanged()
{
    if (m_planPending)
        return;
    m_planPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_planPending)
                schedule();
        },
        Qt::QueuedConnection);
}

void TickDriver::noteGap(const QDateTime &now)
{
    if (m_started && m_lastAwake.isValid() && now > m_lastAwake)
        emit ticksMissed(m_lastAwake, now);
}

void TickDriver::onClockChanged()
{
    noteGap(m_ctx.clock->CurrentDateTime()); // a clock set back is no gap: noteGap ignores it
    schedule();
}

void TickDriver::onDue()
{
    const bool tick = m_tickWhenDue;
    const QDateTime now = m_ctx.clock->CurrentDateTime();
    if (m_armedFor.isValid() && now > m_armedFor.addMSecs(kLateWakeupMs))
        noteGap(now);
    // The next wake-up is armed before the tick: a firing may open a box (a notice, a countdown,
    // a report) whose own event loop must keep the beat while it is open.
    schedule();
    if (!tick)
        return;
    SchedulerTick(m_ctx); // may re-enter through a modal action
    schedule(); // the tick may have changed the table
}

void TickDriver::schedule()
{
    m_planPending = false;
    if (!m_started)
        return;
    const QDateTime now = m_ctx.clock->CurrentDateTime();
    m_lastAwake = now;
    const QDateTime beat = NextBeat(now);
    if (m_visible) {
        m_tickWhenDue = true;
        arm(beat);
        return;
    }
    const QDateTime due = NextDueSecond(m_ctx.activeTasks, beat);
    if (!due.isValid()) {
        // Nothing can be due within the horizon: look again at its end.
        m_tickWhenDue = false;
        arm(SecondOf(beat).addSecs(kPlanHorizonSecs - 1));
        return;
    }
    m_tickWhenDue = true;
    arm(due == SecondOf(beat) ? beat : due.addMSecs(kBeatOffsetMs));
}

void TickDriver::arm(const QDateTime &moment)
{
    m_armedFor = moment;
    m_wakeup.wakeAt(moment);
}
