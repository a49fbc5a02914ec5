// Plays sounds through the program's sound player from the command line, for the tests that
// record what reaches an audio output.
//
//   zarvo_sound_probe FILE [MS]               play FILE, wait MS (default 3000) milliseconds
//   zarvo_sound_probe STEP...                 each STEP is a file to play, a number of
//                                             milliseconds to wait, or the word "stop"
//
// Prints one line per step as it happens, so a script can follow along.
#include "Soundplayer_linux.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>

#include <cstdio>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool isNumber(const QString &text)
{
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList steps = app.arguments().mid(1);
    if (steps.isEmpty()) {
        std::fprintf(stderr, "usage: zarvo_sound_probe FILE [MS] | STEP...\n");
        return 2;
    }
    if (steps.size() == 1)
        steps << QStringLiteral("3000");

    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    say(output.isNull() ? QStringLiteral("output: none") : QStringLiteral("output: ") + output.description());

    QtSoundPlayer player;
    QElapsedTimer sincePlay;
    QObject::connect(&player, &QtSoundPlayer::finished,
        [&sincePlay] { say(QStringLiteral("finished %1 ms after play").arg(sincePlay.elapsed())); });
    for (const QString &step : steps) {
        if (isNumber(step)) {
            wait(step.toInt());
            say(QStringLiteral("waited ") + step + (player.isPlaying() ? u" playing" : u" idle"));
        } else if (step == u"stop") {
            player.Stop();
            say(QStringLiteral("stopped"));
        } else {
            sincePlay.start();
            const bool played = player.Play(step);
            say(QStringLiteral("play ") + step + (played ? u" true" : u" false"));
        }
    }
    return 0;
}
