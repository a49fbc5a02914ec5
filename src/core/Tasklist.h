#pragma once

#include <optional>

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

// The length of a reminder's caption ("simv_count"), read from the settings when a row first
// needs it and kept for the rest of one rebuild: the settings store may be a file parsed on every
// read, and a rebuild makes thousands of rows. A changed setting shows at the next rebuild.
class CaptionLength {
public:
    explicit CaptionLength(SettingsBackend &settings);
    int Get();

private:
    SettingsBackend &m_settings;
    std::optional<int> m_value;
};

// The text of a task's row: the type digit, the caption and the time/date suffix, for example
// "2Выключить компьютер [9:05:00] <5 января 2004>". Throws ZarvoError for a type line that is not
// a number, and for a missing "simv_count" setting when a reminder with a message needs it.
QString TaskDisplayText(const TaskFields &task, CaptionLength &length);

// The row at which the count of ticked rows, from 0, reaches entry; -1 when there is none.
int TickedRowOfEntry(const CoreContext &ctx, int entry);
