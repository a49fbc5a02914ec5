#pragma once

#include <QRandomGenerator>
#include <QtGlobal>

#include <functional>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs saveForever in a child process, kills it with SIGKILL after a random 50 µs .. 3 ms, and
// asks isWhole whether what it left on disk is a complete version; repeated `rounds` times
// (ZARVO_CRASH_ROUNDS overrides). Returns how many rounds left a torn file, or -1 when fork fails.
inline int countTornFilesAfterKills(int rounds, const std::function<void()> &saveForever,
    const std::function<bool()> &isWhole)
{
    if (qEnvironmentVariableIntValue("ZARVO_CRASH_ROUNDS") > 0)
        rounds = qEnvironmentVariableIntValue("ZARVO_CRASH_ROUNDS");
    int torn = 0;
    for (int round = 0; round < rounds; ++round) {
        const pid_t child = fork();
        if (child < 0)
            return -1;
        if (child == 0) {
            saveForever();
            _exit(0);
        }
        usleep(QRandomGenerator::global()->bounded(50, 3000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!isWhole())
            ++torn;
    }
    return torn;
}
