#include "Wavdecoder.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr quint16 FormatPcm = 0x0001;
constexpr quint16 FormatFloat = 0x0003;
constexpr quint16 FormatExtensible = 0xFFFE;

// The fixed tail of the sub-format GUIDs of WAVE_FORMAT_EXTENSIBLE; the first two bytes carry
// the plain format tag.
constexpr unsigned char GuidTail[14]
    = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Anything beyond this is no sound file a person keeps, and would only make the numbers overflow.
constexpr int MaxChannels = 64;
constexpr int MaxSampleRate = 1'536'000;

bool fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

std::optional<WavLayout> refuse(QString *why, const QString &reason)
{
    fail(why, reason);
    return std::nullopt;
}

quint16 le16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 le32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

bool readExactly(QIODevice &device, qint64 pos, char *buffer, qint64 size)
{
    return device.seek(pos) && device.read(buffer, size) == size;
}

// Fills layout from the body of a "fmt " chunk (already known to be at least 16 bytes).
bool parseFormat(const QByteArray &fmt, WavLayout &layout, QString *why)
{
    const char *p = fmt.constData();
    quint16 tag = le16(p);
    const int channels = le16(p + 2);
    const quint32 rate = le32(p + 4);
    const int bits = le16(p + 14);

    if (tag == FormatExtensible) {
        if (fmt.size() < 40 || le16(p + 16) < 22)
            return fail(why, QStringLiteral("extensible format header is too short"));
        if (std::memcmp(p + 26, GuidTail, sizeof GuidTail) != 0)
            return fail(why, QStringLiteral("unknown extensible sub-format"));
        tag = le16(p + 24);
    }
    if (channels < 1 || channels > MaxChannels)
        return fail(why, QStringLiteral("unsupported channel count %1").arg(channels));
    if (rate < 1 || rate > quint32(MaxSampleRate))
        return fail(why, QStringLiteral("unsupported sample rate %1").arg(rate));

    if (tag == FormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32))
        layout.encoding = WavLayout::Encoding::Integer;
    else if (tag == FormatFloat && (bits == 32 || bits == 64))
        layout.encoding = WavLayout::Encoding::Float;
    else
        return fail(why, QStringLiteral("unsupported format tag %1 with %2 bits").arg(tag).arg(bits));

    layout.channels = channels;
    layout.sampleRate = int(rate);
    layout.bitsPerSample = bits;
    return true;
}

float decodeSample(const WavLayout &layout, const char *p)
{
    if (layout.encoding == WavLayout::Encoding::Float) {
        const double value
            = layout.bitsPerSample == 32 ? double(qFromLittleEndian<float>(p)) : qFromLittleEndian<double>(p);
        if (std::isnan(value))
            return 0.0f;
        return float(std::clamp(value, -1.0, 1.0));
    }
    switch (layout.bitsPerSample) {
    case 8:
        return (int(static_cast<unsigned char>(*p)) - 128) / 128.0f;
    case 16:
        return qFromLittleEndian<qint16>(p) / 32768.0f;
    case 24: {
        const auto *u = reinterpret_cast<const unsigned char *>(p);
        qint32 v = qint32(u[0] | (u[1] << 8) | (quint32(u[2]) << 16));
        if (v & 0x800000)
            v -= 0x1000000;
        return float(v / 8388608.0);
    }
    default:
        return float(qFromLittleEndian<qint32>(p) / 2147483648.0);
    }
}

} // namespace

std::optional<WavLayout> ParseWav(QIODevice &device, QString *why)
{
    if (device.isSequential())
        return refuse(why, QStringLiteral("not a random-access file"));
    const qint64 fileSize = device.size();
    char header[12];
    if (!readExactly(device, 0, header, 12))
        return refuse(why, QStringLiteral("too short for a RIFF header"));
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        return refuse(why, QStringLiteral("not a RIFF/WAVE file"));

    WavLayout layout;
    bool haveFormat = false;
    qint64 dataSize = -1;
    // The RIFF size is often wrong in files written by streaming tools, so the chunks are walked
    // up to the real end of the file instead.
    qint64 pos = 12;
    while (pos + 8 <= fileSize && !(haveFormat && dataSize >= 0)) {
        char chunk[8];
        if (!readExactly(device, pos, chunk, 8))
            break;
        const qint64 size = le32(chunk + 4);
        const qint64 body = pos + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
            if (size < 16)
                return refuse(why, QStringLiteral("format chunk of %1 bytes").arg(size));
            if (body + size > fileSize)
                return refuse(why, QStringLiteral("format chunk runs past the end"));
            QByteArray fmt(int(std::min<qint64>(size, 40)), '\0');
            if (!readExactly(device, body, fmt.data(), fmt.size()))
                return refuse(why, QStringLiteral("unreadable format chunk"));
            if (!parseFormat(fmt, layout, why))
                return std::nullopt;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && dataSize < 0) {
            if (body + size > fileSize)
                return refuse(why, QStringLiteral("data chunk of %1 bytes runs past the end").arg(size));
            layout.dataOffset = body;
            dataSize = size;
        }
        pos = body + size + (size & 1);
    }
    if (!haveFormat)
        return refuse(why, QStringLiteral("no format chunk"));
    if (dataSize < 0)
        return refuse(why, QStringLiteral("no data chunk"));
    layout.frameCount = dataSize / layout.bytesPerFrame();
    return layout;
}

qint64 ReadWavFrames(
    QIODevice &device, const WavLayout &layout, qint64 first, qint64 count, std::vector<float> &out)
{
    out.clear();
    count = std::min(count, layout.frameCount - first);
    if (first < 0 || count <= 0 || !device.seek(layout.dataOffset + first * layout.bytesPerFrame()))
        return 0;
    const int frameBytes = layout.bytesPerFrame();
    const int sampleBytes = layout.bitsPerSample / 8;
    const QByteArray bytes = device.read(count * frameBytes);
    const qint64 frames = bytes.size() / frameBytes;
    out.resize(size_t(frames * layout.channels));
    const char *p = bytes.constData();
    for (size_t i = 0; i < out.size(); ++i, p += sampleBytes)
        out[i] = decodeSample(layout, p);
    return frames;
}
