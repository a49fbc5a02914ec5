#pragma once

#include "Clock.h"
#include "Ports.h"
#include "Taskmodel.h"

#include <QList>
#include <QString>

#include <functional>

class SettingsBackend;

// The time and date texts of one active task, in file order, and the task (its index in the task
// model, which is also its row) that the entry belongs to.
struct ActiveTaskEntry
{
    QString time;
    QString date;
    int task = -1;

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
    TaskModel tasks; // the tasks while the program runs; the list's rows show them
    ActiveTaskTable activeTasks; // made from the model with the rows, read by the tick
    // The one change signal: called after every change of the rows and the table; whoever plans
    // the ticks listens here. May be empty.
    std::function<void()> activeTasksChanged;
};
