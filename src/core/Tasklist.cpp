#include "Tasklist.h"

#include "Context.h"
#include "Conversions.h"
#include "Errors.h"
#include "Messages.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

#include <exception>

namespace {

// Tells the context's listener that the table was rebuilt, when the rebuild ends in any way: a
// failure part-way leaves a changed table too.
class TableChangeNotice {
public:
    explicit TableChangeNotice(CoreContext &ctx)
        : m_ctx(ctx)
    {
    }
    ~TableChangeNotice()
    {
        if (m_ctx.activeTasksChanged)
            m_ctx.activeTasksChanged();
    }
    TableChangeNotice(const TableChangeNotice &) = delete;
    TableChangeNotice &operator=(const TableChangeNotice &) = delete;

private:
    CoreContext &m_ctx;
};

// The reminder caption shows the first N characters of the message (the whole message when it is
// shorter), where N is the user's "simv_count".
void appendRemindCaption(QString &text, const QString &message, CaptionLength &length)
{
    if (message == Task::Null) {
        text += Msg::RowRemindNoMessage;
        return;
    }
    const int limit = length.Get();
    text += Msg::RowRemindPrefix;
    text += message.size() < limit ? QStringView(message) : QStringView(message).left(std::max(limit, 0));
    text += Msg::RowRemindSuffix;
}

void appendCaption(QString &text, int type, const TaskFields &task, CaptionLength &length)
{
    switch (type) {
    case ttRemind:
        appendRemindCaption(text, task.message, length);
        break;
    case ttShutdown:
        text += Msg::RowShutdown;
        break;
    case ttReboot:
        text += Msg::RowReboot;
        break;
    case ttLogOff:
        text += Msg::RowLogOff;
        break;
    case ttScreenSaver:
        text += Msg::RowScreenSaver;
        break;
    case ttRunProgram:
        text += Msg::RowRunProgram;
        text += FileNamePart(task.param);
        break;
    case ttBirthday:
        text += Msg::RowBirthdayPrefix;
        text += task.param;
        text += Msg::RowBirthdaySuffix;
        break;
    default:
        break;
    }
}

void appendSuffix(QString &text, const TaskFields &task)
{
    const TaskKind kind = KindOf(task.time, task.date);
    if (kind != TaskKind::Birthday) {
        text += QLatin1String(" [");
        text += task.time;
        text += QLatin1Char(']');
    }
    if (kind == TaskKind::EveryDay) {
        text += Msg::RowEveryDay;
        return;
    }
    text += QLatin1String(" <");
    text += task.date;
    text += QLatin1Char('>');
}

void checkRow(const TaskListView &view, int row)
{
    if (row < 0 || row >= view.RowCount())
        throw ZarvoError(QStringLiteral("List index out of bounds (%1)").arg(row));
}

} // namespace

CaptionLength::CaptionLength(SettingsBackend &settings)
    : m_settings(settings)
{
}

int CaptionLength::Get()
{
    if (!m_value)
        m_value = ReadSettingInteger(m_settings, SettingsKeys::Settings, QStringLiteral("simv_count"));
    return *m_value;
}

QString TaskDisplayText(const TaskFields &task, CaptionLength &length)
{
    const int type = StrToInt(task.type);
    // Built in one buffer: a rebuild makes one such text per task.
    QString text;
    text.reserve(96);
    text += QString::number(type);
    appendCaption(text, type, task, length);
    appendSuffix(text, task);
    return text;
}

TxtFile LoadTaskFile(const CoreContext &ctx)
{
    TxtFile file;
    file.FileName = ctx.taskFilePath;
    file.Load();
    return file;
}

void RebuildTaskList(CoreContext &ctx)
{
    const TableChangeNotice notice(ctx);
    const TxtFile file = LoadTaskFile(ctx);
    const int count = TaskCount(file);
    ctx.activeTasks = ActiveTaskTable();
    ctx.activeTasks.reserve(count);
    ctx.view->ClearRows();
    CaptionLength length(*ctx.settings);
    for (int k = 0; k < count; ++k) {
        const TaskFields task = ReadTask(file, k);
        const QString text = TaskDisplayText(task, length);
        const bool active = task.state == Task::StateActive;
        // The entry and its row are added together, so that after a failure part-way the table
        // still holds exactly one entry per ticked row.
        if (active)
            ctx.activeTasks.append({task.time, task.date});
        ctx.view->AppendRow(text, active);
    }
    UpdateActiveState(ctx);
}

void UpdateActiveState(CoreContext &ctx)
{
    TaskListView &view = *ctx.view;
    const bool hasRows = view.RowCount() > 0;
    view.SetControlEnabled(TaskListView::Control::Clear, hasRows);
    view.SetControlEnabled(TaskListView::Control::AllTasks, hasRows);
    if (ctx.activeTasks.isEmpty()) {
        view.SetRingVisible(false);
        view.SetTrayHint(Msg::HintNoActiveTasks);
    } else {
        view.SetRingVisible(view.IsTimeLabelVisible());
        view.SetTrayHint(Msg::HintActiveTasks);
    }
    view.RefreshTray();
    const bool hasSelection = view.SelectedRow() >= 0;
    view.SetControlEnabled(TaskListView::Control::Change, hasSelection);
    view.SetControlEnabled(TaskListView::Control::Delete, hasSelection);
}

void StoreTickStates(CoreContext &ctx)
{
    TxtFile file = LoadTaskFile(ctx);
    const int rows = ctx.view->RowCount();
    // Every unticked row is written "false", a fired ("falseM") one included.
    for (int row = 0; row < rows; ++row)
        SetTaskState(file, row, ctx.view->IsRowChecked(row) ? Task::StateActive : Task::StateInactive);
    file.Save();
    RebuildTaskList(ctx);
}

void MarkTaskFired(CoreContext &ctx, int task)
{
    TxtFile file = LoadTaskFile(ctx);
    SetTaskState(file, task, Task::StateFired);
    file.Save();
    RebuildTaskList(ctx);
}

void DeleteTask(CoreContext &ctx, int task)
{
    if (task < 0)
        return;
    try {
        checkRow(*ctx.view, task);
        TxtFile file = LoadTaskFile(ctx);
        RemoveTask(file, task);
        file.Save();
        // The row goes only once the file has lost the task. Ticks keep running while "тут!" is
        // open; had the row gone first, the list would disagree with the active-task table and
        // such a tick could fire the task of the wrong row.
        ctx.view->RemoveRow(task);
    } catch (const std::exception &) {
        ctx.messages->ShowMessage(Msg::DeleteFailed);
    }
}

void ClearAllTasks(CoreContext &ctx)
{
    if (!ctx.messages->AskYesNo(Msg::ClearQuestion, Msg::ClearQuestionCaption))
        return;
    ctx.view->ClearRows();
    TxtFile file = LoadTaskFile(ctx);
    file.Clear();
    file.Save();
    RebuildTaskList(ctx);
}

int TickedRowOfEntry(const CoreContext &ctx, int entry)
{
    const TaskListView &view = *ctx.view;
    const int rows = view.RowCount();
    int ticked = -1;
    for (int row = 0; row < rows; ++row) {
        if (view.IsRowChecked(row) && ++ticked == entry)
            return row;
    }
    return -1;
}
