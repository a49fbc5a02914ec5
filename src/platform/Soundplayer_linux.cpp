#include "Soundplayer_linux.h"

#include "Pcmstream.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>

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

} // namespace

QtSoundPlayer::QtSoundPlayer(QObject *parent)
    : QObject(parent)
{
    initSoundResources();
    m_endTimer.setInterval(EndPollMs);
    connect(&m_endTimer, &QTimer::timeout, this, &QtSoundPlayer::checkEnd);
}

QtSoundPlayer::~QtSoundPlayer()
{
    Stop();
}

bool QtSoundPlayer::Play(const QString &path)
{
    Stop();
    WavLayout layout;
    // Qt reads a name that starts with a colon from the program's own resources; a user's file
    // name never means those.
    const QString userPath = path.startsWith(u':') ? QStringLiteral("./") + path : path;
    std::unique_ptr<QIODevice> file = openWav(userPath, layout);
    const bool playable = file != nullptr;
    if (!playable)
        file = openWav(DefaultSoundPath, layout);
    start(std::move(file), layout);
    return playable;
}

void QtSoundPlayer::Stop()
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

void QtSoundPlayer::start(std::unique_ptr<QIODevice> file, const WavLayout &layout)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    // No audio output at all (no sound card, no sound server): nothing to play on, and that is
    // not the file's fault.
    if (!file || device.isNull())
        return;
    const QAudioFormat format = outputFormat(device, layout);
    if (!format.isValid())
        return;
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
}

void QtSoundPlayer::onStateChanged(QAudioSink *sink)
{
    if (sink != m_sink || sink->state() != QAudio::StoppedState || sink->error() == QAudio::NoError)
        return;
    // The sound server went away or refused the stream; there is nothing left to do. Tearing the
    // sink down inside its own signal is not safe, so it happens once control returns.
    QMetaObject::invokeMethod(
        this,
        [this, sink] {
            if (sink == m_sink)
                Stop();
        },
        Qt::QueuedConnection);
}

// The sound has ended once the output has taken all of it and a buffer's worth of the silence
// behind it: by then its last sample has left the buffer and been played.
void QtSoundPlayer::checkEnd()
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
    Stop();
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

std::unique_ptr<SoundPlayer> CreateSoundPlayer()
{
    return std::make_unique<QtSoundPlayer>();
}
