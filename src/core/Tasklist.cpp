#include "Tasklist.h"

#include "Context.h"
#include "Conversions.h"
#include "Errors.h"
#include "Messages.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Taskmodel.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

#include <algorithm>
#include <functional>
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

void checkTask(const TaskModel &model, int task)
{
    if (task < 0 || task >= model.tasks.size())
        throw ZarvoError(QStringLiteral("List index out of bounds (%1)").arg(task));
}

// The table of the active tasks, in file order, each entry pointing at its task.
void makeTable(CoreContext &ctx)
{
    ctx.activeTasks = ActiveTaskTable();
    const QList<ModelTask> &tasks = ctx.tasks.tasks;
    ctx.activeTasks.reserve(tasks.size());
    for (int k = 0; k < tasks.size(); ++k) {
        const ModelTask &task = tasks.at(k);
        if (task.ticked)
            ctx.activeTasks.append({task.Line(Task::Time), task.Line(Task::Date), k});
    }
}

// Writes the model after a change the user asked for. When that fails the change is undone in
// memory and on the screen, and the error is raised, as before the model held the tasks.
void commitUserChange(CoreContext &ctx, const QStringList &before)
{
    const QString error = SaveTaskModel(ctx);
    if (error.isEmpty())
        return;
    TaskModel &model = ctx.tasks;
    model.saveFailing = true;
    model.lines = before;
    model.Parse();
    RenderTaskList(ctx);
    throw ZarvoError(error);
}

} // namespace

CaptionLength::CaptionLength(SettingsBackend &settings)
    : m_settings(settings)
{
}

int CaptionLength::Get()
{
    if (!m_value) {
        try {
            m_value = ReadSettingInteger(m_settings, SettingsKeys::Settings, QStringLiteral("simv_count"));
        } catch (const ZarvoError &error) {
            m_value = Default;
            m_problem = error.text();
        }
    }
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

bool SyncTaskModel(CoreContext &ctx)
{
    const TxtFile file = LoadTaskFile(ctx);
    TaskModel &model = ctx.tasks;
    if (model.loaded && file.Lines == model.diskLines)
        return false;
    model.lines = file.Lines;
    model.diskLines = file.Lines;
    model.loaded = true;
    model.Parse();
    return true;
}

QString SaveTaskModel(CoreContext &ctx)
{
    TaskModel &model = ctx.tasks;
    TxtFile file;
    file.FileName = ctx.taskFilePath;
    file.Lines = model.lines;
    file.Modified = true;
    try {
        file.Save();
    } catch (const ZarvoError &error) {
        return error.text();
    }
    model.diskLines = model.lines;
    model.saveFailing = false;
    return QString();
}

QString RemoveTaskBlocks(CoreContext &ctx, QList<int> blocks)
{
    TaskModel &model = ctx.tasks;
    const QStringList before = model.lines;
    // From the last block back, so that each index still points at its block.
    std::sort(blocks.begin(), blocks.end(), std::greater<int>());
    for (const int block : std::as_const(blocks))
        model.lines.remove(qsizetype(block) * Task::BlockLines, Task::BlockLines);
    const QString error = SaveTaskModel(ctx);
    if (!error.isEmpty()) {
        model.saveFailing = true;
        model.lines = before;
    }
    model.Parse();
    return error;
}

void RenderTaskList(CoreContext &ctx)
{
    const TableChangeNotice notice(ctx);
    TaskModel &model = ctx.tasks;
    ++model.rebuilds;
    ctx.view->ClearRows();
    CaptionLength length(*ctx.settings);
    QList<QPair<QString, QString>> problems;
    for (int k = 0; k < model.tasks.size(); ++k) {
        ModelTask &task = model.tasks[k];
        const int firstLine = k * Task::BlockLines + 1;
        if (task.IsBad()) {
            task.ticked = false;
            ctx.view->AppendRow(Msg::RowUnreadable.arg(firstLine), false);
            problems.append({task.problem + u'\n' + task.lines.join(u'\n'),
                Msg::TaskUnreadable.arg(task.problem, ctx.taskFilePath).arg(firstLine)});
            continue;
        }
        task.ticked = task.Line(Task::State) == Task::StateActive;
        ctx.view->AppendRow(TaskDisplayText(task.Fields(), length), task.ticked);
    }
    if (!length.Problem().isEmpty())
        problems.append({length.Problem(), length.Problem()});
    model.NoteProblems(problems);
    makeTable(ctx);
    UpdateActiveState(ctx);
}

void ShowPendingReports(CoreContext &ctx)
{
    TaskModel &model = ctx.tasks;
    // A box keeps the event loop running: a firing from inside it may queue more.
    while (model.firingDepth == 0 && !model.pendingReports.isEmpty())
        ctx.messages->ShowMessage(model.pendingReports.takeFirst());
}

void RebuildTaskList(CoreContext &ctx)
{
    // A file nobody else changed is shown as the program holds it, a save that failed included;
    // the rendering sets every tick from its task's state again.
    SyncTaskModel(ctx);
    RenderTaskList(ctx);
    ShowPendingReports(ctx);
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

void SetTaskTicked(CoreContext &ctx, int task, bool ticked)
{
    checkTask(ctx.tasks, task);
    ctx.tasks.tasks[task].ticked = ticked;
}

void StoreTickStates(CoreContext &ctx)
{
    TaskModel &model = ctx.tasks;
    QList<QPair<QStringList, bool>> ticks;
    ticks.reserve(model.tasks.size());
    for (const ModelTask &task : std::as_const(model.tasks))
        ticks.append({task.lines, task.ticked});
    if (SyncTaskModel(ctx)) {
        // Changed by someone else: each tick goes to its task wherever it is now.
        for (int i = 0; i < ticks.size(); ++i) {
            const int k = model.Find(ticks.at(i).first, i);
            if (k >= 0)
                model.tasks[k].ticked = ticks.at(i).second;
        }
    }
    const QStringList before = model.lines;
    bool modified = false;
    // Every unticked task is written "false", a fired ("falseM") one included.
    for (int k = 0; k < model.tasks.size(); ++k) {
        const ModelTask &task = model.tasks.at(k);
        if (task.IsBad())
            continue;
        model.lines[TaskLine(k, Task::State)] = task.ticked ? Task::StateActive : Task::StateInactive;
        modified = true;
    }
    if (modified)
        commitUserChange(ctx, before);
    model.Parse();
    RenderTaskList(ctx);
    ShowPendingReports(ctx);
}

SettledTask SettleTask(CoreContext &ctx, int task, bool remove)
{
    TaskModel &model = ctx.tasks;
    checkTask(model, task);
    const QStringList identity = model.tasks.at(task).lines;
    SyncTaskModel(ctx);
    SettledTask settled;
    settled.block = model.Find(identity, task);
    if (settled.block < 0)
        return settled;
    settled.fields = model.tasks.at(settled.block).Fields();
    if (remove)
        model.lines.remove(qsizetype(settled.block) * Task::BlockLines, Task::BlockLines);
    else
        model.lines[TaskLine(settled.block, Task::State)] = Task::StateFired;
    settled.saveError = SaveTaskModel(ctx);
    model.Parse();
    return settled;
}

void MarkTaskFired(CoreContext &ctx, int task)
{
    const SettledTask settled = SettleTask(ctx, task, false);
    RenderTaskList(ctx);
    if (!settled.saveError.isEmpty())
        throw ZarvoError(settled.saveError);
    ShowPendingReports(ctx);
}

void DeleteTask(CoreContext &ctx, int task)
{
    if (task < 0)
        return;
    TaskModel &model = ctx.tasks;
    try {
        checkTask(model, task);
        const QStringList identity = model.tasks.at(task).lines;
        const bool changed = SyncTaskModel(ctx);
        const int block = model.Find(identity, task);
        if (block < 0) {
            RenderTaskList(ctx); // gone already: the list shows the file as it is
            return;
        }
        const QString error = RemoveTaskBlocks(ctx, {block});
        if (!error.isEmpty()) {
            if (changed)
                RenderTaskList(ctx);
            throw ZarvoError(error);
        }
        if (changed) {
            RenderTaskList(ctx);
            return;
        }
        // The row goes with its block; the caller rebuilds the rest.
        const TableChangeNotice notice(ctx);
        ctx.view->RemoveRow(block);
        makeTable(ctx);
    } catch (const std::exception &) {
        ctx.messages->ShowMessage(Msg::DeleteFailed);
    }
}

void ClearAllTasks(CoreContext &ctx)
{
    if (!ctx.messages->AskYesNo(Msg::ClearQuestion, Msg::ClearQuestionCaption))
        return;
    ctx.view->ClearRows();
    TaskModel &model = ctx.tasks;
    SyncTaskModel(ctx);
    const QStringList before = model.lines;
    model.lines.clear();
    commitUserChange(ctx, before);
    model.Parse();
    RenderTaskList(ctx);
    ShowPendingReports(ctx);
}
