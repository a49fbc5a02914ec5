#include "Soundplayer_linux.h"

#include "Pcmstream.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>

// Outside any namespace, as Q_INIT_RESOURCE requires. The sound resources live in this static
// library; naming them here keeps the linker from dropping them.
static void initSoundResources()
{
    Q_INIT_RESOURCE(sound);
}

const QString QtSoundPlayer::DefaultSoundPath = QStringLiteral(":/sound/default-chime.wav");

namespace {

// How often a playing sound looks whether its end has been played, and how long past the
// output buffer's length it waits at most (a stalled server must not keep the sink forever).
constexpr int EndPollMs = 40;
constexpr qint64 EndGraceMs = 1000;
// How long the end of the program waits for the sound thread. A thread held by a hung server is
// left behind: the program's end does not wait for the server.
constexpr unsigned long ShutdownWaitMs = 300;

// Opens path and reads its WAV header; nothing if it is not a regular, readable, playable file.
// A FIFO or device is refused before it is opened, since opening or reading one can block.
std::unique_ptr<QIODevice> openWav(const QString &path, WavLayout &layout)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return nullptr;
    std::optional<WavLayout> parsed = ParseWav(*file);
    if (!parsed)
        return nullptr;
    layout = *parsed;
    return file;
}

// Registered late, so it runs before the exit handlers registered earlier (the audio library's).
void endWithoutLibraryCleanUp(int status, void *)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace

// The sound thread's side: the audio output, the stream and the decoding.
class SoundWorker : public QObject {
    Q_OBJECT

public:
    explicit SoundWorker(std::shared_ptr<std::atomic<quint64>> latest)
        : m_latest(std::move(latest))
    {
        m_endTimer.setInterval(EndPollMs);
        connect(&m_endTimer, &QTimer::timeout, this, &SoundWorker::checkEnd);
    }
    ~SoundWorker() override { stop(); }

    void play(const QString &path, quint64 request);
    void stop();

signals:
    void ended(quint64 request, bool playedToEnd);

private:
    bool overtaken(quint64 request) const { return m_latest->load() != request; }
    void onStateChanged(QAudioSink *sink);
    void checkEnd();

    std::shared_ptr<std::atomic<quint64>> m_latest;
    quint64 m_request = 0;
    QAudioSink *m_sink = nullptr;
    PcmStream *m_stream = nullptr;
    QTimer m_endTimer {this}; // a child, so it moves to the sound thread with the worker
    QElapsedTimer m_sinceDataDone;
};

void SoundWorker::play(const QString &path, quint64 request)
{
    // Requests that waited here while the server hung are dropped once a newer one exists.
    if (overtaken(request))
        return;
    stop();
    WavLayout layout;
    std::unique_ptr<QIODevice> file = openWav(path, layout);
    // Asking for the output connects to the sound server: this is one of the calls that wait.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    // No audio output at all (no sound card, no sound server): nothing to play on, and that is
    // not the file's fault.
    const QAudioFormat format
        = device.isNull() ? QAudioFormat() : QtSoundPlayer::outputFormat(device, layout);
    if (!file || !format.isValid() || overtaken(request)) {
        emit ended(request, false);
        return;
    }
    m_request = request;
    m_stream = new PcmStream(std::move(file), layout, format, this);
    // The sink is fed silence after the sound and stopped by us once the sound has been played:
    // a sink left to run dry reports its underrun from the sound server's thread, which races
    // with deleting it.
    m_stream->setPadWithSilence(true);
    m_sink = new QAudioSink(device, format, this);
    QAudioSink *sink = m_sink;
    connect(sink, &QAudioSink::stateChanged, this, [this, sink] { onStateChanged(sink); });
    sink->start(m_stream);
    m_sinceDataDone.invalidate();
    m_endTimer.start();
    onStateChanged(sink);
    if (m_sink && overtaken(request))
        stop(); // replaced or stopped while the server kept us waiting
}

void SoundWorker::stop()
{
    if (!m_sink)
        return;
    m_endTimer.stop();
    QAudioSink *sink = std::exchange(m_sink, nullptr);
    PcmStream *stream = std::exchange(m_stream, nullptr);
    sink->disconnect(this);
    // reset() drops what the output still holds, so the sound ends now, not after its buffer.
    sink->reset();
    sink->stop();
    delete sink;
    delete stream;
}

void SoundWorker::onStateChanged(QAudioSink *sink)
{
    if (sink != m_sink || sink->state() != QAudio::StoppedState || sink->error() == QAudio::NoError)
        return;
    // The sound server went away or refused the stream; there is nothing left to do. Tearing the
    // sink down inside its own signal is not safe, so it happens once control returns.
    QMetaObject::invokeMethod(
        this,
        [this, sink] {
            if (sink != m_sink)
                return;
            stop();
            emit ended(m_request, false);
        },
        Qt::QueuedConnection);
}

// The sound has ended once the output has taken all of it and a buffer's worth of the silence
// behind it: by then its last sample has left the buffer and been played.
void SoundWorker::checkEnd()
{
    if (!m_sink) {
        m_endTimer.stop();
        return;
    }
    if (!m_stream->dataDone())
        return;
    if (!m_sinceDataDone.isValid())
        m_sinceDataDone.start();
    const QAudioFormat format = m_sink->format();
    const qint64 bufferUs = format.durationForBytes(m_sink->bufferSize());
    const qint64 soundUs = format.durationForFrames(m_stream->outputFrameCount());
    const bool played = m_sink->processedUSecs() >= soundUs + bufferUs;
    if (!played && m_sinceDataDone.elapsed() < bufferUs / 1000 + EndGraceMs)
        return;
    stop();
    emit ended(m_request, true);
}

QtSoundPlayer::QtSoundPlayer(QObject *parent)
    : QObject(parent)
    , m_thread(std::make_unique<QThread>())
    , m_latest(std::make_shared<std::atomic<quint64>>(0))
{
    initSoundResources();
    m_thread->setObjectName(QStringLiteral("zarvo-sound"));
    m_worker = new SoundWorker(m_latest);
    m_worker->moveToThread(m_thread.get());
    connect(m_thread.get(), &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &SoundWorker::ended, this, &QtSoundPlayer::ended, Qt::QueuedConnection);
    m_thread->start();
}

QtSoundPlayer::~QtSoundPlayer()
{
    ++*m_latest;
    SoundWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker,
        [worker] {
            worker->stop();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    if (!m_thread->wait(ShutdownWaitMs)) {
        // Held by a hung sound server. Destroying a running QThread would abort the program;
        // the thread and its worker are left to end with the process. The audio library's own
        // clean-up at exit would free a lock that thread still holds and abort, so the process
        // ends, with its exit code, before that clean-up runs.
        qWarning("The sound server does not answer; the program ends without waiting for it.");
        (void)m_thread.release();
        static std::once_flag once;
        std::call_once(once, [] { ::on_exit(endWithoutLibraryCleanUp, nullptr); });
    }
}

bool QtSoundPlayer::Play(const QString &path)
{
    // Qt reads a name that starts with a colon from the program's own resources; a user's file
    // name never means those.
    const QString userPath = path.startsWith(u':') ? QStringLiteral("./") + path : path;
    // Only the header is read here, to answer whether the file itself can be played.
    WavLayout layout;
    const bool playable = openWav(userPath, layout) != nullptr;
    const QString sound = playable ? userPath : DefaultSoundPath;
    const quint64 request = ++*m_latest;
    m_playing = true;
    SoundWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker, sound, request] { worker->play(sound, request); }, Qt::QueuedConnection);
    return playable;
}

void QtSoundPlayer::Stop()
{
    ++*m_latest;
    m_playing = false;
    SoundWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker] { worker->stop(); }, Qt::QueuedConnection);
}

void QtSoundPlayer::ended(quint64 request, bool playedToEnd)
{
    if (request != m_latest->load())
        return; // about a sound that was replaced or stopped meanwhile
    m_playing = false;
    if (playedToEnd)
        emit finished();
}

QAudioFormat QtSoundPlayer::outputFormat(const QAudioDevice &device, const WavLayout &layout)
{
    const QAudioFormat preferred = device.preferredFormat();
    const int rates[] = {layout.sampleRate, preferred.sampleRate()};
    const int channelCounts[] = {layout.channels, preferred.channelCount()};
    const QAudioFormat::SampleFormat sampleFormats[]
        = {QAudioFormat::Int16, QAudioFormat::Float, QAudioFormat::Int32, QAudioFormat::UInt8};
    QAudioFormat format;
    for (int rate : rates) {
        for (int channels : channelCounts) {
            for (QAudioFormat::SampleFormat sampleFormat : sampleFormats) {
                format.setSampleRate(rate);
                format.setChannelCount(channels);
                format.setSampleFormat(sampleFormat);
                if (device.isFormatSupported(format))
                    return format;
            }
        }
    }
    return preferred;
}

#include "Soundplayer_linux.moc"
