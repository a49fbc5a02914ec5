#include "Cp1251.h"
#include "Errors.h"
#include "Scheduler.h"
#include "Settingsstore.h"
#include "support/CoreFixture.h"
#include "support/FileHelpers.h"
#include "Taskdialog.h"
#include "Tasklist.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The change dialog is opened on this many tasks of a file at most, so one input stays quick.
constexpr int kDialogTasks = 64;

// A broken promise of the code under test: libFuzzer and the replay test both see the abort.
[[noreturn]] void fail(const char *what, int task)
{
    std::fprintf(stderr, "task %d: %s\n", task, what);
    std::abort();
}

// The settings the dialog takes its defaults from: a first run's values, but with a sound file
// proposed and both check boxes ticked, so that every check of a reminder runs.
void writeDialogSettings(MemorySettingsBackend &settings)
{
    const QString &s = SettingsKeys::Settings;
    settings.set(s, QStringLiteral("pl_h"), QStringLiteral("00"));
    settings.set(s, QStringLiteral("pl_m"), QStringLiteral("30"));
    settings.set(s, QStringLiteral("pl_s"), QStringLiteral("00"));
    settings.set(s, QStringLiteral("sound_fn"), QStringLiteral("C:\\Sounds\\chime.wav"));
    settings.set(s, QStringLiteral("prog_fn"), QString());
    settings.set(s, QStringLiteral("chk_mes"), 1);
    settings.set(s, QStringLiteral("chk_sound"), 1);
}

bool inList(int index, int count)
{
    return index >= 0 && index < count;
}

// Whatever the read-back met, every list of the dialog still selects one of its items.
void checkListsSelectItems(const TaskDialogState &state, int task)
{
    using namespace TaskDialogLists;
    const bool valid = inList(state.typeIndex, ttBirthday) && inList(state.hour, Hours)
        && inList(state.minute, Minutes) && inList(state.second, Seconds) && inList(state.dayIndex, Days)
        && inList(state.monthIndex, Months) && inList(state.yearIndex, LastYear - FirstYear + 1)
        && inList(state.plusHour, Hours) && inList(state.plusMinute, Minutes)
        && inList(state.plusSecond, Seconds);
    if (!valid)
        fail("the read-back left a list without a valid selection", task);
}

TaskDialogState dialogDefaults(CoreFixture &fx)
{
    TaskDialogState state;
    FillTaskDialogDefaults(state, fx.settings, fx.clock.CurrentDateTime());
    return state;
}

// A task the dialog accepts must be storable, and opening what it writes must give the same task
// again (the memo's one line comes back followed by one more blank), again accepted.
void checkAcceptedTaskReopens(CoreFixture &fx, const TaskDialogState &state, int task)
{
    const TaskFields built = BuildTaskFields(state);
    for (const QString &field : {built.type, built.time, built.date, built.message, built.param}) {
        if (!Cp1251::canEncode(field) || TxtFile::SplitLines(field).size() > 1)
            fail("an accepted task holds a field the task file cannot store", task);
    }
    TxtFile written;
    AppendTask(written, built);
    TaskDialogState reopened = dialogDefaults(fx);
    try {
        ReadTaskIntoDialog(reopened, written, 0);
    } catch (const ZarvoError &) {
        fail("the dialog cannot open a task it wrote itself", task);
    }
    TaskFields expected = built;
    if (expected.message != Task::Null)
        expected.message += QLatin1Char(' ');
    if (BuildTaskFields(reopened) != expected)
        fail("an accepted task opens as a different task", task);
    if (ValidateTaskDialog(reopened, fx.clock.CurrentDateTime()))
        fail("an accepted task is refused when it is opened again", task);
}

// The change dialog opened on one task: the read-back over the defaults, finding the task again
// at OK, the checks and the fields OK would write.
void openInChangeDialog(CoreFixture &fx, const TxtFile &file, int task)
{
    TaskDialogState state = dialogDefaults(fx);
    OpenedTask opened;
    try {
        opened = ReadTaskIntoDialog(state, file, task);
    } catch (const ZarvoError &) {
        return;
    }
    checkListsSelectItems(state, task);
    if (opened.task != task || opened.lines.size() != Task::BlockLines)
        fail("the opened task does not name its block", task);
    if (FindOpenedTask(file, opened) != task)
        fail("the unchanged file does not hold the opened task at its place", task);
    if (!ValidateTaskDialog(state, fx.clock.CurrentDateTime()))
        checkAcceptedTaskReopens(fx, state, task);
}

// Every whole block of the file (the first kDialogTasks), and the block after the last whole
// one, which is missing or cut short.
void openEveryTaskInChangeDialog(CoreFixture &fx)
{
    TxtFile file;
    file.FileName = fx.ctx.taskFilePath;
    try {
        file.Load();
    } catch (const ZarvoError &) {
        return;
    }
    const int count = std::min(TaskCount(file), kDialogTasks);
    for (int task = 0; task <= count; ++task)
        openInChangeDialog(fx, file, task);
}

} // namespace

// Any bytes as a task file: the rebuild, the change dialog on every task, a few ticks around a
// due moment, and re-arming must end normally or with the program's own clear error
// (ZarvoError); anything else escaping is a fault, and so is a broken promise of the dialog.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static CoreFixture *fixture = [] {
        auto *fx = new CoreFixture;
        writeDialogSettings(fx->settings);
        return fx;
    }();
    CoreFixture &fx = *fixture;
    if (!writeBytes(fx.ctx.taskFilePath, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))))
        return 0;
    fx.view.ClearRows();
    fx.ctx.activeTasks.clear();
    fx.actions.calls.clear();
    fx.messages.shown.clear();
    fx.messages.questions.clear();
    fx.helperTimer.calls.clear();
    fx.clock.set(QDateTime(QDate(2004, 1, 5), QTime(9, 5, 0, 100)));
    try {
        RebuildTaskList(fx.ctx);
    } catch (const ZarvoError &) {
    }
    openEveryTaskInChangeDialog(fx);
    for (int tick = 0; tick < 6; ++tick) {
        SchedulerTick(fx.ctx);
        fx.clock.advanceMs(200);
    }
    fx.clock.advanceMs(5000);
    try {
        RearmFiredTasks(fx.ctx);
    } catch (const ZarvoError &) {
    }
    return 0;
}
