#pragma once

#include <QString>

class TxtFile;

// A task is a block of seven lines of the task file; its position k is its identity and its row
// in the task list. Field n of task k is line 7k + n. Every field is kept and compared as text.
namespace Task {

constexpr int BlockLines = 7;

enum Field { Marker = 0, Type = 1, Time = 2, Date = 3, Message = 4, Param = 5, State = 6 };

inline const QString MarkerText = QStringLiteral("%>>");
inline const QString Null = QStringLiteral("NULL");
inline const QString StateActive = QStringLiteral("true");
inline const QString StateInactive = QStringLiteral("false");
inline const QString StateFired = QStringLiteral("falseM");
inline const QString FileName = QStringLiteral("ztasks.zct");

} // namespace Task

enum TaskType {
    ttRemind = 1,
    ttShutdown = 2,
    ttReboot = 3,
    ttLogOff = 4,
    ttScreenSaver = 5,
    ttRunProgram = 6,
    ttBirthday = 7,
};

// One-shot (time and date), every-day (date "NULL") or birthday (time "NULL").
enum class TaskKind { OneShot, EveryDay, Birthday };
TaskKind KindOf(const QString &time, const QString &date);

// The six fields after the marker, as stored.
struct TaskFields
{
    QString type;
    QString time;
    QString date;
    QString message;
    QString param;
    QString state;

    friend bool operator==(const TaskFields &, const TaskFields &) = default;
};

// Lines / 7, the remainder dropped.
int TaskCount(const TxtFile &file);
constexpr int TaskLine(int task, Task::Field field)
{
    return Task::BlockLines * task + field;
}

TaskFields ReadTask(const TxtFile &file, int task);
// Appends "%>>" and the six fields.
void AppendTask(TxtFile &file, const TaskFields &fields);
// Replaces type, time, date, message and param; marker and state stay as they are.
void ReplaceTaskFields(TxtFile &file, int task, const TaskFields &fields);
void SetTaskState(TxtFile &file, int task, const QString &state);
void RemoveTask(TxtFile &file, int task);

// The part of a path after its last '\' or '/' (the whole path when it has neither). With
// alsoColon, a ':' also ends the folder part.
QString FileNamePart(const QString &path, bool alsoColon = false);

// Where the task file is, and what the user is to be told about it at start (empty: nothing).
struct TaskFileLocation {
    QString path;
    QString notice;
};

// The task file: ztasks.zct in the executable's folder when that folder is writable and is not an
// installed program's bin folder (one with ../share/zarvo), otherwise
// $XDG_DATA_HOME/Zarvo/ztasks.zct (the folder is created when needed). A user's file beside the
// program is never passed over in silence: when there is none in the data folder yet, it is
// copied there once (and the notice says where the tasks now live); when the data folder has one
// that differs from it, the notice names both; when it cannot be copied, it is used where it is.
TaskFileLocation LocateTaskFile(const QString &executableDir, const QString &dataHome);
TaskFileLocation LocateProgramTaskFile();
QString TaskFilePath();
QString TaskFilePathFor(const QString &executableDir, const QString &dataHome);
