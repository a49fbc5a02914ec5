#include "Pcmstream.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Frames read from the file per pass: small enough to keep the buffers tiny.
constexpr qint64 BlockFrames = 4096;

} // namespace

PcmStream::PcmStream(
    std::unique_ptr<QIODevice> file, const WavLayout &layout, const QAudioFormat &output, QObject *parent)
    : QIODevice(parent)
    , m_file(std::move(file))
    , m_layout(layout)
    , m_output(output)
{
    // An output format without a rate or channels gives nothing rather than a division by zero.
    if (output.sampleRate() > 0 && output.channelCount() > 0 && layout.sampleRate > 0)
        m_outputFrames = layout.frameCount * output.sampleRate() / layout.sampleRate;
    m_frame.resize(size_t(layout.channels));
    m_mixed.resize(size_t(std::max(output.channelCount(), 1)));
    open(QIODevice::ReadOnly);
}

qint64 PcmStream::bytesAvailable() const
{
    const qint64 frames
        = m_pad ? std::max(m_outputFrames - m_position, BlockFrames) : m_outputFrames - m_position;
    return frames * m_output.bytesPerFrame() + QIODevice::bytesAvailable();
}

bool PcmStream::atEnd() const
{
    return !m_pad && m_position >= m_outputFrames && QIODevice::bytesAvailable() == 0;
}

qint64 PcmStream::readData(char *data, qint64 maxSize)
{
    const int frameBytes = m_output.bytesPerFrame();
    if (frameBytes <= 0)
        return 0;
    // When the output's rate is lower, one output frame spans several of the file's: fewer output
    // frames per pass keep the file's frames per pass at BlockFrames.
    const qint64 perPass = std::max<qint64>(
        1, BlockFrames * m_output.sampleRate() / std::max(m_layout.sampleRate, m_output.sampleRate()));
    qint64 wanted = std::min(maxSize / frameBytes, m_outputFrames - m_position);
    qint64 written = 0;
    while (wanted > 0) {
        const qint64 frames = convertBlock(data + written * frameBytes, std::min(wanted, perPass));
        if (frames <= 0)
            break;
        written += frames;
        wanted -= frames;
    }
    if (m_pad && dataDone()) {
        const qint64 silent = maxSize / frameBytes - written;
        // Unsigned 8-bit silence sits in the middle of the range; every other format's is zero.
        std::memset(data + written * frameBytes, m_output.sampleFormat() == QAudioFormat::UInt8 ? 0x80 : 0,
            size_t(silent * frameBytes));
        written += silent;
    }
    return written * frameBytes;
}

// Converts the next output frames into data. Each output frame sits at a fractional source
// position; its value lies on the line between the two source frames around it.
qint64 PcmStream::convertBlock(char *data, qint64 frames)
{
    const qint64 sourceRate = m_layout.sampleRate;
    const qint64 outputRate = m_output.sampleRate();
    const qint64 firstSource = m_position * sourceRate / outputRate;
    const qint64 lastSource
        = std::min((m_position + frames - 1) * sourceRate / outputRate + 1, m_layout.frameCount - 1);
    const qint64 read = ReadWavFrames(*m_file, m_layout, firstSource, lastSource - firstSource + 1, m_source);
    if (read <= 0) {
        // The file shrank or became unreadable while playing: end here rather than play noise.
        m_outputFrames = m_position;
        return 0;
    }
    const int channels = m_layout.channels;
    char *out = data;
    qint64 done = 0;
    for (; done < frames; ++done) {
        const qint64 scaled = (m_position + done) * sourceRate;
        const qint64 index = scaled / outputRate - firstSource;
        if (index >= read)
            break;
        const qint64 next = std::min(index + 1, read - 1);
        const float t = float(scaled % outputRate) / float(outputRate);
        const float *a = &m_source[size_t(index * channels)];
        const float *b = &m_source[size_t(next * channels)];
        for (int c = 0; c < channels; ++c)
            m_frame[size_t(c)] = a[c] + t * (b[c] - a[c]);
        mixFrame(m_frame.data(), m_mixed.data());
        for (float value : m_mixed)
            writeSample(out, value);
    }
    m_position += done;
    if (done == 0)
        m_outputFrames = m_position;
    return done;
}

// Maps the file's channels onto the output's: the same count is copied, a mono output hears the
// average of all, a mono file sounds on every output channel, and otherwise file channel c goes
// to output channel c modulo the output's count, averaged with the others that land there.
void PcmStream::mixFrame(const float *source, float *mixed) const
{
    const int in = m_layout.channels;
    const int out = int(m_mixed.size());
    if (in == out) {
        std::copy(source, source + in, mixed);
        return;
    }
    if (in == 1) {
        std::fill(mixed, mixed + out, source[0]);
        return;
    }
    std::fill(mixed, mixed + out, 0.0f);
    for (int c = 0; c < in; ++c)
        mixed[c % out] += source[c];
    for (int c = 0; c < out; ++c) {
        const int landed = in / out + (c < in % out ? 1 : 0);
        if (landed > 0)
            mixed[c] /= float(landed);
    }
}

namespace {

template<typename T> void put(char *&out, T value)
{
    std::memcpy(out, &value, sizeof value);
    out += sizeof value;
}

} // namespace

// Samples go out in the machine's byte order, as QAudioSink expects. The scale is the one the
// decoder divided by, so a 16-bit file reaches a 16-bit output unchanged.
void PcmStream::writeSample(char *&out, float value) const
{
    value = std::clamp(value, -1.0f, 1.0f);
    switch (m_output.sampleFormat()) {
    case QAudioFormat::UInt8:
        put(out, quint8(std::clamp(std::lround(value * 128.0f) + 128, 0L, 255L)));
        break;
    case QAudioFormat::Int16:
        put(out, qint16(std::clamp(std::lround(value * 32768.0f), -32768L, 32767L)));
        break;
    case QAudioFormat::Int32:
        put(out, qint32(std::clamp(std::llround(double(value) * 2147483648.0), -2147483648LL, 2147483647LL)));
        break;
    default:
        put(out, value);
        break;
    }
}
