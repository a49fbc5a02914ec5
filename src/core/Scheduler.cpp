#include "Scheduler.h"

#include "Context.h"
#include "Conversions.h"
#include "Datetimetext.h"
#include "Errors.h"
#include "Messages.h"
#include "Tasklist.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

namespace {

void setRowChecked(CoreContext &ctx, int row, bool checked)
{
    if (row < 0 || row >= ctx.view->RowCount())
        throw ZarvoError(QStringLiteral("List index out of bounds (%1)").arg(row));
    ctx.view->SetRowChecked(row, checked);
}

// Returns after firing one task: a single tick never fires two.
void fireFirstDue(CoreContext &ctx, const MomentTexts &now)
{
    const int entries = int(ctx.activeTasks.size());
    for (int i = 0; i < entries; ++i) {
        if (!IsEntryDue(ctx.activeTasks.at(i), now))
            continue;
        const int row = TickedRowOfEntry(ctx, i);
        if (row < 0)
            continue;
        FireTask(ctx, row);
        return;
    }
}

void runAction(CoreContext &ctx, int type, const QString &message, const QString &param)
{
    TaskActions &actions = *ctx.actions;
    switch (type) {
    case ttRemind:
        actions.ShowReminderNotice(message, param);
        break;
    case ttShutdown:
        actions.ShowShutdownCountdown(true);
        break;
    case ttReboot:
        actions.ShowShutdownCountdown(false);
        break;
    case ttLogOff:
        actions.LogOffUser();
        break;
    case ttScreenSaver:
        actions.StartScreenSaver();
        break;
    case ttRunProgram:
        actions.RunProgram(param);
        break;
    case ttBirthday:
        actions.ShowBirthdayNotice(message, param);
        break;
    default:
        break;
    }
}

} // namespace

MomentTexts MomentTexts::Of(const QDateTime &moment)
{
    const QString today = DayToText(moment) + MonthToWord(moment);
    return {TimeToText(moment), today, today + YearToText(moment)};
}

bool IsEntryDue(const ActiveTaskEntry &entry, const MomentTexts &now)
{
    // The order of the tests is the order in which they are documented to be made.
    if (entry.time == now.time && entry.date == now.todayDate)
        return true;
    if (entry.time == Task::Null && entry.date == now.today)
        return true;
    return entry.time == now.time && entry.date == Task::Null;
}

void SchedulerTick(CoreContext &ctx)
{
    try {
        const QDateTime moment = ctx.clock->CurrentDateTime();
        const MomentTexts now = MomentTexts::Of(moment);
        // The weekday comes from the same reading of the clock as the other labels, so the three
        // never disagree at midnight.
        ctx.view->SetClockTexts(now.time, now.todayDate + Msg::YearSuffix, WeekdayText(moment.date()));
        fireFirstDue(ctx, now);
    } catch (...) {
        // A failed tick is dropped without a word; the next one starts afresh.
    }
}

void RearmFiredTasks(CoreContext &ctx)
{
    const TxtFile file = LoadTaskFile(ctx);
    const int count = TaskCount(file);
    int waiting = 0; // fired every-day tasks still inside their own second
    bool changed = false;
    for (int k = 0; k < count; ++k) {
        if (file.GetLine(TaskLine(k, Task::State)) != Task::StateFired)
            continue;
        const int type = StrToInt(file.GetLine(TaskLine(k, Task::Type)));
        const QDateTime moment = ctx.clock->CurrentDateTime();
        if (type != ttBirthday) {
            if (TimeToText(moment) == file.GetLine(TaskLine(k, Task::Time))) {
                ++waiting;
                continue;
            }
        } else if (DayToText(moment) + MonthToWord(moment) == file.GetLine(TaskLine(k, Task::Date))) {
            continue; // a birthday is re-armed only from the next day on
        }
        setRowChecked(ctx, k, true);
        changed = true;
    }
    // Storing writes every unticked row "false": a fired task that is not re-armed in this run
    // becomes inactive.
    if (changed)
        StoreTickStates(ctx);
    if (waiting == 0)
        ctx.helperTimer->Disable();
    RebuildTaskList(ctx);
}

void FireTask(CoreContext &ctx, int task)
{
    // Copies taken now are what the action gets, after the block may have been deleted.
    const TxtFile file = LoadTaskFile(ctx);
    const QString type = file.GetLine(TaskLine(task, Task::Type));
    const QString date = file.GetLine(TaskLine(task, Task::Date));
    const QString message = file.GetLine(TaskLine(task, Task::Message));
    const QString param = file.GetLine(TaskLine(task, Task::Param));

    // The task is settled in the file and the table before its action starts, so a tick that runs
    // while a notice or countdown is open does not see it again.
    const bool repeats = type == QStringLiteral("7") || date == Task::Null;
    if (repeats) {
        MarkTaskFired(ctx, task);
        // Unticked only once the file says "falseM" (the rebuild has unticked it already): if
        // marking fails, the ticks still agree with the table, so the next tick cannot map a due
        // entry onto another task's row.
        setRowChecked(ctx, task, false);
        ctx.helperTimer->Disable();
        ctx.helperTimer->Enable();
    } else {
        DeleteTask(ctx, task);
    }
    ctx.activeTasks = ActiveTaskTable();
    RebuildTaskList(ctx);

    runAction(ctx, StrToInt(type), message, param);
}
