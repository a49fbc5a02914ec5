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

// How often the end of a sound looks whether the output has played its buffer, and how long past
// the buffer's length it waits at most (a stalled server must not keep the sink forever).
constexpr int DrainPollMs = 40;
constexpr qint64 DrainGraceMs = 500;

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
    m_drainTimer.setInterval(DrainPollMs);
    connect(&m_drainTimer, &QTimer::timeout, this, &QtSoundPlayer::checkDrained);
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
    m_drainTimer.stop();
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
    m_sink = new QAudioSink(device, format, this);
    QAudioSink *sink = m_sink;
    connect(sink, &QAudioSink::stateChanged, this, [this, sink] { onStateChanged(sink); });
    sink->start(m_stream);
    onStateChanged(sink);
}

void QtSoundPlayer::onStateChanged(QAudioSink *sink)
{
    if (sink != m_sink)
        return;
    if (sink->state() == QAudio::IdleState && m_stream->atEnd()) {
        // The last samples are still in the output's buffer: let them play out before the sink
        // goes, or the end of every sound would be cut off.
        m_drainStarted.start();
        m_drainTimer.start();
    } else if (sink->state() == QAudio::StoppedState && sink->error() != QAudio::NoError) {
        // The sound server went away or refused the stream; there is nothing left to do. Tearing
        // the sink down inside its own signal is not safe, so it happens once control returns.
        QMetaObject::invokeMethod(
            this,
            [this, sink] {
                if (sink == m_sink)
                    Stop();
            },
            Qt::QueuedConnection);
    }
}

void QtSoundPlayer::checkDrained()
{
    if (!m_sink) {
        m_drainTimer.stop();
        return;
    }
    const qint64 bufferMs = m_sink->format().durationForBytes(m_sink->bufferSize()) / 1000;
    const bool drained = m_sink->bytesFree() >= m_sink->bufferSize();
    if (!drained && m_drainStarted.elapsed() < bufferMs + DrainGraceMs)
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
