#include "support/TestMain.h"
#include "Soundplayer_linux.h"
#include "support/FileHelpers.h"
#include "WavBuilder.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <memory>
#include <sys/stat.h>

// Runs twice: beside a private sound server (ZARVO_EXPECT_AUDIO=1, through run_with_pulse.sh)
// and with no sound server at all (ZARVO_EXPECT_AUDIO=0). Each run first checks that it really
// has, or lacks, an audio output, so a broken set-up fails instead of passing quietly.
class SoundPlayerTest : public QObject {
    Q_OBJECT

private:
    // Generous: a null sink that has been idle starts a stream only after its own two-second
    // latency, and the machine may be busy.
    static constexpr int FinishWaitMs = 10000;

    QTemporaryDir m_dir;
    bool m_audio = false;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A sine tone of the given length, 16-bit mono at 22050 Hz.
    QString tone(const QString &name, int ms)
    {
        QByteArray samples;
        const int frames = 22050 * ms / 1000;
        for (int i = 0; i < frames; ++i)
            wav::put16(samples, quint16(qint16(8000 * std::sin(i * 2 * M_PI * 440 / 22050))));
        const QString file = path(name);
        writeBytes(file, wav::file(wav::fmt(wav::Pcm, 1, 22050, 16), samples));
        return file;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_audio = qEnvironmentVariableIntValue("ZARVO_EXPECT_AUDIO") == 1;
        QCOMPARE(QMediaDevices::defaultAudioOutput().isNull(), !m_audio);
    }

    void defaultChime_isShippedAsAShortPlayableWav()
    {
        QFile chime(QtSoundPlayer::DefaultSoundPath);
        QtSoundPlayer player; // registers the resources
        QVERIFY2(chime.open(QIODevice::ReadOnly), qPrintable(chime.errorString()));
        QString why;
        const std::optional<WavLayout> layout = ParseWav(chime, &why);
        QVERIFY2(layout, qPrintable(why));
        QCOMPARE(layout->bitsPerSample, 16);
        QCOMPARE(layout->channels, 1);
        QCOMPARE(layout->sampleRate, 22050);
        const double seconds = double(layout->frameCount) / layout->sampleRate;
        QVERIFY2(seconds > 0.3 && seconds < 1.0, qPrintable(QString::number(seconds)));
    }

    void play_fileThatCannotBePlayed_answersFalseAndSoundsTheChime_data()
    {
        QTest::addColumn<QString>("file");
        const QString text = path(QStringLiteral("text.wav"));
        writeBytes(text, "Это не звуковой файл.");
        const QString cut = path(QStringLiteral("cut.wav"));
        writeBytes(cut, wav::file(wav::fmt(wav::Pcm, 1, 8000, 16), wav::s16({1, 2})).left(30));
        const QString adpcm = path(QStringLiteral("adpcm.wav"));
        writeBytes(adpcm, wav::file(wav::fmt(wav::Adpcm, 1, 8000, 4), QByteArray(100, '\x11')));
        const QString fifo = path(QStringLiteral("fifo.wav"));
        ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
        const QString unreadable = path(QStringLiteral("unreadable.wav"));
        writeBytes(unreadable, wav::file(wav::fmt(wav::Pcm, 1, 8000, 16), wav::s16({1, 2})));
        QFile::setPermissions(unreadable, QFileDevice::Permissions());

        QTest::newRow("missing") << path(QStringLiteral("no-such-file.wav"));
        QTest::newRow("empty path") << QString();
        QTest::newRow("the birthday notice's placeholder") << QStringLiteral("lblFileName");
        QTest::newRow("the program's own resource name") << QtSoundPlayer::DefaultSoundPath;
        QTest::newRow("folder") << m_dir.path();
        QTest::newRow("text") << text;
        QTest::newRow("truncated header") << cut;
        QTest::newRow("compressed") << adpcm;
        // Opening a FIFO for reading waits for a writer: it must be refused, not opened.
        QTest::newRow("fifo") << fifo;
        if (::geteuid() != 0) // root reads any file
            QTest::newRow("unreadable") << unreadable;
    }
    void play_fileThatCannotBePlayed_answersFalseAndSoundsTheChime()
    {
        QFETCH(QString, file);
        QtSoundPlayer player;
        QSignalSpy finished(&player, &QtSoundPlayer::finished);
        QCOMPARE(player.Play(file), false);
        QCOMPARE(player.isPlaying(), true); // asked for; without an output it ends at once
        if (m_audio)
            QVERIFY(finished.wait(FinishWaitMs)); // the chime is short
        QTRY_COMPARE(player.isPlaying(), false);
        QCOMPARE(finished.count(), m_audio ? 1 : 0);
    }

    void play_goodFileWithoutOutput_answersTrueAndDoesNothing()
    {
        if (m_audio)
            QSKIP("only without an audio output");
        QtSoundPlayer player;
        QSignalSpy finished(&player, &QtSoundPlayer::finished);
        QCOMPARE(player.Play(tone(QStringLiteral("quiet.wav"), 200)), true);
        QTRY_COMPARE(player.isPlaying(), false);
        QCOMPARE(finished.count(), 0);
        player.Stop();
        QCOMPARE(player.isPlaying(), false);
    }

    void play_goodFile_playsToItsEndOnce()
    {
        if (!m_audio)
            QSKIP("needs an audio output; this run has none on purpose");
        QtSoundPlayer player;
        QSignalSpy finished(&player, &QtSoundPlayer::finished);
        QCOMPARE(player.Play(tone(QStringLiteral("short.wav"), 300)), true);
        QCOMPARE(player.isPlaying(), true);
        QVERIFY(finished.wait(FinishWaitMs));
        QCOMPARE(player.isPlaying(), false);
        QTest::qWait(300);
        QCOMPARE(finished.count(), 1);
    }

    void stop_endsTheSoundAtOnce()
    {
        if (!m_audio)
            QSKIP("needs an audio output; this run has none on purpose");
        QtSoundPlayer player;
        QSignalSpy finished(&player, &QtSoundPlayer::finished);
        QVERIFY(player.Play(tone(QStringLiteral("long.wav"), 5000)));
        QTest::qWait(200);
        player.Stop();
        QCOMPARE(player.isPlaying(), false);
        QTest::qWait(300);
        QCOMPARE(finished.count(), 0);
        player.Stop(); // a second stop is harmless
    }

    void play_whilePlaying_replacesTheSound()
    {
        if (!m_audio)
            QSKIP("needs an audio output; this run has none on purpose");
        QtSoundPlayer player;
        QSignalSpy finished(&player, &QtSoundPlayer::finished);
        // The first sound is far longer than the wait below: a finish within the wait can only be
        // the second's.
        QVERIFY(player.Play(tone(QStringLiteral("first.wav"), 3 * FinishWaitMs)));
        QTest::qWait(200);
        QVERIFY(player.Play(tone(QStringLiteral("second.wav"), 300)));
        QVERIFY(finished.wait(FinishWaitMs));
        QCOMPARE(player.isPlaying(), false);
        QTest::qWait(300);
        QCOMPARE(finished.count(), 1);
    }

    void outputFormat_isOneTheDeviceTakes_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("isFloat");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::newRow("8-bit mono 11025 Hz") << 8 << false << 1 << 11025;
        QTest::newRow("16-bit stereo 44100 Hz") << 16 << false << 2 << 44100;
        QTest::newRow("24-bit stereo 96000 Hz") << 24 << false << 2 << 96000;
        QTest::newRow("32-bit float six channels") << 32 << true << 6 << 48000;
        QTest::newRow("64-bit float 384000 Hz") << 64 << true << 2 << 384000;
        QTest::newRow("16-bit, eighteen channels, 4000 Hz") << 16 << false << 18 << 4000;
    }
    void outputFormat_isOneTheDeviceTakes()
    {
        if (!m_audio)
            QSKIP("needs an audio output; this run has none on purpose");
        QFETCH(int, bits);
        QFETCH(bool, isFloat);
        QFETCH(int, channels);
        QFETCH(int, rate);
        WavLayout layout;
        layout.bitsPerSample = bits;
        layout.encoding = isFloat ? WavLayout::Encoding::Float : WavLayout::Encoding::Integer;
        layout.channels = channels;
        layout.sampleRate = rate;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const QAudioFormat format = QtSoundPlayer::outputFormat(device, layout);
        QVERIFY2(device.isFormatSupported(format),
            qPrintable(QStringLiteral("%1 Hz, %2 channels, sample format %3")
                           .arg(format.sampleRate())
                           .arg(format.channelCount())
                           .arg(int(format.sampleFormat()))));
    }

    // A sound server that hangs (here: stopped with SIGSTOP) once held the caller in Play for
    // half a minute and longer. Requests now only reach the sound thread; the caller's event loop
    // keeps its beat. The bound below is far above a few milliseconds and far below the hang.
    void playAndStop_withAHungServer_neverHoldTheCaller()
    {
        if (!m_audio)
            QSKIP("needs an audio server to stop");
        const QByteArray pid = readBytes(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/pulse/pid")).trimmed();
        const pid_t server = pid_t(pid.toInt());
        QVERIFY2(server > 0, pid.constData());
        const QString sound = tone(QStringLiteral("hung.wav"), 2000);
        auto player = std::make_unique<QtSoundPlayer>();
        QVERIFY(player->Play(sound)); // connected while the server still answers
        QTest::qWait(300);
        player->Stop();

        QCOMPARE(::kill(server, SIGSTOP), 0);
        QElapsedTimer held;
        held.start();
        int beats = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, [&beats] { ++beats; });
        beat.start(10);
        QVERIFY(player->Play(sound));
        QTest::qWait(300);
        player->Stop();
        QVERIFY(player->Play(sound));
        player->Stop();
        QTest::qWait(200);
        player.reset(); // the end of the program does not wait for the server either
        const qint64 elapsed = held.elapsed();
        ::kill(server, SIGCONT);
        QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
        QVERIFY2(beats >= 20, qPrintable(QString::number(beats)));
    }
};

ZARVO_TEST_GUILESS_MAIN(SoundPlayerTest)
#include "test_soundplayer.moc"
