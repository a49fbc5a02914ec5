#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstring>
#include <initializer_list>

// Builds WAV files byte by byte, so tests control every header field, including wrong ones.
namespace wav {

constexpr quint16 Pcm = 1;
constexpr quint16 Adpcm = 2;
constexpr quint16 Float = 3;
constexpr quint16 Extensible = 0xFFFE;

inline void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

inline void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

inline QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray out(id, 4);
    put32(out, quint32(body.size()));
    out += body;
    if (body.size() % 2)
        out += '\0';
    return out;
}

// A chunk whose header claims size, followed by exactly the bytes given.
inline QByteArray chunkClaiming(const char *id, quint32 size, const QByteArray &body)
{
    QByteArray out(id, 4);
    put32(out, size);
    return out + body;
}

// The body of a plain 16-byte "fmt " chunk.
inline QByteArray fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    QByteArray out;
    const quint16 blockAlign = quint16(channels * (bits / 8));
    put16(out, tag);
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * blockAlign);
    put16(out, blockAlign);
    put16(out, bits);
    return out;
}

// The body of a 40-byte WAVE_FORMAT_EXTENSIBLE "fmt " chunk whose sub-format is subTag.
inline QByteArray fmtExtensible(
    quint16 subTag, quint16 channels, quint32 rate, quint16 bits, quint16 validBits)
{
    QByteArray out = fmt(Extensible, channels, rate, bits);
    put16(out, 22);
    put16(out, validBits);
    put32(out, channels == 1 ? 0x4 : 0x3);
    put16(out, subTag);
    static const unsigned char tail[14]
        = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    out.append(reinterpret_cast<const char *>(tail), 14);
    return out;
}

inline QByteArray riff(const QByteArray &chunks)
{
    QByteArray out("RIFF");
    put32(out, quint32(4 + chunks.size()));
    return out + "WAVE" + chunks;
}

inline QByteArray file(const QByteArray &fmtBody, const QByteArray &data)
{
    return riff(chunk("fmt ", fmtBody) + chunk("data", data));
}

inline QByteArray u8(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(quint8(v));
    return out;
}

inline QByteArray s16(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        put16(out, quint16(qint16(v)));
    return out;
}

inline QByteArray s24(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values) {
        const quint32 u = quint32(v);
        out += char(u & 0xFF);
        out += char((u >> 8) & 0xFF);
        out += char((u >> 16) & 0xFF);
    }
    return out;
}

inline QByteArray s32(std::initializer_list<qint64> values)
{
    QByteArray out;
    for (qint64 v : values)
        put32(out, quint32(qint32(v)));
    return out;
}

inline QByteArray f32(std::initializer_list<float> values)
{
    QByteArray out;
    for (float v : values) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    }
    return out;
}

inline QByteArray f64(std::initializer_list<double> values)
{
    QByteArray out;
    for (double v : values) {
        char b[8];
        qToLittleEndian(v, b);
        out.append(b, 8);
    }
    return out;
}

} // namespace wav
