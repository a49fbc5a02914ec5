#pragma once

#include "Clock.h"
#include "Ports.h"

#include <QList>
#include <QString>

#include <functional>

class SettingsBackend;

// The time and date texts of one active task, in file order (entry i belongs to the i-th ticked
// row of the task list).
struct ActiveTaskEntry
{
    QString time;
    QString date;

    friend bool operator==(const ActiveTaskEntry &, const ActiveTaskEntry &) = default;
};
using ActiveTaskTable = QList<ActiveTaskEntry>;

// Everything the core's free functions work on; passed as their first argument. The program
// fills it from the main window; tests from temporary files and plain objects.
struct CoreContext
{
    QString taskFilePath;
    SettingsBackend *settings = nullptr;
    const Clock *clock = nullptr;
    TaskListView *view = nullptr;
    HelperTimer *helperTimer = nullptr;
    TaskActions *actions = nullptr;
    UserMessages *messages = nullptr;
    HelpViewer *help = nullptr;
    ActiveTaskTable activeTasks; // owned here, rebuilt by RebuildTaskList, read by the tick
    // Called after every rebuild of the table, also one that failed part-way; whoever plans the
    // ticks listens here. May be empty.
    std::function<void()> activeTasksChanged;
};
