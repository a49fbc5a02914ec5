#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class SettingsBackend;
class TxtFile;
struct TaskFields;

// What the controls of the add/change task dialog hold, without the widgets. Time and date
// lists are kept as item indexes: hours, minutes and seconds show their index; day, month and
// year show index + 1, index + 1 and index + 2003.
struct TaskDialogState {
    int typeIndex = 0; // radType item: task type code - 1

    bool playSound = true;
    QString soundFileName; // shown in edtSoundFileName
    QString soundFilePath; // its hint, written to the task
    bool showMessage = false;
    QStringList messageLines; // the memo's lines as it shows them
    QString progFileName;
    QString progFilePath;
    QString birthName;

    int hour = 0;
    int minute = 0;
    int second = 0;
    int plusHour = 0;
    int plusMinute = 0;
    int plusSecond = 0;
    int dayIndex = 0;
    int monthIndex = 0;
    int yearIndex = 0;
    bool everyDay = false;
};

namespace TaskDialogLists {
constexpr int Hours = 24;
constexpr int Minutes = 60;
constexpr int Seconds = 60;
constexpr int Days = 31;
constexpr int Months = 12;
constexpr int FirstYear = 2003;
constexpr int LastYear = 2099;

QStringList HourItems(); // "0".."23"
QStringList MinuteItems(); // "00".."59", also the seconds
QStringList DayItems(); // "1".."31"
QStringList MonthItems(); // " января " .. " декабря "
QStringList YearItems(); // "2003".."2099"
} // namespace TaskDialogLists

// The texts of the time and date lists at their indexes.
QString HourItemText(int index);
QString MinuteItemText(int index);
QString DayItemText(int index);
QString MonthItemText(int index);
QString YearItemText(int index);

// The defaults of a new task: the increments, sound and program files and the two check boxes
// from the settings, and the time and date lists at the moment now. A year outside the list
// selects its nearest end.
void FillTaskDialogDefaults(TaskDialogState &state, SettingsBackend &settings, const QDateTime &now);

// The task as it was when the dialog opened it, to find it again when OK writes.
struct OpenedTask {
    int task = -1;
    QStringList lines; // the seven lines of its block
};

// Puts task `task` of file into state over the defaults (change mode). A type that is not a
// number, or a time field whose parts are not numbers, throws ZarvoError; a value outside its
// list leaves the list's selection as it was.
OpenedTask ReadTaskIntoDialog(TaskDialogState &state, const TxtFile &file, int task);

// The first message that refuses the input, or nothing when it describes a task that can be
// written. The checks on files, message and name come first; then characters the task file
// cannot hold; then a one-shot date missing from the calendar; then a one-shot moment before now.
std::optional<QString> ValidateTaskDialog(const TaskDialogState &state, const QDateTime &now);

// The six fields of the task block as the dialog writes them (state "true").
TaskFields BuildTaskFields(const TaskDialogState &state);

// The message line: every memo line followed by one blank.
QString JoinMessageLines(const QStringList &lines);

// "+ к установленному времени": adds the increment to the time lists, wrapping past midnight;
// the date is left as it is.
void AddPlusTime(TaskDialogState &state);

// Where the block of the opened task is now: its old position if that block still holds the
// same task, else the first block that does; -1 when it is gone. Only the state line may have
// changed meanwhile (the task fired or was re-armed).
int FindOpenedTask(const TxtFile &file, const OpenedTask &opened);

// OK of the dialog: appends the block to the task file (opened is empty) or replaces the five
// middle lines of the opened task, and saves. Returns the message to show instead when the
// opened task is gone; nothing is written then. The caller rebuilds the task list.
std::optional<QString> WriteTaskDialog(
    const QString &taskFilePath, const TaskDialogState &state, const std::optional<OpenedTask> &opened);
