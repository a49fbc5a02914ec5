#pragma once

#include <QDateTime>
#include <QObject>

// Wakes the program at a moment of the wall clock, however the clock gets there: a sleep of the
// machine or a change of the clock does not move the moment. The program uses the system's
// service; tests drive one by hand.
class WakeupTimer : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Replaces any earlier moment. A moment already past is due at once.
    virtual void wakeAt(const QDateTime &moment) = 0;
    virtual void cancel() = 0;

signals:
    void due();
    // The clock was set or the machine resumed: every plan made on the old reading is stale.
    void clockChanged();
};
