#pragma once

#include <QtGlobal>

// The clocks the calibrated animation pause is measured with: a high-resolution counter of known
// frequency and the processor's time-stamp counter.
class CycleCounter {
public:
    virtual ~CycleCounter() = default;
    // False when there is no high-resolution counter.
    virtual bool Frequency(qint64 &ticksPerSecond) = 0;
    virtual qint64 Counter() = 0;
    // Low 32 bits of the processor's time-stamp counter; 0 where the processor has none.
    virtual quint32 TimeStamp() = 0;
    // Keep the thread from being interrupted during one short measurement, where the system lets us.
    virtual void RaisePriority() = 0;
    virtual void RestorePriority() = 0;
};

CycleCounter &SystemCycleCounter();
