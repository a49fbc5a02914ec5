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
    bool ordinary = true; // starts at 0:00:00 and keeps its offset: a time is start + its offset
    qint64 startMs = 0;
    MomentTexts startTexts; // a birthday is due all day or not at all
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
        day.ordinary = day.offsetChange == 0 && day.start.time() == QTime(0, 0);
        day.startMs = day.start.toMSecsSinceEpoch();
        day.startTexts = MomentTexts::Of(day.start);
    }
    return days;
}

// The time of a "9:05:00" text; invalid for anything else. Lenient about digits: whatever it lets
// through is confirmed by due-ness later.
QTime timeOfText(const QString &text)
{
    int parts[3] = {0, 0, 0};
    int part = 0;
    int digits = 0;
    for (const QChar c : text) {
        if (c == u':' && part < 2 && digits > 0) {
            ++part;
            digits = 0;
        } else if (c >= u'0' && c <= u'9' && digits < 2) {
            parts[part] = parts[part] * 10 + (c.unicode() - u'0');
            ++digits;
        } else {
            return {};
        }
    }
    if (part != 2 || digits == 0)
        return {};
    return QTime(parts[0], parts[1], parts[2]);
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

// The span still open for an earlier due second: from the start of now's second to the best
// found so far (or the horizon). Milliseconds are kept beside the moments because converting a
// local moment costs more than the whole test of an entry.
struct Window {
    QDateTime from;
    qint64 fromMs = 0;
    QDateTime best;
    qint64 untilMs = 0;

    void narrowTo(const QDateTime &moment)
    {
        best = moment;
        untilMs = moment.toMSecsSinceEpoch();
    }
};

// Narrows the window to the earliest due second of an entry with a time, if it has one in it. On
// an ordinary day (it starts at midnight, its offset does not change) the moment is plain
// arithmetic, and only a moment that narrows the window is confirmed.
void narrowByTimed(const ActiveTaskEntry &entry, const std::array<PlanDay, kPlanDays> &days, Window &window)
{
    const QTime time = timeOfText(entry.time);
    if (!time.isValid())
        return;
    const bool everyDay = entry.date == Task::Null;
    for (const PlanDay &day : days) {
        if (day.startMs > window.untilMs)
            return;
        if (!everyDay && entry.date != day.oneShotDate)
            continue;
        if (day.ordinary) {
            const qint64 ms = day.startMs + time.msecsSinceStartOfDay();
            if (ms < window.fromMs)
                continue;
            if (ms > window.untilMs)
                return;
            const QDateTime moment = QDateTime::fromMSecsSinceEpoch(ms);
            if (dueAt(entry, moment)) {
                window.narrowTo(moment);
                return;
            }
            continue;
        }
        QDateTime found;
        for (const QDateTime &moment : momentsOn(day, time)) {
            if (!moment.isValid())
                continue;
            const qint64 ms = moment.toMSecsSinceEpoch();
            if (ms < window.fromMs || ms > window.untilMs)
                continue;
            if ((!found.isValid() || moment < found) && dueAt(entry, moment))
                found = moment;
        }
        if (found.isValid()) {
            window.narrowTo(found);
            return;
        }
    }
}

// Narrows the window to the start of the next day (after today) on which a birthday entry is due.
void narrowByBirthday(
    const ActiveTaskEntry &entry, const std::array<PlanDay, kPlanDays> &days, Window &window)
{
    for (int i = 1; i < kPlanDays; ++i) {
        const PlanDay &day = days[i];
        // Later days start after `from` always; only the end of the window needs a look.
        if (day.startMs <= window.untilMs && IsEntryDue(entry, day.startTexts)) {
            window.narrowTo(day.start);
            return;
        }
    }
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
    Window window {
        from, from.toMSecsSinceEpoch(), QDateTime(), from.addSecs(kPlanHorizonSecs).toMSecsSinceEpoch()};
    for (const ActiveTaskEntry &entry : table) {
        if (IsEntryDue(entry, fromTexts))
            return from;
        if (entry.time == Task::Null)
            narrowByBirthday(entry, days, window);
        else
            narrowByTimed(entry, days, window);
    }
    return window.best;
}
