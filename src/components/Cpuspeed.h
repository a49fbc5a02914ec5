#pragma once

#include <QtGlobal>

class CycleCounter;

// The processor's clock in megahertz, measured once per process; the animation's pause is a busy
// loop of (megahertz x Delay) iterations, so it lasts about as long on fast and slow processors.
int GetCPUSpeed();

// One measurement with the given clocks: trials until three in a row agree, then the rounding
// and the snapping below. 0 when there is no high-resolution counter.
int MeasureCpuSpeed(CycleCounter &counter);

// Nearest integer of numerator / denominator (both positive), halves up.
qint64 RoundedQuotient(qint64 numerator, qint64 denominator);

// Megahertz from the totals of all trials, rounded through tenths and hundredths.
int CombinedSpeed(qint64 totalCycles, qint64 totalMicroseconds);

// Snaps to a common clock rating: the part below 100 goes to the nearer of 0, 20, 33, 50, 60,
// 66, 80, 90, 100 around it, a tie going up (2394 -> 2390, 1995 -> 2000, 733 -> 733).
int SnapToClockRating(int megahertz);

// True when each of three trial results differs from their mean by at most 1.
bool TrialsAgree(qint64 a, qint64 b, qint64 c);

// The busy wait after an animation step: megahertz x delay iterations; none when that is 0 or
// less. Returns the number of iterations it waited.
qint64 CalibratedPause(int megahertz, int delay);
