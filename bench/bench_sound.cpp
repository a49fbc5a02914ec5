// Prints how fast a long WAV file is converted for the audio output and how much memory that
// takes. A three-minute 24-bit stereo file at 48 kHz is converted to 16-bit at 44.1 kHz, the
// heaviest path (every frame resampled). Asserts nothing.
#include "Pcmstream.h"
#include "Wavdecoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool writeLongFile(const QString &path, int seconds)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const quint32 rate = 48000;
    const quint32 frames = rate * quint32(seconds);
    const quint32 dataBytes = frames * 6;
    char header[44];
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, header + at); };
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, header + at); };
    std::memcpy(header, "RIFF", 4);
    put32(4, 36 + dataBytes);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 2);
    put32(24, rate);
    put32(28, rate * 6);
    put16(32, 6);
    put16(34, 24);
    std::memcpy(header + 36, "data", 4);
    put32(40, dataBytes);
    file.write(header, 44);
    QByteArray block;
    for (quint32 i = 0; i < frames; ++i) {
        const auto v = qint32(4000000 * std::sin(i * 0.0576));
        for (int c = 0; c < 2; ++c) {
            block += char(v & 0xFF);
            block += char((v >> 8) & 0xFF);
            block += char((v >> 16) & 0xFF);
        }
        if (block.size() >= (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    return file.write(block) == block.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.wav"));
    const int seconds = 180;
    if (!writeLongFile(path, seconds)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const long rssBefore = peakRssKb();

    QElapsedTimer clock;
    clock.start();
    auto file = std::make_unique<QFile>(path);
    file->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    const std::optional<WavLayout> layout = ParseWav(*file);
    const double parseMs = clock.nsecsElapsed() / 1e6;
    if (!layout)
        return 1;

    QAudioFormat output;
    output.setSampleRate(44100);
    output.setChannelCount(2);
    output.setSampleFormat(QAudioFormat::Int16);
    PcmStream stream(std::move(file), *layout, output);
    clock.restart();
    qint64 bytes = 0;
    char buffer[16384];
    for (qint64 got; (got = stream.read(buffer, sizeof buffer)) > 0;)
        bytes += got;
    const double convertMs = clock.nsecsElapsed() / 1e6;

    std::printf("file: %d s of 24-bit stereo at 48000 Hz, %.1f MB\n", seconds, QFileInfo(path).size() / 1e6);
    std::printf("header parsed in %.3f ms\n", parseMs);
    std::printf("converted to 16-bit stereo at 44100 Hz in %.0f ms (%.0f times real time), %.1f MB out\n",
        convertMs, seconds * 1000.0 / convertMs, bytes / 1e6);
    std::printf("peak memory: %ld KB before playing, %ld KB after\n", rssBefore, peakRssKb());
    return 0;
}
