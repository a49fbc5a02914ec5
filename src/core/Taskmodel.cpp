#include "Taskmodel.h"

#include "Conversions.h"
#include "Errors.h"

TaskFields ModelTask::Fields() const
{
    return {lines.at(Task::Type), lines.at(Task::Time), lines.at(Task::Date), lines.at(Task::Message),
        lines.at(Task::Param), lines.at(Task::State)};
}

void TaskModel::Parse()
{
    const int count = int(lines.size()) / Task::BlockLines;
    tasks.clear();
    tasks.reserve(count);
    for (int k = 0; k < count; ++k) {
        ModelTask task;
        task.lines = lines.mid(qsizetype(k) * Task::BlockLines, Task::BlockLines);
        try {
            task.type = StrToInt(task.Line(Task::Type));
            task.ticked = task.Line(Task::State) == Task::StateActive;
        } catch (const ZarvoError &error) {
            task.problem = error.text();
        }
        tasks.append(std::move(task));
    }
}

int TaskModel::Find(const QStringList &identity, int hint) const
{
    const auto holds = [&](int k) {
        const qsizetype first = qsizetype(k) * Task::BlockLines;
        for (int n = 0; n < Task::BlockLines; ++n) {
            if (lines.at(first + n) != identity.at(n))
                return false;
        }
        return true;
    };
    const int count = int(lines.size()) / Task::BlockLines;
    if (identity.size() != Task::BlockLines)
        return -1;
    if (hint >= 0 && hint < count && holds(hint))
        return hint;
    for (int k = 0; k < count; ++k) {
        if (holds(k))
            return k;
    }
    return -1;
}

void TaskModel::NoteProblems(const QList<QPair<QString, QString>> &problems)
{
    QSet<QString> now;
    for (const auto &[problem, report] : problems) {
        now.insert(problem);
        if (!m_reported.contains(problem))
            pendingReports.append(report);
    }
    m_reported = now;
}
