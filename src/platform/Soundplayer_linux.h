#pragma once

#include "Soundplayer.h"
#include "Wavdecoder.h"

#include <QAudioFormat>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QAudioDevice;
class QAudioSink;
class QIODevice;
class PcmStream;

// Plays through Qt Multimedia's QAudioSink on the default audio output (PulseAudio on Linux).
// Decodes the file itself, so every uncompressed WAV plays, whatever its sample size, and
// converts it to a format the output takes. Playing is asynchronous on the caller's thread.
class QtSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT

public:
    explicit QtSoundPlayer(QObject *parent = nullptr);
    ~QtSoundPlayer() override;

    bool Play(const QString &path) override;
    void Stop() override;

    // True from a Play that reached an audio output until the sound has ended or was stopped.
    bool isPlaying() const { return m_sink != nullptr; }

    // The output format chosen for a file of this layout: the file's own rate and channels where
    // the device takes them, 16-bit where it can.
    static QAudioFormat outputFormat(const QAudioDevice &device, const WavLayout &layout);

    static const QString DefaultSoundPath;

signals:
    // Emitted when a sound has played to its end (not after Stop or a replacing Play).
    void finished();

private:
    void start(std::unique_ptr<QIODevice> file, const WavLayout &layout);
    void onStateChanged(QAudioSink *sink);
    void checkEnd();

    QAudioSink *m_sink = nullptr;
    PcmStream *m_stream = nullptr;
    QTimer m_endTimer;
    QElapsedTimer m_sinceDataDone;
};
