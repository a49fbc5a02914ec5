#pragma once

#include "Context.h"
#include "support/FakeClock.h"
#include "support/FakeHelperTimer.h"
#include "support/FakeTaskListView.h"
#include "support/MemorySettingsBackend.h"
#include "support/RecordingActions.h"
#include "support/RecordingMessages.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

#include <QList>
#include <QTemporaryDir>

// A core context over a task file in a fresh temporary folder and plain test doubles, with
// "simv_count" set to 15 (its value after the first run).
struct CoreFixture {
    QTemporaryDir dir;
    MemorySettingsBackend settings;
    FakeClock clock;
    FakeTaskListView view;
    FakeHelperTimer helperTimer;
    RecordingActions actions;
    RecordingMessages messages;
    CoreContext ctx;

    CoreFixture()
    {
        settings.set(QStringLiteral("Settings"), QStringLiteral("simv_count"), 15);
        ctx.taskFilePath = dir.filePath(QStringLiteral("ztasks.zct"));
        ctx.settings = &settings;
        ctx.clock = &clock;
        ctx.view = &view;
        ctx.helperTimer = &helperTimer;
        ctx.actions = &actions;
        ctx.messages = &messages;
    }

    void writeTasks(const QList<TaskFields> &tasks, const QStringList &trailing = {}) const
    {
        TxtFile file;
        file.FileName = ctx.taskFilePath;
        for (const TaskFields &task : tasks)
            AppendTask(file, task);
        for (const QString &line : trailing)
            file.AddLine(line);
        file.Modified = true;
        file.Save();
    }

    QStringList fileLines() const
    {
        TxtFile file;
        file.FileName = ctx.taskFilePath;
        file.Load();
        return file.Lines;
    }

    // The state line of every task in the file, in file order.
    QStringList fileStates() const
    {
        const QStringList lines = fileLines();
        QStringList states;
        for (qsizetype k = 0; k + Task::BlockLines <= lines.size(); k += Task::BlockLines)
            states << lines.at(k + Task::State);
        return states;
    }
};

inline TaskFields makeTask(const QString &type, const QString &time, const QString &date,
    const QString &message = QStringLiteral("NULL"), const QString &param = QStringLiteral("NULL"),
    const QString &state = QStringLiteral("true"))
{
    return {type, time, date, message, param, state};
}
