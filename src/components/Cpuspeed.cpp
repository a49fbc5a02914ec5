#include "Cpuspeed.h"

#include "Cyclecounter.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr int MinTrials = 3;
constexpr int MaxTrials = 20;

struct Trial {
    qint64 microseconds = 0;
    qint64 cycles = 0;
};

// Waits until the counter has advanced by at least `ticks` from `from`, reading the time-stamp
// counter after every read; returns the counter value and the last time-stamp read.
std::pair<qint64, quint32> SpinFor(CycleCounter &counter, qint64 from, qint64 ticks)
{
    qint64 now = 0;
    quint32 stamp = 0;
    do {
        now = counter.Counter();
        stamp = counter.TimeStamp();
    } while (now - from < ticks);
    return {now, stamp};
}

Trial RunTrial(CycleCounter &counter, qint64 frequency)
{
    const qint64 first = counter.Counter();
    counter.RaisePriority();
    const auto [startTicks, startStamp] = SpinFor(counter, first, 50);
    const auto [endTicks, endStamp] = SpinFor(counter, startTicks, 1000);
    counter.RestorePriority();

    Trial trial;
    trial.microseconds = RoundedQuotient((endTicks - startTicks) * 100000, frequency / 10);
    trial.cycles = quint32(endStamp - startStamp);
    return trial;
}

} // namespace

qint64 RoundedQuotient(qint64 numerator, qint64 denominator)
{
    if (denominator == 0)
        return 0;
    return (2 * numerator + denominator) / (2 * denominator);
}

int CombinedSpeed(qint64 totalCycles, qint64 totalMicroseconds)
{
    if (totalMicroseconds <= 0)
        return 0;
    qint64 tenths = RoundedQuotient(totalCycles * 10, totalMicroseconds);
    const qint64 hundredths = RoundedQuotient(totalCycles * 100, totalMicroseconds);
    if (hundredths - 10 * tenths >= 6)
        ++tenths;
    qint64 megahertz = RoundedQuotient(totalCycles, totalMicroseconds);
    if (tenths - 10 * megahertz >= 6)
        ++megahertz;
    return int(megahertz);
}

int SnapToClockRating(int megahertz)
{
    static constexpr std::array<int, 9> ratings {0, 20, 33, 50, 60, 66, 80, 90, 100};
    if (megahertz <= 0)
        return megahertz;
    const int rest = megahertz % 100;
    for (std::size_t i = 1; i < ratings.size(); ++i) {
        if (ratings[i] > rest) {
            const int below = rest - ratings[i - 1];
            const int above = ratings[i] - rest;
            return below < above ? megahertz - below : megahertz + above;
        }
    }
    return megahertz;
}

bool TrialsAgree(qint64 a, qint64 b, qint64 c)
{
    const qint64 sum = a + b + c;
    return std::llabs(3 * a - sum) <= 3 && std::llabs(3 * b - sum) <= 3 && std::llabs(3 * c - sum) <= 3;
}

int MeasureCpuSpeed(CycleCounter &counter)
{
    qint64 frequency = 0;
    if (!counter.Frequency(frequency) || frequency < 10)
        return 0;

    std::vector<qint64> results;
    qint64 totalMicroseconds = 0;
    qint64 totalCycles = 0;
    for (int n = 0; n < MaxTrials; ++n) {
        const Trial trial = RunTrial(counter, frequency);
        totalMicroseconds += trial.microseconds;
        totalCycles += trial.cycles;
        results.push_back(RoundedQuotient(trial.cycles, trial.microseconds));
        const std::size_t k = results.size();
        if (k >= MinTrials && TrialsAgree(results[k - 1], results[k - 2], results[k - 3]))
            break;
    }
    return SnapToClockRating(CombinedSpeed(totalCycles, totalMicroseconds));
}

int GetCPUSpeed()
{
    static const int megahertz = MeasureCpuSpeed(SystemCycleCounter());
    return megahertz;
}

qint64 CalibratedPause(int megahertz, int delay)
{
    const qint64 iterations = qint64(megahertz) * delay;
    qint64 done = 0;
    for (qint64 i = 1; i <= iterations; ++i) {
        // volatile keeps the division from being optimised away; it is the wait itself.
        volatile float quotient = 3.1415927f / float(i);
        ++done;
        if (quotient == 0)
            break;
    }
    return done;
}
