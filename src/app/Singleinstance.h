#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Only one copy of the program runs per user session: the first copy holds the lock file
// "OneOnly" in the user's runtime folder for its whole life. A lock left behind by a copy that
// died is taken over.
class SingleInstance {
public:
    // lockFolder: the user's runtime folder (XDG_RUNTIME_DIR).
    explicit SingleInstance(const QString &lockFolder);

    // True when this process now holds the lock; false when another copy does, or the lock file
    // cannot be made at all (that counts the same: the program does not start twice).
    bool TryAcquire();

    static QString DefaultLockFolder();

private:
    std::unique_ptr<QLockFile> m_lock;
};

// The caption of the message boxes shown before the program has its title: the executable's file
// name without its folder, cut at the first dot ("zarvo.bin" -> "zarvo").
QString EarlyCaption(const QString &executablePath);
