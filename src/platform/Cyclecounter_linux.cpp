#include "Cyclecounter.h"

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

// The monotonic clock read in 100 ns ticks, the resolution of the Windows performance counter.
constexpr qint64 TicksPerSecond = 10'000'000;

class LinuxCycleCounter final : public CycleCounter {
public:
    bool Frequency(qint64 &ticksPerSecond) override
    {
        ticksPerSecond = TicksPerSecond;
        return true;
    }

    qint64 Counter() override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100;
    }

    quint32 TimeStamp() override
    {
#if defined(__x86_64__) || defined(__i386__)
        return quint32(__rdtsc());
#else
        return 0;
#endif
    }

    // A desktop user may not raise a thread to a real-time class on Linux; the trials run at
    // normal priority and the agreement rule of the measurement discards disturbed ones.
    void RaisePriority() override
    {
    }
    void RestorePriority() override
    {
    }
};

} // namespace

CycleCounter &SystemCycleCounter()
{
    static LinuxCycleCounter counter;
    return counter;
}
