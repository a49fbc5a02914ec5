#include "Taskdialog.h"

#include "Conversions.h"
#include "Cp1251.h"
#include "Datetimetext.h"
#include "Errors.h"
#include "Messages.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

#include <algorithm>

namespace {

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QStringList numberItems(int first, int count, bool padded)
{
    QStringList items;
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items << (padded ? twoDigits(first + i) : QString::number(first + i));
    return items;
}

// Selects the item that shows value in a list of count items whose first item shows first. A
// value the list does not show leaves the selection as it was, so a damaged field never leaves a
// list without a selection. The offset is taken in 64 bits: a damaged field can hold any int.
void selectValue(int &index, int value, int first, int count)
{
    const qint64 offset = qint64(value) - first;
    if (offset >= 0 && offset < count)
        index = int(offset);
}

bool isRemindOrBirthday(int type)
{
    return type == ttRemind || type == ttBirthday;
}

QString memoText(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n'));
}

std::optional<QString> checkMessage(const TaskDialogState &state)
{
    if (!state.showMessage)
        return std::nullopt;
    const QString text = memoText(state.messageLines);
    if (text.contains(Task::MarkerText))
        return Msg::MessageHasMarker;
    if (text == Task::Null)
        return Msg::MessageIsNull;
    return std::nullopt;
}

std::optional<QString> checkRemind(const TaskDialogState &state)
{
    if (state.playSound) {
        if (state.soundFileName == Task::Null)
            return Msg::BadFileName;
        if (state.soundFileName.size() < 4
            || state.soundFileName.right(4).toLower() != QStringLiteral(".wav"))
            return Msg::NotWavFile;
    }
    return checkMessage(state);
}

std::optional<QString> checkRunProgram(const TaskDialogState &state)
{
    if (state.progFileName == Task::Null)
        return Msg::BadFileName;
    if (state.progFileName.isEmpty())
        return Msg::NoProgramPath;
    return std::nullopt;
}

std::optional<QString> checkBirthday(const TaskDialogState &state)
{
    if (state.birthName == Task::Null || state.birthName.isEmpty())
        return Msg::NoBirthdayName;
    if (state.birthName.contains(Task::MarkerText))
        return Msg::NameHasMarker;
    return checkMessage(state);
}

std::optional<QString> checkFieldsOfType(const TaskDialogState &state)
{
    switch (state.typeIndex + 1) {
    case ttRemind:
        return checkRemind(state);
    case ttRunProgram:
        return checkRunProgram(state);
    case ttBirthday:
        return checkBirthday(state);
    default:
        return std::nullopt;
    }
}

// A field must fit the single-byte task file and stay on its one line.
bool canStore(const QString &field)
{
    return Cp1251::canEncode(field) && !field.contains(QLatin1Char('\n'))
        && !field.contains(QLatin1Char('\r'));
}

std::optional<QString> checkStorable(const TaskDialogState &state)
{
    const TaskFields fields = BuildTaskFields(state);
    if (!canStore(fields.message) || !canStore(fields.param))
        return Msg::UnsavableText;
    return std::nullopt;
}

std::optional<QString> checkOneShotMoment(const TaskDialogState &state, const QDateTime &now)
{
    if (state.typeIndex + 1 == ttBirthday || state.everyDay)
        return std::nullopt;
    const QDate date(TaskDialogLists::FirstYear + state.yearIndex, state.monthIndex + 1, state.dayIndex + 1);
    if (!date.isValid())
        return Msg::DateDoesNotExist;
    const QDateTime moment(date, QTime(state.hour, state.minute, state.second), now.timeSpec());
    // The tick compares whole seconds, so the current second can still fire.
    const QDateTime thisSecond(
        now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()), now.timeSpec());
    if (moment < thisSecond)
        return Msg::MomentPassed;
    return std::nullopt;
}

} // namespace

namespace TaskDialogLists {

QStringList HourItems()
{
    return numberItems(0, Hours, false);
}

QStringList MinuteItems()
{
    return numberItems(0, Minutes, true);
}

QStringList DayItems()
{
    return numberItems(1, Days, false);
}

QStringList MonthItems()
{
    QStringList items;
    for (int month = 1; month <= Months; ++month)
        items << MonthWord(month);
    return items;
}

QStringList YearItems()
{
    return numberItems(FirstYear, LastYear - FirstYear + 1, false);
}

} // namespace TaskDialogLists

QString HourItemText(int index)
{
    return QString::number(index);
}

QString MinuteItemText(int index)
{
    return twoDigits(index);
}

QString DayItemText(int index)
{
    return QString::number(index + 1);
}

QString MonthItemText(int index)
{
    return MonthWord(index + 1);
}

QString YearItemText(int index)
{
    return QString::number(TaskDialogLists::FirstYear + index);
}

void FillTaskDialogDefaults(TaskDialogState &state, SettingsBackend &settings, const QDateTime &now)
{
    using namespace TaskDialogLists;
    const QString &section = SettingsKeys::Settings;
    const int plusHour = StrToInt(ReadSettingString(settings, section, QStringLiteral("pl_h")));
    const int plusMinute = StrToInt(ReadSettingString(settings, section, QStringLiteral("pl_m")));
    const int plusSecond = StrToInt(ReadSettingString(settings, section, QStringLiteral("pl_s")));
    const QString soundFile = ReadSettingString(settings, section, QStringLiteral("sound_fn"));
    const QString progFile = ReadSettingString(settings, section, QStringLiteral("prog_fn"));
    const bool showMessage = ReadSettingBool(settings, section, QStringLiteral("chk_mes"));
    const bool playSound = ReadSettingBool(settings, section, QStringLiteral("chk_sound"));

    selectValue(state.plusHour, plusHour, 0, Hours);
    selectValue(state.plusMinute, plusMinute, 0, Minutes);
    selectValue(state.plusSecond, plusSecond, 0, Seconds);
    state.playSound = playSound;
    state.soundFileName = FileNamePart(soundFile, true);
    state.soundFilePath = soundFile;
    state.showMessage = showMessage;
    state.progFileName = FileNamePart(progFile, true);
    state.progFilePath = progFile;

    state.hour = StrToInt(HourToText(now));
    state.minute = StrToInt(MinuteToText(now));
    state.second = StrToInt(SecondToText(now));
    state.dayIndex = StrToInt(DayToText(now)) - 1;
    state.monthIndex = StrToInt(MonthToText(now)) - 1;
    state.yearIndex = std::clamp(StrToInt(YearToText(now)), FirstYear, LastYear) - FirstYear;
}

OpenedTask ReadTaskIntoDialog(TaskDialogState &state, const TxtFile &file, int task)
{
    using namespace TaskDialogLists;
    OpenedTask opened {task, {}};
    for (int n = 0; n < Task::BlockLines; ++n)
        opened.lines << file.GetLine(TaskLine(task, Task::Field(n)));
    const TaskFields fields = ReadTask(file, task);

    const int type = StrToInt(fields.type);
    if (type < ttRemind || type > ttBirthday)
        throw ZarvoError(QStringLiteral("'%1' is not a valid task type").arg(fields.type));
    state.typeIndex = type - 1;

    if (type != ttBirthday) {
        const qsizetype colon = fields.time.indexOf(QLatin1Char(':'));
        selectValue(state.hour, StrToInt(fields.time.left(colon)), 0, Hours);
        selectValue(state.minute, StrToInt(fields.time.mid(colon + 1, 2)), 0, Minutes);
        selectValue(state.second, StrToInt(fields.time.mid(colon + 4, 2)), 0, Seconds);
        state.everyDay = fields.date == Task::Null;
        if (!state.everyDay) {
            const qsizetype blank = fields.date.indexOf(QLatin1Char(' '));
            selectValue(state.dayIndex, StrToInt(fields.date.left(blank)), 1, Days);
            selectValue(state.yearIndex, StrToInt(fields.date.right(4)), FirstYear, LastYear - FirstYear + 1);
            const QString word = fields.date.mid(blank, fields.date.size() - blank - 4);
            selectValue(state.monthIndex, WordToMonth(word), 1, Months);
        }
    } else {
        state.everyDay = false;
        const qsizetype blank = fields.date.indexOf(QLatin1Char(' '));
        selectValue(state.dayIndex, StrToInt(fields.date.left(blank)), 1, Days);
        selectValue(state.monthIndex, WordToMonth(fields.date.mid(blank)), 1, Months);
    }

    if (isRemindOrBirthday(type)) {
        state.showMessage = fields.message != Task::Null;
        if (state.showMessage)
            state.messageLines = QStringList {fields.message};
    }
    if (type == ttRemind) {
        state.playSound = fields.param != Task::Null;
        if (state.playSound) {
            state.soundFilePath = fields.param;
            state.soundFileName = FileNamePart(fields.param, true);
        }
    } else if (type == ttRunProgram) {
        state.progFilePath = fields.param;
        state.progFileName = FileNamePart(fields.param, true);
    } else if (type == ttBirthday) {
        state.birthName = fields.param;
    }
    return opened;
}

std::optional<QString> ValidateTaskDialog(const TaskDialogState &state, const QDateTime &now)
{
    if (auto message = checkFieldsOfType(state))
        return message;
    if (auto message = checkStorable(state))
        return message;
    return checkOneShotMoment(state, now);
}

QString JoinMessageLines(const QStringList &lines)
{
    QString message;
    for (const QString &line : lines)
        message += line + QLatin1Char(' ');
    return message;
}

TaskFields BuildTaskFields(const TaskDialogState &state)
{
    const int type = state.typeIndex + 1;
    TaskFields fields;
    fields.type = QString::number(type);
    if (type == ttBirthday) {
        fields.time = Task::Null;
        fields.date = DayItemText(state.dayIndex) + MonthItemText(state.monthIndex);
    } else {
        fields.time = HourItemText(state.hour) + QLatin1Char(':') + MinuteItemText(state.minute)
            + QLatin1Char(':') + MinuteItemText(state.second);
        fields.date = state.everyDay
            ? Task::Null
            : DayItemText(state.dayIndex) + MonthItemText(state.monthIndex) + YearItemText(state.yearIndex);
    }
    fields.message
        = isRemindOrBirthday(type) && state.showMessage ? JoinMessageLines(state.messageLines) : Task::Null;
    if (type == ttRemind && state.playSound)
        fields.param = state.soundFilePath;
    else if (type == ttRunProgram)
        fields.param = state.progFilePath;
    else if (type == ttBirthday)
        fields.param = state.birthName;
    else
        fields.param = Task::Null;
    fields.state = Task::StateActive;
    return fields;
}

void AddPlusTime(TaskDialogState &state)
{
    int carry = 0;
    int s = state.second + state.plusSecond;
    if (s >= 60) {
        s -= 60;
        carry = 1;
    }
    int m = state.minute + state.plusMinute + carry;
    carry = 0;
    if (m >= 60) {
        m -= 60;
        carry = 1;
    }
    int h = state.hour + state.plusHour + carry;
    if (h >= 24)
        h -= 24;
    state.second = s;
    state.minute = m;
    state.hour = h;
}

int FindOpenedTask(const TxtFile &file, const OpenedTask &opened)
{
    const auto holdsOpenedTask = [&](int task) {
        for (int n = Task::Type; n <= Task::Param; ++n) {
            if (file.GetLine(TaskLine(task, Task::Field(n))) != opened.lines.value(n))
                return false;
        }
        return true;
    };
    const int count = TaskCount(file);
    if (opened.task >= 0 && opened.task < count && holdsOpenedTask(opened.task))
        return opened.task;
    for (int task = 0; task < count; ++task) {
        if (holdsOpenedTask(task))
            return task;
    }
    return -1;
}

std::optional<QString> WriteTaskDialog(
    const QString &taskFilePath, const TaskDialogState &state, const std::optional<OpenedTask> &opened)
{
    TxtFile file;
    file.FileName = taskFilePath;
    file.Load();
    const TaskFields fields = BuildTaskFields(state);
    if (opened) {
        const int task = FindOpenedTask(file, *opened);
        if (task < 0)
            return Msg::EditedTaskGone;
        ReplaceTaskFields(file, task, fields);
    } else {
        AppendTask(file, fields);
    }
    file.Save();
    return std::nullopt;
}
