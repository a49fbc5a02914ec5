#include "support/TestMain.h"
#include "Pcmstream.h"
#include "support/FileHelpers.h"
#include "WavBuilder.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Output samples are compared as bytes in the machine's order; the builders write little endian.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the expected bytes below are little endian");

namespace {

QAudioFormat format(int rate, int channels, QAudioFormat::SampleFormat sampleFormat)
{
    QAudioFormat f;
    f.setSampleRate(rate);
    f.setChannelCount(channels);
    f.setSampleFormat(sampleFormat);
    return f;
}

std::unique_ptr<PcmStream> streamOf(const QByteArray &wavBytes, const QAudioFormat &output)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(wavBytes);
    buffer->open(QIODevice::ReadOnly);
    const std::optional<WavLayout> layout = ParseWav(*buffer);
    if (!layout)
        return nullptr;
    return std::make_unique<PcmStream>(std::move(buffer), *layout, output);
}

QByteArray readInPieces(QIODevice &device, qint64 piece)
{
    QByteArray all;
    for (int guard = 0; guard < 1'000'000; ++guard) {
        const QByteArray got = device.read(piece);
        if (got.isEmpty())
            break;
        all += got;
    }
    return all;
}

// A 16-bit ramp long enough to cross several conversion blocks.
QByteArray ramp(int frames, int channels)
{
    QByteArray samples;
    for (int i = 0; i < frames * channels; ++i)
        wav::put16(samples, quint16(qint16((i * 37) % 20000 - 10000)));
    return samples;
}

} // namespace

class PcmStreamTest : public QObject {
    Q_OBJECT

private slots:
    void convert_toOutputFormat_data()
    {
        using namespace wav;
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QAudioFormat>("output");
        QTest::addColumn<QByteArray>("expected");

        const auto mono16 = [](std::initializer_list<int> v) { return file(fmt(Pcm, 1, 8000, 16), s16(v)); };
        const auto stereo16
            = [](std::initializer_list<int> v) { return file(fmt(Pcm, 2, 8000, 16), s16(v)); };

        QTest::newRow("16-bit to 16-bit unchanged")
            << mono16({-32768, 32767, 0, 1234, -1234, 1}) << format(8000, 1, QAudioFormat::Int16)
            << s16({-32768, 32767, 0, 1234, -1234, 1});
        QTest::newRow("24-bit rounded to 16-bit")
            << file(fmt(Pcm, 1, 8000, 24), s24({0x1234C0, -0x1234C0, 0x123440, 0x7FFFFF, -0x800000, 0x7F}))
            << format(8000, 1, QAudioFormat::Int16) << s16({0x1235, -0x1235, 0x1234, 32767, -32768, 0});
        QTest::newRow("8-bit widened to 16-bit")
            << file(fmt(Pcm, 1, 8000, 8), u8({0, 128, 255, 64})) << format(8000, 1, QAudioFormat::Int16)
            << s16({-32768, 0, 32512, -16384});
        QTest::newRow("32-bit integer to 16-bit")
            << file(fmt(Pcm, 1, 8000, 32), s32({0x40000000LL, -2147483648LL}))
            << format(8000, 1, QAudioFormat::Int16) << s16({16384, -32768});
        QTest::newRow("float to 16-bit, full scale kept in range")
            << file(fmt(Float, 1, 8000, 32), f32({0.5f, 1.0f, -1.0f, -0.25f}))
            << format(8000, 1, QAudioFormat::Int16) << s16({16384, 32767, -32768, -8192});
        QTest::newRow("64-bit float to 16-bit")
            << file(fmt(Float, 1, 8000, 64), f64({0.5, -0.5})) << format(8000, 1, QAudioFormat::Int16)
            << s16({16384, -16384});
        QTest::newRow("16-bit to float")
            << mono16({16384, -32768, 0}) << format(8000, 1, QAudioFormat::Float) << f32({0.5f, -1.0f, 0.0f});
        QTest::newRow("16-bit to unsigned 8-bit")
            << mono16({0, 16384, -32768, 32767}) << format(8000, 1, QAudioFormat::UInt8)
            << u8({128, 192, 0, 255});
        QTest::newRow("16-bit to 32-bit") << mono16({16384, -32768}) << format(8000, 1, QAudioFormat::Int32)
                                          << s32({0x40000000LL, -2147483648LL});

        QTest::newRow("mono sounds on both channels")
            << mono16({100, -200}) << format(8000, 2, QAudioFormat::Int16) << s16({100, 100, -200, -200});
        QTest::newRow("stereo to mono averages")
            << stereo16({100, 300, -200, 0}) << format(8000, 1, QAudioFormat::Int16) << s16({200, -100});
        QTest::newRow("stereo to four channels, the extra ones silent")
            << stereo16({100, 200}) << format(8000, 4, QAudioFormat::Int16) << s16({100, 200, 0, 0});
        QTest::newRow("six channels folded onto stereo")
            << file(fmt(Pcm, 6, 8000, 16), s16({300, 600, 0, 0, 0, 0}))
            << format(8000, 2, QAudioFormat::Int16) << s16({100, 200});

        QTest::newRow("double rate interpolates between frames")
            << mono16({0, 1000, 2000}) << format(16000, 1, QAudioFormat::Int16)
            << s16({0, 500, 1000, 1500, 2000, 2000});
        QTest::newRow("half rate takes every other frame")
            << mono16({0, 100, 200, 300, 400, 500}) << format(4000, 1, QAudioFormat::Int16)
            << s16({0, 200, 400});
        QTest::newRow("rate and channels together")
            << mono16({0, 1000}) << format(16000, 2, QAudioFormat::Int16)
            << s16({0, 0, 500, 500, 1000, 1000, 1000, 1000});
        QTest::newRow("output without a format gives nothing")
            << mono16({1, 2, 3}) << QAudioFormat() << QByteArray();
        QTest::newRow("empty file gives nothing")
            << mono16({}) << format(8000, 2, QAudioFormat::Int16) << QByteArray();
    }
    void convert_toOutputFormat()
    {
        QFETCH(QByteArray, file);
        QFETCH(QAudioFormat, output);
        QFETCH(QByteArray, expected);
        auto stream = streamOf(file, output);
        QVERIFY(stream);
        QCOMPARE(stream->bytesAvailable(), qint64(expected.size()));
        QCOMPARE(stream->readAll().toHex(' '), expected.toHex(' '));
        QVERIFY(stream->atEnd());
        QCOMPARE(stream->bytesAvailable(), qint64(0));
    }

    // The sink asks for whatever its buffer has room for; block boundaries inside the converter
    // must not show in the output.
    void read_anyPieceSize_givesTheSameStream_data()
    {
        QTest::addColumn<int>("fromRate");
        QTest::addColumn<int>("toRate");
        QTest::addColumn<qint64>("piece");
        QTest::newRow("up, one frame") << 22050 << 48000 << qint64(4);
        QTest::newRow("up, odd size") << 22050 << 48000 << qint64(27);
        QTest::newRow("up, just over a block") << 22050 << 48000 << qint64(4096 * 4 + 6);
        QTest::newRow("up, larger than the stream") << 22050 << 48000 << qint64(1 << 22);
        QTest::newRow("down eightfold, odd size") << 96000 << 12000 << qint64(27);
        QTest::newRow("down eightfold, large") << 96000 << 12000 << qint64(1 << 22);
        QTest::newRow("down slightly, one frame") << 48000 << 44100 << qint64(4);
    }
    void read_anyPieceSize_givesTheSameStream()
    {
        QFETCH(int, fromRate);
        QFETCH(int, toRate);
        QFETCH(qint64, piece);
        const int frames = 30011;
        const QByteArray file = wav::file(wav::fmt(wav::Pcm, 1, quint32(fromRate), 16), ramp(frames, 1));
        const QAudioFormat output = format(toRate, 2, QAudioFormat::Int16);
        const qint64 outputFrames = qint64(frames) * toRate / fromRate;

        auto reference = streamOf(file, output);
        const QByteArray whole = reference->readAll();
        QCOMPARE(whole.size(), qsizetype(outputFrames * 4));

        auto stream = streamOf(file, output);
        QCOMPARE(stream->outputFrameCount(), outputFrames);
        const QByteArray pieced = readInPieces(*stream, piece);
        QCOMPARE(pieced.size(), whole.size());
        QVERIFY(pieced == whole);
    }

    void pad_afterTheData_givesSilenceAndNeverEnds_data()
    {
        QTest::addColumn<QAudioFormat>("output");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("16-bit silence is zero")
            << format(8000, 1, QAudioFormat::Int16) << wav::s16({256, -256, 0, 0, 0, 0});
        QTest::newRow("unsigned 8-bit silence is the middle")
            << format(8000, 1, QAudioFormat::UInt8) << wav::u8({129, 127, 128, 128, 128, 128});
    }
    void pad_afterTheData_givesSilenceAndNeverEnds()
    {
        QFETCH(QAudioFormat, output);
        QFETCH(QByteArray, expected);
        auto stream = streamOf(wav::file(wav::fmt(wav::Pcm, 1, 8000, 16), wav::s16({256, -256})), output);
        stream->setPadWithSilence(true);
        QCOMPARE(stream->dataDone(), false);
        QCOMPARE(stream->read(expected.size()).toHex(' '), expected.toHex(' '));
        QCOMPARE(stream->dataDone(), true);
        QCOMPARE(stream->atEnd(), false);
        QCOMPARE(stream->read(64), QByteArray(64, expected.back()));
    }

    void read_fileShrinksWhilePlaying_endsWhereTheFileEnds()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shrinking.wav"));
        const int frames = 100000;
        QVERIFY(writeBytes(path, wav::file(wav::fmt(wav::Pcm, 1, 8000, 16), ramp(frames, 1))));
        auto file = std::make_unique<QFile>(path);
        QVERIFY(file->open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        const std::optional<WavLayout> layout = ParseWav(*file);
        QVERIFY(layout);
        PcmStream stream(std::move(file), *layout, format(8000, 1, QAudioFormat::Int16));

        QCOMPARE(stream.read(200).size(), qsizetype(200));
        QVERIFY(QFile::resize(path, layout->dataOffset + 50000 * 2));
        const QByteArray rest = readInPieces(stream, 4096);
        QCOMPARE(200 + rest.size(), qsizetype(50000 * 2));
        QVERIFY(stream.atEnd());
    }
};

ZARVO_TEST_GUILESS_MAIN(PcmStreamTest)
#include "test_pcmstream.moc"
