#pragma once

#include <QDateTime>
#include <QString>

struct CoreContext;
struct ActiveTaskEntry;

// One 200 ms tick: clock labels, then at most one due task fired. Ends silently on any failure.
// It is re-entered while a fired task's notice or countdown is open (timers keep running inside
// modal windows); FireTask settles the task before its action, so a nested tick cannot fire it
// again but may fire the next due one.
void SchedulerTick(CoreContext &ctx);
// Turns fired tasks back to active once their second (every day) or their day (birthday) passed.
// Blocks that cannot be read are passed by; a failed save keeps the change in memory and is
// reported once per run of failures.
void RearmFiredTasks(CoreContext &ctx);
// Fires task k of the task model: finds it in the file by its lines (nothing fires when it is
// gone), settles it (deleted, or "falseM") in memory and then on disk, rebuilds once, runs its
// action exactly once, and only then reports a failed save or a bad block.
void FireTask(CoreContext &ctx, int task);

// The clock texts of one moment that due-ness is decided on.
struct MomentTexts {
    QString time; // "9:05:00"
    QString today; // "5 января ", a birthday's date
    QString todayDate; // "5 января 2004", a one-shot task's date

    static MomentTexts Of(const QDateTime &moment);
};

// Exact text comparison at one-second resolution: a one-shot task at this second of this day, a
// birthday task on its day, or an every-day task at this second.
bool IsEntryDue(const ActiveTaskEntry &entry, const MomentTexts &now);
