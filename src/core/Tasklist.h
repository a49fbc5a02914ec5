#pragma once

#include <QString>

struct CoreContext;
class TxtFile;
class SettingsBackend;
struct TaskFields;

// The task list of the main window and the operations that change the task file from it. Every
// change is written to the file first; then the rows and the active-task table are rebuilt.
// The task file of the context, loaded (created empty when missing).
TxtFile LoadTaskFile(const CoreContext &ctx);
void RebuildTaskList(CoreContext &ctx);
void UpdateActiveState(CoreContext &ctx);
void StoreTickStates(CoreContext &ctx);
void MarkTaskFired(CoreContext &ctx, int task);
void DeleteTask(CoreContext &ctx, int task);
void ClearAllTasks(CoreContext &ctx);

// The text of a task's row: the type digit, the caption and the time/date suffix, for example
// "2Выключить компьютер [9:05:00] <5 января 2004>". Throws ZarvoError for a type line that is not
// a number, and for a missing "simv_count" setting when a reminder with a message needs it.
QString TaskDisplayText(const TaskFields &task, SettingsBackend &settings);

// The row at which the count of ticked rows, from 0, reaches entry; -1 when there is none.
int TickedRowOfEntry(const CoreContext &ctx, int entry);
