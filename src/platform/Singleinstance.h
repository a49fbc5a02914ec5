#pragma once

#include <QString>

// Only one copy of the program runs per user session: the first copy holds the lock on the file
// "OneOnly" in the user's runtime folder for its whole life. The system drops the lock when the
// holder ends, however it ends, so a copy that died never stands in the way and a process id
// that has been reused cannot pass for a live holder.
class SingleInstance {
public:
    // lockFolder: the user's runtime folder (XDG_RUNTIME_DIR).
    explicit SingleInstance(const QString &lockFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this process now holds the lock; false when another copy does, or the lock file
    // cannot be made at all (that counts the same: the program does not start twice).
    bool TryAcquire();

    static QString DefaultLockFolder();

private:
    QString m_path;
    int m_handle = -1;
};
