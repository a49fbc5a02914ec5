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

// Returns after firing one task: a single tick never fires two.
void fireFirstDue(CoreContext &ctx, const MomentTexts &now)
{
    const int entries = int(ctx.activeTasks.size());
    for (int i = 0; i < entries; ++i) {
        const ActiveTaskEntry &entry = ctx.activeTasks.at(i);
        if (!IsEntryDue(entry, now))
            continue;
        if (entry.task < 0 || entry.task >= ctx.tasks.tasks.size())
            continue;
        FireTask(ctx, entry.task);
        return;
    }
}

// Marks the time between a due task and the start of its action: reports wait meanwhile.
class FiringScope {
public:
    explicit FiringScope(TaskModel &model)
        : m_model(model)
    {
        ++m_model.firingDepth;
    }
    ~FiringScope() { --m_model.firingDepth; }
    FiringScope(const FiringScope &) = delete;
    FiringScope &operator=(const FiringScope &) = delete;

private:
    TaskModel &m_model;
};

// A failed save starts a run of failures, which is reported once; a save that works ends it.
void noteSaveFailure(TaskModel &model, const QString &report)
{
    if (model.saveFailing)
        return;
    model.saveFailing = true;
    model.pendingReports.append(report);
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
    TaskModel &model = ctx.tasks;
    SyncTaskModel(ctx);
    int waiting = 0; // fired every-day tasks still inside their own second
    bool changed = false;
    for (ModelTask &task : model.tasks) {
        if (task.IsBad() || task.Line(Task::State) != Task::StateFired)
            continue;
        const QDateTime moment = ctx.clock->CurrentDateTime();
        if (task.type != ttBirthday) {
            if (TimeToText(moment) == task.Line(Task::Time)) {
                ++waiting;
                continue;
            }
        } else if (DayToText(moment) + MonthToWord(moment) == task.Line(Task::Date)) {
            continue; // a birthday is re-armed only from the next day on
        }
        task.ticked = true;
        changed = true;
    }
    // The ticks are stored: a fired task that is not re-armed in this run becomes inactive.
    if (changed) {
        for (int k = 0; k < model.tasks.size(); ++k) {
            const ModelTask &task = model.tasks.at(k);
            if (!task.IsBad())
                model.lines[TaskLine(k, Task::State)] = task.ticked ? Task::StateActive : Task::StateInactive;
        }
        // Kept in memory when the save fails, so the tasks come back all the same.
        const QString error = SaveTaskModel(ctx);
        if (!error.isEmpty())
            noteSaveFailure(model, error);
    }
    if (waiting == 0)
        ctx.helperTimer->Disable();
    model.Parse();
    RenderTaskList(ctx);
    ShowPendingReports(ctx);
}

void FireTask(CoreContext &ctx, int task)
{
    TaskModel &model = ctx.tasks;
    {
        const FiringScope firing(model);
        if (task < 0 || task >= model.tasks.size() || model.tasks.at(task).IsBad())
            return;
        // The task is settled (in memory, then on disk) and the list and the table are made again
        // before its action starts, so a tick that runs while a notice or countdown is open does
        // not see it again, whether the save worked or not.
        const ModelTask &due = model.tasks.at(task);
        const bool repeats = due.Line(Task::Type) == QStringLiteral("7") || due.Line(Task::Date) == Task::Null;
        const SettledTask settled = SettleTask(ctx, task, !repeats);
        RenderTaskList(ctx);
        if (settled.block < 0)
            return; // no longer in the file: nothing fires
        if (repeats) {
            ctx.helperTimer->Disable();
            ctx.helperTimer->Enable();
        }
        if (!settled.saveError.isEmpty())
            noteSaveFailure(model, repeats ? settled.saveError : Msg::DeleteFailed);
        runAction(ctx, StrToInt(settled.fields.type), settled.fields.message, settled.fields.param);
    }
    ShowPendingReports(ctx);
}
