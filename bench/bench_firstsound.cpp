// The first sound of a run, as the program plays it: through CreateSoundPlayer, which loads the
// sound plugin on the first Play. Prints the shared objects mapped before and after, and the
// moment (seconds since the epoch) of the Play call, for bench/first_sound.sh to set against the
// moment the sound server gets the stream.
// bench_firstsound_linked is the same with the player linked in, as the program had it before.
//   bench_firstsound WAV
#include "Soundplayer.h"
#ifdef ZARVO_BENCH_LINKED
#include "Soundplayer_linux.h"
#endif

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

QSet<QString> mappedObjects()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    QSet<QString> names;
    if (!maps.open(QIODevice::ReadOnly))
        return names;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const int slash = line.indexOf('/');
        if (slash >= 0 && line.contains(".so"))
            names.insert(QString::fromUtf8(line.mid(slash)));
    }
    return names;
}

double now()
{
    timespec t {};
    clock_gettime(CLOCK_REALTIME, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_firstsound WAV\n");
        return 2;
    }
    const QString wav = QString::fromLocal8Bit(argv[1]);
#ifdef ZARVO_BENCH_LINKED
    std::unique_ptr<SoundPlayer> player = std::make_unique<QtSoundPlayer>();
#else
    std::unique_ptr<SoundPlayer> player = CreateSoundPlayer();
#endif
    QSet<QString> before;
    QTimer::singleShot(300, &app, [&] {
        before = mappedObjects();
        std::printf("shared objects before the first sound: %lld\n", static_cast<long long>(before.size()));
        const double at = now();
        const bool playable = player->Play(wav);
        std::printf("play at %.6f (file playable: %s)\n", at, playable ? "yes" : "no");
        std::fflush(stdout);
    });
    QTimer::singleShot(1800, &app, [&] {
        const QSet<QString> after = mappedObjects();
        std::printf("shared objects after: %lld, new:", static_cast<long long>(after.size()));
        for (const QString &name : after - before)
            std::printf(" %s", qPrintable(name.section(u'/', -1)));
        std::printf("\n");
        app.quit();
    });
    return app.exec();
}
