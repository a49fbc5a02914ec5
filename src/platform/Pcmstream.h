#pragma once

#include "Wavdecoder.h"

#include <QAudioFormat>
#include <QIODevice>

#include <memory>
#include <vector>

// The samples of a WAV file, converted while they are read to the format an audio output takes:
// its sample format, channel count and sample rate (linear interpolation). A read-only,
// sequential device that a QAudioSink pulls from; it ends with the file's last frame. Reads the
// file in small blocks, so a long file costs no more memory than a short one.
class PcmStream : public QIODevice {
    Q_OBJECT

public:
    PcmStream(std::unique_ptr<QIODevice> file, const WavLayout &layout, const QAudioFormat &output,
        QObject *parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool atEnd() const override;

    // Number of frames the file gives in the output format.
    qint64 outputFrameCount() const { return m_outputFrames; }

    // After the file's last frame, go on with silence for as long as anyone reads, instead of
    // ending. An output that runs dry reports an underrun; one fed silence just plays on until
    // it is stopped.
    void setPadWithSilence(bool pad) { m_pad = pad; }
    // True once every frame of the file has been read.
    bool dataDone() const { return m_position >= m_outputFrames; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 convertBlock(char *data, qint64 frames);
    void mixFrame(const float *source, float *mixed) const;
    void writeSample(char *&out, float value) const;

    std::unique_ptr<QIODevice> m_file;
    WavLayout m_layout;
    QAudioFormat m_output;
    qint64 m_outputFrames = 0;
    qint64 m_position = 0; // next output frame
    bool m_pad = false;
    std::vector<float> m_source;
    std::vector<float> m_frame;
    std::vector<float> m_mixed;
};
