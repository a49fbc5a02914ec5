#pragma once

#include <QString>

#include <optional>
#include <vector>

class QIODevice;

// Where and how the samples of a WAV file are stored. Only uncompressed files are described:
// integer PCM of 8 (unsigned), 16, 24 or 32 bits, and IEEE float of 32 or 64 bits, in plain or
// WAVE_FORMAT_EXTENSIBLE headers.
struct WavLayout {
    enum class Encoding { Integer, Float };

    Encoding encoding = Encoding::Integer;
    int bitsPerSample = 0; // size of one sample's container
    int channels = 0;
    int sampleRate = 0;
    qint64 dataOffset = 0; // file position of the first frame
    qint64 frameCount = 0; // whole frames in the data chunk

    int bytesPerFrame() const { return channels * (bitsPerSample / 8); }
};

// Reads the RIFF header and walks the chunks of a WAV file on a random-access device. Returns the
// layout of a file we can play, or nothing, with the reason in *why, for anything else: not a
// RIFF/WAVE file, a truncated or malformed header, a compressed format, a data chunk that claims
// more bytes than the file holds. Never reads or allocates more than a chunk header at a time.
std::optional<WavLayout> ParseWav(QIODevice &device, QString *why = nullptr);

// Reads up to count frames from frame first on, as floats in [-1, 1] with the channels
// interleaved, into out (resized to what was read). Returns the number of whole frames read:
// fewer at the end of the data, or when the file has shrunk since it was parsed.
qint64 ReadWavFrames(
    QIODevice &device, const WavLayout &layout, qint64 first, qint64 count, std::vector<float> &out);
