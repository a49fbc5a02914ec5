#pragma once

#include "Clock.h"

#include <QDateTime>

// A clock that shows whatever moment the test sets, and moves only when the test moves it.
class FakeClock final : public Clock {
public:
    QDateTime now;

    FakeClock() = default;
    explicit FakeClock(const QDateTime &start)
        : now(start)
    {
    }

    QDateTime CurrentDateTime() const override { return now; }

    void set(const QDateTime &moment) { now = moment; }
    void advanceMs(qint64 ms) { now = now.addMSecs(ms); }
};
