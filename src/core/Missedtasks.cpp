#include "Missedtasks.h"

#include "Context.h"
#include "Datetimetext.h"
#include "Errors.h"
#include "Messages.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Tasklist.h"
#include "Tickplan.h"

#include <QSet>

#include <optional>

namespace {

// The time of a "9:05:00" text, when the text is exactly what the tick compares with.
std::optional<QTime> timeOf(const QString &text)
{
    const QTime time = QTime::fromString(text, QStringLiteral("H:mm:ss"));
    if (!time.isValid() || TimeToText(QDateTime(QDate(2000, 1, 1), time)) != text)
        return std::nullopt;
    return time;
}

// Day and month of a "5 января " text (a birthday), or of the start of "5 января 2004".
std::optional<QPair<int, int>> dayAndMonthOf(const QString &text, qsizetype wordEnd)
{
    const qsizetype blank = text.indexOf(u' ');
    if (blank <= 0 || wordEnd <= blank)
        return std::nullopt;
    bool ok = false;
    const int day = text.left(blank).toInt(&ok);
    const int month = WordToMonth(text.mid(blank, wordEnd - blank));
    if (!ok || month == 0)
        return std::nullopt;
    return QPair<int, int>(day, month);
}

// The date of a one-shot task's "5 января 2004" text, when it is exactly the tick's text of it.
std::optional<QDate> oneShotDateOf(const QString &text)
{
    const qsizetype lastBlank = text.lastIndexOf(u' ');
    const auto dayMonth = dayAndMonthOf(text, lastBlank + 1);
    if (!dayMonth)
        return std::nullopt;
    bool ok = false;
    const int year = text.mid(lastBlank + 1).toInt(&ok);
    const QDate date(year, dayMonth->second, dayMonth->first);
    if (!ok || !date.isValid() || OneShotDateText(date.startOfDay()) != text)
        return std::nullopt;
    return date;
}

// A wall-clock moment that shows exactly this time on this day (a time skipped by a clock change
// does not occur).
std::optional<QDateTime> momentOn(const QDate &date, const QTime &time, const QString &timeText)
{
    const QDateTime moment(date, time);
    if (!moment.isValid() || TimeToText(moment) != timeText || moment.date() != date)
        return std::nullopt;
    return moment;
}

std::optional<QDateTime> oneShotMoment(const ModelTask &task)
{
    const auto time = timeOf(task.Line(Task::Time));
    const auto date = oneShotDateOf(task.Line(Task::Date));
    if (!time || !date)
        return std::nullopt;
    return momentOn(*date, *time, task.Line(Task::Time));
}

// Seconds strictly between the second of `from` and the second of `to`.
struct Gap {
    QDateTime first; // the first second inside
    QDateTime end; // the second of `to`, outside

    bool Holds(const QDateTime &moment) const { return moment >= first && moment < end; }
};

std::optional<QDateTime> everyDayMissed(const ModelTask &task, const Gap &gap)
{
    const QString &text = task.Line(Task::Time);
    const auto time = timeOf(text);
    if (!time)
        return std::nullopt;
    // The latest occurrence: on the last day of the gap or the day before (a gap of a day or more
    // always holds one of the two).
    for (int back = 0; back <= 2; ++back) {
        const auto moment = momentOn(gap.end.date().addDays(-back), *time, text);
        if (moment && gap.Holds(*moment))
            return moment;
        if (moment && *moment < gap.first)
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<QDateTime> birthdayMissed(const ModelTask &task, const QDateTime &from, const QDateTime &to)
{
    const QString &text = task.Line(Task::Date);
    const auto dayMonth = dayAndMonthOf(text, text.size());
    if (!dayMonth)
        return std::nullopt;
    // The latest such day that lay whole between the two moments: after from's day, before to's.
    for (int year = to.date().year(); year >= from.date().year(); --year) {
        const QDate day(year, dayMonth->second, dayMonth->first);
        if (!day.isValid() || day >= to.date())
            continue;
        if (day <= from.date())
            break;
        if (BirthdayDateText(day.startOfDay()) == text)
            return day.startOfDay();
    }
    return std::nullopt;
}

MissedTask missedTask(const CoreContext &ctx, int k, const QDateTime &due, CaptionLength &length)
{
    const ModelTask &task = ctx.tasks.tasks.at(k);
    MissedTask missed;
    missed.identity = task.lines;
    missed.block = k;
    missed.type = task.type;
    missed.kind = KindOf(task.Line(Task::Time), task.Line(Task::Date));
    missed.text = TaskDisplayText(task.Fields(), length);
    missed.due = due;
    missed.message = task.Line(Task::Message);
    missed.param = task.Line(Task::Param);
    return missed;
}

// The active tasks of the table, in file order, with the moment each was missed at if it was.
template<typename MissedAt> MissedTaskList collect(const CoreContext &ctx, MissedAt missedAt)
{
    MissedTaskList missed;
    CaptionLength length(*ctx.settings);
    for (const ActiveTaskEntry &entry : ctx.activeTasks) {
        if (entry.task < 0 || entry.task >= ctx.tasks.tasks.size())
            continue;
        const ModelTask &task = ctx.tasks.tasks.at(entry.task);
        if (task.IsBad())
            continue;
        if (const std::optional<QDateTime> due = missedAt(task))
            missed.append(missedTask(ctx, entry.task, *due, length));
    }
    return missed;
}

// Reads the setting for one detection; a value that cannot be read is said once and means off.
bool reportWanted(CoreContext &ctx)
{
    try {
        return MissedReportEnabled(*ctx.settings);
    } catch (const ZarvoError &error) {
        if (ctx.messages)
            ctx.messages->ShowMessage(error.text());
        return false;
    }
}

// The block for one listed task: its hint when that still holds its lines and is not taken yet,
// else the first such block not taken; -1 when there is none.
int blockFor(const TaskModel &model, const MissedTask &task, const QSet<int> &taken)
{
    const int hint = task.block;
    if (hint >= 0 && hint < model.tasks.size() && !taken.contains(hint)
        && model.tasks.at(hint).lines == task.identity)
        return hint;
    for (int k = 0; k < model.tasks.size(); ++k) {
        if (!taken.contains(k) && model.tasks.at(k).lines == task.identity)
            return k;
    }
    return -1;
}

} // namespace

MissedAction ActionFor(const MissedTask &task)
{
    switch (task.type) {
    case ttRemind:
    case ttBirthday:
        return MissedAction::ShowNotice;
    case ttRunProgram:
        return MissedAction::Run;
    default:
        return MissedAction::None;
    }
}

bool MissedReportEnabled(SettingsBackend &settings)
{
    const QString key = SettingsKeys::Root + QLatin1Char('\\') + SettingsKeys::Settings;
    if (settings.TypeOf(key, MissedReportSetting) == SettingsBackend::ValueType::Missing)
        return false;
    return ReadSettingBool(settings, SettingsKeys::Settings, MissedReportSetting);
}

MissedTaskList FindMissedAtStart(const CoreContext &ctx, const QDateTime &now)
{
    const QDateTime second = SecondOf(now);
    return collect(ctx, [&](const ModelTask &task) -> std::optional<QDateTime> {
        if (KindOf(task.Line(Task::Time), task.Line(Task::Date)) != TaskKind::OneShot)
            return std::nullopt;
        const auto moment = oneShotMoment(task);
        if (moment && *moment < second)
            return moment;
        return std::nullopt;
    });
}

MissedTaskList FindMissedBetween(const CoreContext &ctx, const QDateTime &from, const QDateTime &to)
{
    const Gap gap {SecondOf(from).addSecs(1), SecondOf(to)};
    if (!from.isValid() || !to.isValid() || gap.first >= gap.end)
        return {};
    return collect(ctx, [&](const ModelTask &task) -> std::optional<QDateTime> {
        switch (KindOf(task.Line(Task::Time), task.Line(Task::Date))) {
        case TaskKind::OneShot: {
            const auto moment = oneShotMoment(task);
            if (moment && gap.Holds(*moment))
                return moment;
            return std::nullopt;
        }
        case TaskKind::EveryDay:
            return everyDayMissed(task, gap);
        case TaskKind::Birthday:
            return birthdayMissed(task, from, to);
        }
        return std::nullopt;
    });
}

void ReportMissedAtStart(CoreContext &ctx, MissedTasksReport &report)
{
    if (!reportWanted(ctx))
        return;
    const MissedTaskList missed = FindMissedAtStart(ctx, ctx.clock->CurrentDateTime());
    if (!missed.isEmpty())
        report.ShowMissedTasks(missed);
}

void ReportMissedBetween(
    CoreContext &ctx, MissedTasksReport &report, const QDateTime &from, const QDateTime &to)
{
    if (to <= from || !reportWanted(ctx))
        return;
    const MissedTaskList missed = FindMissedBetween(ctx, from, to);
    if (!missed.isEmpty())
        report.ShowMissedTasks(missed);
}

void ActOnMissedTask(CoreContext &ctx, const MissedTask &task)
{
    switch (ActionFor(task)) {
    case MissedAction::ShowNotice:
        if (task.type == ttBirthday)
            ctx.actions->ShowBirthdayNotice(task.message, task.param);
        else
            ctx.actions->ShowReminderNotice(task.message, task.param);
        break;
    case MissedAction::Run:
        ctx.actions->RunProgram(task.param);
        break;
    case MissedAction::None:
        break;
    }
}

QList<QStringList> DeleteMissedOneShots(CoreContext &ctx, const MissedTaskList &tasks)
{
    TaskModel &model = ctx.tasks;
    QList<QStringList> removed;
    try {
        SyncTaskModel(ctx);
        QSet<int> blocks;
        for (const MissedTask &task : tasks) {
            if (!task.IsOneShot())
                continue;
            const int block = blockFor(model, task, blocks);
            if (block >= 0)
                blocks.insert(block);
            removed.append(task.identity); // deleted now, or already gone
        }
        if (!blocks.isEmpty()) {
            const QString error = RemoveTaskBlocks(ctx, QList<int>(blocks.begin(), blocks.end()));
            if (!error.isEmpty()) {
                RenderTaskList(ctx);
                throw ZarvoError(error);
            }
        }
        RenderTaskList(ctx);
    } catch (const std::exception &) {
        ctx.messages->ShowMessage(Msg::DeleteFailed);
        return {};
    }
    ShowPendingReports(ctx);
    return removed;
}
