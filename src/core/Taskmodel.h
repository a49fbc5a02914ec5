#pragma once

#include "Taskrecord.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// One task as the program holds it: the seven lines of its block as they were read (which is
// what makes it this task, whatever its position), what they mean, and the tick of its row.
struct ModelTask {
    QStringList lines; // marker, type, time, date, message, param, state
    int type = 0;
    // Not empty when the block cannot be read (its type is not a number): the task is shown as a
    // row, never fires, and its lines are written back exactly as they were read.
    QString problem;
    bool ticked = false;

    bool IsBad() const { return !problem.isEmpty(); }
    const QString &Line(Task::Field field) const { return lines.at(field); }
    TaskFields Fields() const;
};

// The task file while the program runs: its lines, the tasks made of them (task k is block k,
// lines 7k to 7k+6), and what is still to be said about them. The task list, the active-task
// table and every operation that changes tasks work on this; the rows of the list only show it.
class TaskModel {
public:
    QStringList lines; // the task file as the program holds it
    // The file as it was last read from or written to the disk. While it equals the file on disk,
    // nobody else changed the file; `lines` may be ahead of it after a failed save.
    QStringList diskLines;
    bool loaded = false;
    QList<ModelTask> tasks;

    // Messages that wait until no firing is between a due task and its action.
    QStringList pendingReports;
    int firingDepth = 0;
    bool saveFailing = false; // a run of failed saves has begun and was reported
    int rebuilds = 0; // renderings of the list, for the benchmark

    // Makes the tasks from `lines`; the ticks follow the states ("true" ticked).
    void Parse();
    // The block that holds exactly these seven lines: `hint` when it still does, else the first
    // such block; -1 when the task is gone.
    int Find(const QStringList &identity, int hint) const;
    // The problems found by the last rendering, each as (what it is, the report that says so):
    // a report is added unless the same problem was reported before and has not gone away since,
    // so a bad block is reported once, not at every rebuild.
    void NoteProblems(const QList<QPair<QString, QString>> &problems);

private:
    QSet<QString> m_reported;
};
