#pragma once

#include "Taskrecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

struct CoreContext;
class SettingsBackend;

// The opt-in report of missed tasks ("missed_report", off unless the user turns it on). Nothing
// ever fires late: the report only lists what was missed, and the user decides what to do.

// A task whose moment passed while no tick ran.
struct MissedTask {
    QStringList identity; // the block's seven lines as they were read: this is the task
    int block = -1; // where it was when it was found; only a hint later
    int type = 0;
    TaskKind kind = TaskKind::OneShot;
    QString text; // the task list's text of the task
    QDateTime due; // the moment it was due (for an every-day task the latest one missed)
    QString message;
    QString param;

    bool IsOneShot() const { return kind == TaskKind::OneShot; }
};
using MissedTaskList = QList<MissedTask>;

// What the user may do with a missed task: open its notice, open its program or document, or
// nothing (shutdown, restart, log-off and the screen saver never run late).
enum class MissedAction { None, ShowNotice, Run };
MissedAction ActionFor(const MissedTask &task);

// Where the report is shown: one window for all the misses of one detection.
class MissedTasksReport {
public:
    virtual ~MissedTasksReport() = default;
    virtual void ShowMissedTasks(const MissedTaskList &tasks) = 0;
};

inline const QString MissedReportSetting = QStringLiteral("missed_report");

// The setting; a settings file without it (every file written before it existed) reads as off,
// without an error. A value of the wrong type raises the store's error.
bool MissedReportEnabled(SettingsBackend &settings);

// At start-up: every active one-shot task whose second is earlier than the second of `now`, in
// file order. (Every-day and birthday tasks simply come round again.)
MissedTaskList FindMissedAtStart(const CoreContext &ctx, const QDateTime &now);

// After a time in which no tick ran, from `from` (the last moment the program was awake) to `to`
// (now): every active one-shot or every-day task with a second strictly between the seconds of
// the two, and every active birthday task whose whole day lay between them, in file order. Nothing
// when `to` is not later than `from` (the clock went back).
MissedTaskList FindMissedBetween(const CoreContext &ctx, const QDateTime &from, const QDateTime &to);

// The two detections with the setting applied: the report gets one call with all the misses, or
// none when there are none or the setting is off. A setting that cannot be read is reported to the
// user (its text) and counts as off; the schedule runs on.
void ReportMissedAtStart(CoreContext &ctx, MissedTasksReport &report);
void ReportMissedBetween(
    CoreContext &ctx, MissedTasksReport &report, const QDateTime &from, const QDateTime &to);

// Runs the task's late action: its notice, or its program or document. Nothing for the others.
// The task file is not touched.
void ActOnMissedTask(CoreContext &ctx, const MissedTask &task);

// Deletes the listed one-shot tasks that are still in the file (found by their lines, as
// DeleteTask finds a task) in one save, and rebuilds the list. Returns the identities of those
// that are no longer in the file afterwards (deleted now or gone already). A failed save says
// "тут!", leaves the file and the list as they were, and returns nothing.
QList<QStringList> DeleteMissedOneShots(CoreContext &ctx, const MissedTaskList &tasks);
