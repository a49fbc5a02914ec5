#include "Singleinstance.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int OpenLockFile(const QByteArray &path)
{
    int handle;
    do {
        // Not through a link: with no runtime folder the lock lives in the shared temporary folder.
        handle = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    } while (handle < 0 && errno == EINTR);
    return handle;
}

bool IsRegularFile(int handle)
{
    struct stat status { };
    return ::fstat(handle, &status) == 0 && S_ISREG(status.st_mode);
}

bool LockExclusively(int handle)
{
    int result;
    do {
        result = ::flock(handle, LOCK_EX | LOCK_NB);
    } while (result < 0 && errno == EINTR);
    return result == 0;
}

// The holder's process id, executable name and host, one per line: the form earlier versions
// wrote, so that one of them started now sees a live holder and does not start a second copy.
void RecordHolder(int handle)
{
    const QByteArray record = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
        + QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n'
        + QSysInfo::machineHostName().toUtf8() + '\n';
    // Only a courtesy to those versions: the lock itself is what counts, so a failed write is
    // not an error.
    if (::ftruncate(handle, 0) != 0)
        return;
    const ssize_t written = ::write(handle, record.constData(), size_t(record.size()));
    Q_UNUSED(written)
}

} // namespace

SingleInstance::SingleInstance(const QString &lockFolder)
    : m_path(QDir(lockFolder).filePath(QStringLiteral("OneOnly")))
{
}

SingleInstance::~SingleInstance()
{
    // The file stays: removed, a copy that had opened it but not yet locked it would lock a file
    // nobody else can find, and a third copy would make a new one and start too.
    if (m_handle >= 0)
        ::close(m_handle);
}

bool SingleInstance::TryAcquire()
{
    if (m_handle >= 0)
        return true;
    const int handle = OpenLockFile(QFile::encodeName(m_path));
    if (handle < 0)
        return false;
    if (!IsRegularFile(handle) || !LockExclusively(handle)) {
        ::close(handle);
        return false;
    }
    m_handle = handle;
    RecordHolder(handle);
    return true;
}

QString SingleInstance::DefaultLockFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}
