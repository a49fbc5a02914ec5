#include "Singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString &lockFolder)
    : m_lock(std::make_unique<QLockFile>(QDir(lockFolder).filePath(QStringLiteral("OneOnly"))))
{
    // Never taken over for its age: only a lock whose process is gone counts as stale.
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::TryAcquire()
{
    return m_lock->tryLock(0);
}

QString SingleInstance::DefaultLockFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

QString EarlyCaption(const QString &executablePath)
{
    const QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}
