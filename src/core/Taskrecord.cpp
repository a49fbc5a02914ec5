#include "Taskrecord.h"

#include "Errors.h"
#include "Messages.h"
#include "Savedfile.h"
#include "Txtfileclass.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

TaskKind KindOf(const QString &time, const QString &date)
{
    if (time == Task::Null)
        return TaskKind::Birthday;
    if (date == Task::Null)
        return TaskKind::EveryDay;
    return TaskKind::OneShot;
}

int TaskCount(const TxtFile &file)
{
    return file.LineCount() / Task::BlockLines;
}

TaskFields ReadTask(const TxtFile &file, int task)
{
    return {file.GetLine(TaskLine(task, Task::Type)), file.GetLine(TaskLine(task, Task::Time)),
        file.GetLine(TaskLine(task, Task::Date)), file.GetLine(TaskLine(task, Task::Message)),
        file.GetLine(TaskLine(task, Task::Param)), file.GetLine(TaskLine(task, Task::State))};
}

void AppendTask(TxtFile &file, const TaskFields &fields)
{
    file.AddLine(Task::MarkerText);
    file.AddLine(fields.type);
    file.AddLine(fields.time);
    file.AddLine(fields.date);
    file.AddLine(fields.message);
    file.AddLine(fields.param);
    file.AddLine(fields.state);
}

void ReplaceTaskFields(TxtFile &file, int task, const TaskFields &fields)
{
    file.SetLine(TaskLine(task, Task::Type), fields.type);
    file.SetLine(TaskLine(task, Task::Time), fields.time);
    file.SetLine(TaskLine(task, Task::Date), fields.date);
    file.SetLine(TaskLine(task, Task::Message), fields.message);
    file.SetLine(TaskLine(task, Task::Param), fields.param);
}

void SetTaskState(TxtFile &file, int task, const QString &state)
{
    file.SetLine(TaskLine(task, Task::State), state);
}

void RemoveTask(TxtFile &file, int task)
{
    const int first = TaskLine(task, Task::Marker);
    for (int i = 0; i < Task::BlockLines; ++i)
        file.DeleteLine(first);
}

QString FileNamePart(const QString &path, bool alsoColon)
{
    qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    if (alsoColon)
        cut = std::max(cut, path.lastIndexOf(QLatin1Char(':')));
    return path.mid(cut + 1);
}

namespace {

// An installed program has its data folder at <prefix>/share/zarvo beside <prefix>/bin. Its
// folder is shared by every user, so the tasks never go there, not even for a user (such as
// root) who could write it.
bool isInstalledProgramFolder(const QString &executableDir)
{
    return QFileInfo(QDir(executableDir).filePath(QStringLiteral("../share/zarvo"))).isDir();
}

} // namespace

namespace {

bool sameBytes(const QString &a, const QString &b)
{
    QByteArray first, second;
    return ReadRegularFile(a, first) && ReadRegularFile(b, second) && first == second;
}

// The tasks of a file beside a program whose folder the user cannot write.
TaskFileLocation adoptProgramFile(const QString &programFile, const QString &dataFile)
{
    const QString shownProgram = QDir::toNativeSeparators(programFile);
    const QString shownData = QDir::toNativeSeparators(dataFile);
    if (QFileInfo::exists(dataFile) || QFileInfo(dataFile).isSymLink()) {
        if (sameBytes(programFile, dataFile))
            return {dataFile, QString()}; // the copy made earlier: said then
        return {dataFile, Msg::TaskFileBesideProgramUnused.arg(shownProgram, shownData)};
    }
    // Copied by content: the copy is the user's own, writable file, whatever the original's mode.
    QByteArray bytes;
    QString why;
    if (ReadRegularFile(programFile, bytes, &why) && SaveFileAtomically(dataFile, bytes, &why))
        return {dataFile, Msg::TaskFileCopied.arg(shownProgram, shownData)};
    return {programFile, Msg::TaskFileNotCopied.arg(shownProgram, shownData, why)};
}

} // namespace

TaskFileLocation LocateTaskFile(const QString &executableDir, const QString &dataHome)
{
    const QFileInfo dir(executableDir);
    const QString programFile = QDir(executableDir).filePath(Task::FileName);
    if (dir.isDir() && dir.isWritable() && !isInstalledProgramFolder(executableDir))
        return {programFile, QString()};
    const QString folder = QDir(dataHome).filePath(QStringLiteral("Zarvo"));
    if (!QDir().mkpath(folder))
        throw ZarvoError(QStringLiteral("Cannot create folder \"%1\"").arg(folder));
    const QString dataFile = QDir(folder).filePath(Task::FileName);
    if (QFileInfo::exists(programFile) || QFileInfo(programFile).isSymLink())
        return adoptProgramFile(programFile, dataFile);
    return {dataFile, QString()};
}

QString TaskFilePathFor(const QString &executableDir, const QString &dataHome)
{
    return LocateTaskFile(executableDir, dataHome).path;
}

TaskFileLocation LocateProgramTaskFile()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return LocateTaskFile(QCoreApplication::applicationDirPath(), dataHome);
}

QString TaskFilePath()
{
    return LocateProgramTaskFile().path;
}
