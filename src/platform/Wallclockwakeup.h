#pragma once

#include "Wakeuptimer.h"

#include <memory>

// The system's wake-up at a wall-clock moment: the process sleeps until then, without ticks. The
// moment follows the wall clock across a sleep of the machine, and a setting of the clock (or a
// resume) is reported as clockChanged() so the caller can plan again.
class WallClockWakeup final : public WakeupTimer {
    Q_OBJECT

public:
    explicit WallClockWakeup(QObject *parent = nullptr);
    ~WallClockWakeup() override;

    void wakeAt(const QDateTime &moment) override;
    void cancel() override;

    // False when the system refused a wall-clock timer and a plain countdown stands in for it.
    bool followsWallClock() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
