#include "Tickplan.h"

#include "Datetimetext.h"
#include "Scheduler.h"
#include "Taskrecord.h"

#include <QTime>

#include <array>

namespace {

constexpr int kPlanDays = 3; // the horizon ends on the second day after today at the latest

// The texts and clock-change facts of one calendar day in the horizon.
struct PlanDay {
    QDate date;
    QString oneShotDate; // "5 января 2004"
    QDateTime start;
    qint64 offsetChange = 0; // seconds the UTC offset moves during the day; 0 on most days
};

std::array<PlanDay, kPlanDays> planDays(const QDate &today)
{
    std::array<PlanDay, kPlanDays> days;
    for (int i = 0; i < kPlanDays; ++i) {
        PlanDay &day = days[i];
        day.date = today.addDays(i);
        day.start = day.date.startOfDay();
        day.oneShotDate = OneShotDateText(day.start);
        day.offsetChange = day.date.addDays(1).startOfDay().offsetFromUtc() - day.start.offsetFromUtc();
    }
    return days;
}

bool inWindow(const QDateTime &moment, const QDateTime &from, const QDateTime &until)
{
    return moment.isValid() && moment >= from && moment <= until;
}

bool dueAt(const ActiveTaskEntry &entry, const QDateTime &moment)
{
    return IsEntryDue(entry, MomentTexts::Of(moment));
}

// The moments of one day that may show the wall-clock time `time`: usually one; two where the clock
// is set back over it; none where it is set forward over it. Candidates that do not show it are
// rejected by the confirmation by due-ness.
std::array<QDateTime, 3> momentsOn(const PlanDay &day, const QTime &time)
{
    const QDateTime first(day.date, time);
    if (day.offsetChange == 0)
        return {first, QDateTime(), QDateTime()};
    // Which of two repeated moments QDateTime picks is its own choice: try the other either side.
    return {first, first.addSecs(-day.offsetChange), first.addSecs(day.offsetChange)};
}

// The earliest due second of an entry with a time, before `best`; `best` when there is none.
QDateTime nextTimedSecond(const ActiveTaskEntry &entry, const std::array<PlanDay, kPlanDays> &days,
    const QDateTime &from, const QDateTime &best)
{
    const QTime time = QTime::fromString(entry.time, QStringLiteral("H:mm:ss"));
    if (!time.isValid())
        return best;
    const bool everyDay = entry.date == Task::Null;
    for (const PlanDay &day : days) {
        if (best.isValid() && day.start > best)
            break;
        if (!everyDay && entry.date != day.oneShotDate)
            continue;
        QDateTime found;
        for (const QDateTime &moment : momentsOn(day, time)) {
            if (!inWindow(moment, from, best.isValid() ? best : from.addSecs(kPlanHorizonSecs)))
                continue;
            if ((!found.isValid() || moment < found) && dueAt(entry, moment))
                found = moment;
        }
        if (found.isValid())
            return found;
    }
    return best;
}

// The start of the next day (after today) on which a birthday entry is due, before `best`.
QDateTime nextBirthdaySecond(const ActiveTaskEntry &entry, const std::array<PlanDay, kPlanDays> &days,
    const QDateTime &from, const QDateTime &best)
{
    const QDateTime until = best.isValid() ? best : from.addSecs(kPlanHorizonSecs);
    for (int i = 1; i < kPlanDays; ++i) {
        const QDateTime start = days[i].start;
        if (inWindow(start, from, until) && dueAt(entry, start))
            return start;
    }
    return best;
}

} // namespace

QDateTime SecondOf(const QDateTime &moment)
{
    return moment.addMSecs(-moment.time().msec());
}

QDateTime NextDueSecond(const ActiveTaskTable &table, const QDateTime &now)
{
    const QDateTime from = SecondOf(now);
    const MomentTexts fromTexts = MomentTexts::Of(from);
    const std::array<PlanDay, kPlanDays> days = planDays(from.date());
    QDateTime best;
    for (const ActiveTaskEntry &entry : table) {
        if (IsEntryDue(entry, fromTexts))
            return from;
        best = entry.time == Task::Null ? nextBirthdaySecond(entry, days, from, best)
                                        : nextTimedSecond(entry, days, from, best);
    }
    return best;
}
