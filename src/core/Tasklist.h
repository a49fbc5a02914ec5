#pragma once

#include <optional>

#include <QString>

#include "Taskrecord.h"

struct CoreContext;
class TxtFile;
class SettingsBackend;

// The task list of the main window and the operations that change the task file from it. The
// task model of the context is what they work on: every change is made to it, written to the
// file, and the rows and the active-task table are made afresh from it. Before a task is changed
// its block must still hold the lines it was read with; a file changed by someone else is read
// again and the task looked for by those lines, never taken by its position alone.
// The task file of the context, loaded (created empty when missing).
TxtFile LoadTaskFile(const CoreContext &ctx);
// Reads the task file and shows it. A block that cannot be read is one row that never fires; it
// is reported once (see TaskModel::NoteProblems).
void RebuildTaskList(CoreContext &ctx);
void UpdateActiveState(CoreContext &ctx);
// Writes the tick of every task ("true" or "false") to its state; bad blocks stay as they are.
void StoreTickStates(CoreContext &ctx);
// The task's state becomes "falseM". A failed save keeps it fired in memory and raises.
void MarkTaskFired(CoreContext &ctx, int task);
// Removes the task (the row and the block); a failure says "тут!" and leaves both as they were.
// A task that is no longer in the file is already gone: the list shows the file as it is.
void DeleteTask(CoreContext &ctx, int task);
void ClearAllTasks(CoreContext &ctx);
// The user ticked or unticked a row: the model's tick follows; StoreTickStates writes it.
void SetTaskTicked(CoreContext &ctx, int task, bool ticked);

// ---- the model's file and rows, for the scheduler ----

// Reads the task file once. When it is no longer what the program last read or wrote, someone
// else changed it: the model is made afresh from it and true is returned.
bool SyncTaskModel(CoreContext &ctx);
// Writes the model's lines; the error text when that failed (the file is then unchanged and the
// model stays ahead of it, to be written by the next save).
QString SaveTaskModel(CoreContext &ctx);
// Removes the blocks (any order, each once) from the model and saves. When the save fails the model
// is put back as it was and the error text returned; the file is then unchanged.
QString RemoveTaskBlocks(CoreContext &ctx, QList<int> blocks);
// Makes the rows and the active-task table from the model, then UpdateActiveState and the change
// signal. Problems found are queued as reports.
void RenderTaskList(CoreContext &ctx);
// Shows the queued reports, unless a firing is between a due task and its action.
void ShowPendingReports(CoreContext &ctx);

// Finds the task in the file as it is now (by its lines) and marks it fired or removes it: in
// memory first, then on disk. block -1: the task is gone and nothing was done.
struct SettledTask {
    int block = -1;
    TaskFields fields;
    QString saveError; // not empty: the save failed; the model holds the change all the same
};
SettledTask SettleTask(CoreContext &ctx, int task, bool remove);

// The length of a reminder's caption ("simv_count"), read from the settings when a row first
// needs it and kept for the rest of one rebuild: the settings store may be a file parsed on every
// read, and a rebuild makes thousands of rows. A changed setting shows at the next rebuild. A
// missing or invalid value gives the default 15 and the error's text as Problem().
class CaptionLength {
public:
    static constexpr int Default = 15;
    explicit CaptionLength(SettingsBackend &settings);
    int Get();
    const QString &Problem() const { return m_problem; }

private:
    SettingsBackend &m_settings;
    std::optional<int> m_value;
    QString m_problem;
};

// The text of a task's row: the type digit, the caption and the time/date suffix, for example
// "2Выключить компьютер [9:05:00] <5 января 2004>". Throws ZarvoError for a type line that is not
// a number.
QString TaskDisplayText(const TaskFields &task, CaptionLength &length);
