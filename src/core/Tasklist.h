#pragma once

struct CoreContext;

// The task list of the main window and the operations that change the task file from it. Every
// change is written to the file first; then the rows and the active-task table are rebuilt.
void RebuildTaskList(CoreContext &ctx);
void UpdateActiveState(CoreContext &ctx);
void StoreTickStates(CoreContext &ctx);
void MarkTaskFired(CoreContext &ctx, int task);
void DeleteTask(CoreContext &ctx, int task);
void ClearAllTasks(CoreContext &ctx);
