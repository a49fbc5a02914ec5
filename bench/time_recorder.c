/* The latency benchmark's recorder: started by a task, it appends the wall-clock moment of its
 * own start (seconds since the epoch, with nanoseconds) to the file named as itself plus ".log".
 * Plain C, linked statically and reading the clock first, so that its own start costs a small
 * fraction of a millisecond and the figure measured is the scheduler's. */
#include <fcntl.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

int main(void)
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    /* Named after itself: the task that runs it passes no arguments. */
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 5);
    if (length <= 0)
        return 1;
    snprintf(path + length, 5, ".log");
    char line[64];
    int size = snprintf(line, sizeof line, "%lld.%09ld\n", (long long)now.tv_sec, now.tv_nsec);
    int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return 1;
    /* One write of a whole line, appended: lines of runs that overlap never mix. */
    int written = (int)write(fd, line, (size_t)size);
    close(fd);
    return written == size ? 0 : 1;
}
