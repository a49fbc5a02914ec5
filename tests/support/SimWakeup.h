#pragma once

#include "Clock.h"
#include "Ports.h"
#include "Wakeuptimer.h"

#include <QDateTime>

// The wall-clock wake-up on a simulated clock: it remembers the moment it was armed for, and the
// test fires it when the simulated clock gets there.
class SimWakeup final : public WakeupTimer {
public:
    QDateTime armed;
    void wakeAt(const QDateTime &moment) override { armed = moment; }
    void cancel() override { armed = QDateTime(); }
    void fire()
    {
        armed = QDateTime();
        emit due();
    }
    void clockWasSet() { emit clockChanged(); }
};

// TimerHelper on the simulated clock: a 5000 ms period that starts afresh on Enable.
class SimHelperTimer final : public HelperTimer {
public:
    const Clock *clock = nullptr;
    QDateTime next;
    void Disable() override { next = QDateTime(); }
    void Enable() override { next = clock->CurrentDateTime().addMSecs(5000); }
    bool IsEnabled() const override { return next.isValid(); }
};
