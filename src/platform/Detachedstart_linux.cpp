#include "Detachedstart_linux.h"

#include <QFile>
#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

// Collects the child when it ends: a pidfd becomes readable then. Deletes itself afterwards.
class ChildReaper final : public QObject {
public:
    ChildReaper(pid_t pid, int pidfd)
        : m_pid(pid)
        , m_pidfd(pidfd)
        , m_notifier(pidfd, QSocketNotifier::Read)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &ChildReaper::collect);
    }
    ~ChildReaper() override { ::close(m_pidfd); }

private:
    void collect()
    {
        if (::waitpid(m_pid, nullptr, WNOHANG) == 0)
            return;
        m_notifier.setEnabled(false);
        deleteLater();
    }

    pid_t m_pid;
    int m_pidfd;
    QSocketNotifier m_notifier;
};

void collectWhenEnded(pid_t pid)
{
    const int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        new ChildReaper(pid, pidfd);
        return;
    }
    // A kernel without pidfds (before 5.3): a thread waits instead.
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
}

// Spawn attributes: a session of its own, no blocked signals, and SIGPIPE as programs expect it
// (a GUI process ignores it, and ignored signals would pass through exec).
class SpawnSetup {
public:
    explicit SpawnSetup(const QByteArray &folder)
    {
        posix_spawnattr_init(&attr);
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;

    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
};

} // namespace

bool StartDetachedProgram(const QString &program, const QString &folder)
{
    const QByteArray path = QFile::encodeName(program);
    const SpawnSetup setup(QFile::encodeName(folder));
    char *argv[] = {const_cast<char *>(path.constData()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, path.constData(), &setup.actions, &setup.attr, argv, environ) != 0)
        return false;
    collectWhenEnded(pid);
    return true;
}
