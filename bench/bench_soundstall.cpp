// Prints how long starting and stopping a sound hold the calling (UI) thread, and the longest gap
// between two 5 ms heartbeats of its event loop while the sound is asked for and stopped. With a
// sound server's process id it first plays once with the server running, then stops the server
// (SIGSTOP) and measures again; "--stopped-from-start" stops it before the first sound, so the
// player meets a hung server on its very first connection. The server is continued (SIGCONT)
// before the program ends. Asserts nothing.
//
//   bench_soundstall [SERVER_PID [--stopped-from-start]]
#include "Soundplayer_linux.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

QString writeTone(const QString &path, int ms)
{
    const quint32 rate = 22050;
    const quint32 frames = rate * quint32(ms) / 1000;
    QByteArray bytes("RIFF....WAVEfmt ");
    auto put16 = [&bytes](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        bytes.append(b, 2);
    };
    auto put32 = [&bytes](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        bytes.append(b, 4);
    };
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    bytes += "data";
    put32(frames * 2);
    for (quint32 i = 0; i < frames; ++i)
        put16(quint16(qint16(8000 * std::sin(i * 2 * M_PI * 440 / rate))));
    qToLittleEndian(quint32(bytes.size() - 8), bytes.data() + 4);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

// The event loop's heartbeat: the longest time between two of its 5 ms ticks since reset().
class Heartbeat {
public:
    Heartbeat()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { beat(); });
        m_timer.start();
        reset();
    }
    void reset()
    {
        m_longest = 0;
        m_since.start();
    }
    qint64 longest()
    {
        beat();
        return m_longest;
    }

private:
    void beat()
    {
        m_longest = std::max(m_longest, m_since.elapsed());
        m_since.start();
    }
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

void runLoop(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

template<typename Call> qint64 timed(Call call)
{
    QElapsedTimer t;
    t.start();
    call();
    return t.elapsed();
}

void measure(const char *phase, QtSoundPlayer &player, const QString &tone, Heartbeat &heartbeat)
{
    heartbeat.reset();
    const qint64 play = timed([&] { player.Play(tone); });
    runLoop(500);
    const qint64 stop = timed([&] { player.Stop(); });
    runLoop(200);
    const qint64 replay = timed([&] { player.Play(tone); });
    const qint64 restop = timed([&] { player.Stop(); });
    runLoop(200);
    std::printf("%-34s play %6lld ms  stop %6lld ms  play+stop %6lld ms  longest loop gap %6lld ms\n", phase,
        static_cast<long long>(play), static_cast<long long>(stop), static_cast<long long>(replay + restop),
        static_cast<long long>(heartbeat.longest()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const pid_t server = args.isEmpty() ? 0 : pid_t(args.at(0).toInt());
    const bool stoppedFromStart = args.contains(QStringLiteral("--stopped-from-start"));

    QTemporaryDir dir;
    const QString tone = writeTone(dir.filePath(QStringLiteral("tone.wav")), 2000);
    if (tone.isEmpty()) {
        std::fprintf(stderr, "cannot write the test tone\n");
        return 2;
    }
    Heartbeat heartbeat;
    auto player = std::make_unique<QtSoundPlayer>();
    if (server > 0 && stoppedFromStart)
        ::kill(server, SIGSTOP);
    else
        measure("server running:", *player, tone, heartbeat);
    if (server > 0) {
        ::kill(server, SIGSTOP);
        measure("server stopped (SIGSTOP):", *player, tone, heartbeat);
    }
    const qint64 destroy = timed([&] { player.reset(); });
    std::printf("%-34s %lld ms\n", "destroying the player:", static_cast<long long>(destroy));
    if (server > 0)
        ::kill(server, SIGCONT);
    return 0;
}
