#pragma once

#include "Context.h"

#include <QDateTime>

// How far ahead a plan looks: a day and a second, so every every-day entry has a next time in it.
inline constexpr qint64 kPlanHorizonSecs = 24 * 60 * 60 + 1;

// The start of the second that holds `moment` (milliseconds dropped, in absolute time, so a
// repeated hour keeps its own occurrence).
QDateTime SecondOf(const QDateTime &moment);

// The start of the first second at or after the second of `now`, and no later than the horizon,
// in which the tick would find an entry of the table due (IsEntryDue). Invalid when no entry can be
// due in that span: bad texts, a one-shot moment that passed or lies beyond the horizon. A birthday
// entry whose day it is gives the second of `now`. Local time as QDateTime keeps it: a time that a
// clock change skips does not occur that day, and one it repeats occurs twice.
QDateTime NextDueSecond(const ActiveTaskTable &table, const QDateTime &now);
