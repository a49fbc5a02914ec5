#include "Savedfile.h"

#include "Messages.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void setWhy(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

// The temporary file takes the owner and group of the file it replaces. Permitted for the
// file's owner (same user, a group the user is in) and for root; otherwise the file keeps its
// group where that is allowed and the rename goes ahead: the user could write the file anyway.
void keepOwner([[maybe_unused]] QSaveFile &file, [[maybe_unused]] const QString &target)
{
#ifdef Q_OS_UNIX
    struct stat st { };
    if (::stat(QFile::encodeName(target).constData(), &st) != 0)
        return;
    if (::fchown(file.handle(), st.st_uid, st.st_gid) != 0
        && ::fchown(file.handle(), uid_t(-1), st.st_gid) != 0)
        return; // the new file is the user's own, as it would be after any editor's save
#endif
}

} // namespace

bool SaveFileAtomically(const QString &path, const QByteArray &bytes, QString *why)
{
    // QSaveFile writes a symbolic link's target and gives the new file the old one's mode.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : path;
    // Unbuffered, so that a short write (a full disk) shows in write()'s count: a buffered
    // QSaveFile can lose the tail in its final flush and still commit.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        setWhy(why, file.errorString());
        return false;
    }
    if (!target.isEmpty() && QFileInfo::exists(target))
        keepOwner(file, target);
    if (file.write(bytes) != bytes.size()) {
        setWhy(why, file.errorString());
        return false; // not committed: the old file stays
    }
    if (!file.commit()) {
        setWhy(why, file.errorString());
        return false;
    }
    return true;
}

bool IsSpecialFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

bool ReadRegularFile(const QString &path, QByteArray &bytes, QString *why)
{
    // Opening a FIFO waits for a writer; a device may never end. Neither is opened.
    if (IsSpecialFile(path)) {
        setWhy(why, QFileInfo(path).isDir() ? Msg::ReasonIsFolder : Msg::ReasonNotRegular);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setWhy(why, file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setWhy(why, file.errorString());
        return false;
    }
    return true;
}

QStringList RemoveStaleSaveTemporaries(const QString &path, int minAgeSeconds)
{
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    // QSaveFile names its temporary after the file: "name.XXXXXX".
    const QRegularExpression ours(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(info.fileName())));
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-minAgeSeconds);
    QStringList removed;
    const QFileInfoList entries = folder.entryInfoList(
        {info.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        if (!ours.match(entry.fileName()).hasMatch() || entry.isSymLink() || !entry.isFile())
            continue;
        if (entry.lastModified().toUTC() > before)
            continue;
        if (QFile::remove(entry.absoluteFilePath()))
            removed << entry.absoluteFilePath();
    }
    return removed;
}
