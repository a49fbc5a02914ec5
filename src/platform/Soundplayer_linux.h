#pragma once

#include "Soundplayer.h"
#include "Wavdecoder.h"

#include <QAudioFormat>
#include <QObject>

#include <atomic>
#include <memory>

class QAudioDevice;
class QThread;
class SoundWorker;

// Plays through Qt Multimedia's QAudioSink on the default audio output (PulseAudio on Linux).
// Decodes the file itself, so every uncompressed WAV plays, whatever its sample size, and
// converts it to a format the output takes.
//
// The audio output, the stream and the decoding live on a thread of their own: a sound server
// that hangs (stopped, swapped out, busy) can hold that thread for half a minute or more, but
// never the caller's. Play and Stop only hand the request over and return; the caller's thread
// reads no more than the file's header. A newer request replaces the ones not yet carried out.
class QtSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT

public:
    explicit QtSoundPlayer(QObject *parent = nullptr);
    ~QtSoundPlayer() override;

    bool Play(const QString &path) override;
    void Stop() override;

    // True from a Play until the sound has ended, was stopped, or found no audio output.
    bool isPlaying() const { return m_playing; }

    // The output format chosen for a file of this layout: the file's own rate and channels where
    // the device takes them, 16-bit where it can.
    static QAudioFormat outputFormat(const QAudioDevice &device, const WavLayout &layout);

    static const QString DefaultSoundPath;

signals:
    // Emitted when a sound has played to its end (not after Stop or a replacing Play).
    void finished();

private:
    void ended(quint64 request, bool playedToEnd);

    std::unique_ptr<QThread> m_thread;
    SoundWorker *m_worker = nullptr; // lives on m_thread
    // The newest request; the sound thread drops every older one it has not carried out yet.
    std::shared_ptr<std::atomic<quint64>> m_latest;
    bool m_playing = false;
};
