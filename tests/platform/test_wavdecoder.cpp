#include "support/TestMain.h"
#include "support/FileHelpers.h"
#include "WavBuilder.h"
#include "Wavdecoder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

class WavDecoderTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_count = 0;

    // Each case gets a file of its own on disk, opened the way the player opens it (unbuffered,
    // so a file that changes under it is seen as it is).
    std::unique_ptr<QFile> openBytes(const QByteArray &bytes)
    {
        auto file = std::make_unique<QFile>(m_dir.filePath(QStringLiteral("case%1.wav").arg(++m_count)));
        if (!writeBytes(file->fileName(), bytes) || !file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return nullptr;
        return file;
    }

    static QString describe(const std::vector<float> &samples)
    {
        QStringList parts;
        for (float s : samples)
            parts << QString::number(double(s), 'g', 9);
        return parts.join(u", ");
    }

private slots:
    void decode_everyFormat_givesSampleValues_data()
    {
        using namespace wav;
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QList<double>>("expected");

        QTest::newRow("8-bit mono, unsigned around 128") << file(fmt(Pcm, 1, 8000, 8),
            u8({0, 64, 128, 192, 255})) << 1 << 8000 << QList<double> {-1.0, -0.5, 0.0, 0.5, 127.0 / 128};
        QTest::newRow("16-bit stereo, both extremes")
            << file(fmt(Pcm, 2, 44100, 16), s16({-32768, 32767, 0, 1000, -1, 16384})) << 2 << 44100
            << QList<double> {-1.0, 32767.0 / 32768, 0.0, 1000.0 / 32768, -1.0 / 32768, 0.5};
        QTest::newRow("24-bit mono, sign from the top byte")
            << file(fmt(Pcm, 1, 48000, 24), s24({-8388608, 8388607, 0x123456, -1, 4194304})) << 1 << 48000
            << QList<double> {-1.0, 8388607.0 / 8388608, 0x123456 / 8388608.0, -1.0 / 8388608, 0.5};
        QTest::newRow("24-bit stereo")
            << file(fmt(Pcm, 2, 96000, 24), s24({1, -2, 3, -4})) << 2 << 96000
            << QList<double> {1 / 8388608.0, -2 / 8388608.0, 3 / 8388608.0, -4 / 8388608.0};
        QTest::newRow("32-bit integer stereo")
            << file(fmt(Pcm, 2, 22050, 32), s32({-2147483648LL, 2147483647LL, 1073741824LL, -256})) << 2
            << 22050 << QList<double> {-1.0, 2147483647.0 / 2147483648.0, 0.5, -256 / 2147483648.0};
        QTest::newRow("32-bit float mono, out of range clamped, NaN silent")
            << file(fmt(Float, 1, 32000, 32),
                   f32({0.25f, -0.75f, 1.5f, -3.0f, std::numeric_limits<float>::quiet_NaN()}))
            << 1 << 32000 << QList<double> {0.25, -0.75, 1.0, -1.0, 0.0};
        QTest::newRow("64-bit float stereo")
            << file(fmt(Float, 2, 44100, 64), f64({0.125, -0.5, 0.999, -1.0})) << 2 << 44100
            << QList<double> {0.125, -0.5, 0.999, -1.0};
        QTest::newRow("extensible 24-bit stereo")
            << file(fmtExtensible(Pcm, 2, 48000, 24, 24), s24({4194304, -4194304})) << 2 << 48000
            << QList<double> {0.5, -0.5};
        QTest::newRow("extensible 24 valid bits in 32-bit containers")
            << file(fmtExtensible(Pcm, 1, 48000, 32, 24), s32({0x40000000LL, -0x40000000LL})) << 1 << 48000
            << QList<double> {0.5, -0.5};
        QTest::newRow("extensible float") << file(fmtExtensible(Float, 1, 44100, 32, 32), f32({-0.5f, 0.5f}))
                                          << 1 << 44100 << QList<double> {-0.5, 0.5};
        QTest::newRow("extensible 16-bit") << file(fmtExtensible(Pcm, 2, 44100, 16, 16), s16({16384, -16384}))
                                           << 2 << 44100 << QList<double> {0.5, -0.5};

        QByteArray fmt18 = fmt(Float, 1, 44100, 32);
        put16(fmt18, 0);
        QTest::newRow("18-byte format chunk of float files")
            << riff(chunk("fmt ", fmt18) + chunk("data", f32({0.5f}))) << 1 << 44100 << QList<double> {0.5};
        QTest::newRow("LIST and fact chunks before data")
            << riff(chunk("fmt ", fmt(Pcm, 1, 8000, 16)) + chunk("LIST", "INFOISFT\x04\0\0\0sox\0")
                   + chunk("fact", s32({2})) + chunk("data", s16({100, -100})))
            << 1 << 8000 << QList<double> {100 / 32768.0, -100 / 32768.0};
        QTest::newRow("odd-sized chunk padded to even before data")
            << riff(chunk("fmt ", fmt(Pcm, 1, 8000, 16)) + chunk("junk", "abc") + chunk("data", s16({5})))
            << 1 << 8000 << QList<double> {5 / 32768.0};
        QTest::newRow("odd-sized 8-bit data chunk") << file(fmt(Pcm, 1, 11025, 8), u8({128, 160, 96})) << 1
                                                    << 11025 << QList<double> {0.0, 0.25, -0.25};
        QTest::newRow("format chunk after data chunk")
            << riff(chunk("data", s16({-16384})) + chunk("fmt ", fmt(Pcm, 1, 8000, 16))) << 1 << 8000
            << QList<double> {-0.5};
        QTest::newRow("trailing partial frame ignored") << file(fmt(Pcm, 2, 8000, 16), s16({1, 2, 3})) << 2
                                                        << 8000 << QList<double> {1 / 32768.0, 2 / 32768.0};
        QByteArray wrongRiffSize = file(fmt(Pcm, 1, 8000, 16), s16({8192}));
        wrongRiffSize.replace(4, 4, QByteArray(4, '\0'));
        QTest::newRow("RIFF size of zero, as streaming tools leave it")
            << wrongRiffSize << 1 << 8000 << QList<double> {0.25};
        QTest::newRow("empty data chunk") << file(fmt(Pcm, 2, 8000, 16), {}) << 2 << 8000 << QList<double> {};
    }
    void decode_everyFormat_givesSampleValues()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(QList<double>, expected);

        auto file = openBytes(bytes);
        QVERIFY(file);
        QString why;
        const std::optional<WavLayout> layout = ParseWav(*file, &why);
        QVERIFY2(layout, qPrintable(why));
        QCOMPARE(layout->channels, channels);
        QCOMPARE(layout->sampleRate, rate);
        QCOMPARE(layout->frameCount, qint64(expected.size() / channels));

        std::vector<float> samples;
        const qint64 frames = ReadWavFrames(*file, *layout, 0, 1000, samples);
        QCOMPARE(frames, layout->frameCount);
        QCOMPARE(qsizetype(samples.size()), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QVERIFY2(std::abs(double(samples[size_t(i)]) - expected[i]) < 1e-7,
                qPrintable(QStringLiteral("sample %1: got [%2], expected %3")
                               .arg(i)
                               .arg(describe(samples))
                               .arg(expected[i])));
        }
    }

    void read_window_returnsOnlyThoseFrames_data()
    {
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("middle") << qint64(1) << qint64(2) << QList<int> {300, 400, 500, 600};
        QTest::newRow("past the end is cut") << qint64(2) << qint64(10) << QList<int> {500, 600};
        QTest::newRow("starting at the end") << qint64(3) << qint64(1) << QList<int> {};
        QTest::newRow("negative start") << qint64(-1) << qint64(2) << QList<int> {};
    }
    void read_window_returnsOnlyThoseFrames()
    {
        QFETCH(qint64, first);
        QFETCH(qint64, count);
        QFETCH(QList<int>, expected);
        auto file
            = openBytes(wav::file(wav::fmt(wav::Pcm, 2, 8000, 16), wav::s16({100, 200, 300, 400, 500, 600})));
        const std::optional<WavLayout> layout = ParseWav(*file);
        QVERIFY(layout);
        std::vector<float> samples;
        QCOMPARE(ReadWavFrames(*file, *layout, first, count, samples), qint64(expected.size() / 2));
        QList<int> got;
        for (float s : samples)
            got << int(std::lround(s * 32768));
        QCOMPARE(got, expected);
    }

    void read_fileShrunkAfterParsing_givesOnlyWhatIsLeft()
    {
        const QByteArray bytes = wav::file(wav::fmt(wav::Pcm, 1, 8000, 16), wav::s16({1, 2, 3, 4, 5, 6}));
        auto file = openBytes(bytes);
        const std::optional<WavLayout> layout = ParseWav(*file);
        QVERIFY(layout);
        QCOMPARE(layout->frameCount, qint64(6));
        // Someone overwrites the file while it plays: two whole frames and half of a third remain.
        QVERIFY(QFile::resize(file->fileName(), layout->dataOffset + 5));
        std::vector<float> samples;
        QCOMPARE(ReadWavFrames(*file, *layout, 0, 6, samples), qint64(2));
        QCOMPARE(ReadWavFrames(*file, *layout, 4, 2, samples), qint64(0));
    }

    void parse_badInput_isRefusedWithAReason_data()
    {
        using namespace wav;
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good16 = fmt(Pcm, 1, 8000, 16);
        const QByteArray someData = s16({1, 2, 3, 4});

        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("RIFF only") << QByteArray("RIFF");
        QTest::newRow("RIFF header without chunks") << riff({});
        QTest::newRow("not WAVE") << QByteArray("RIFF\x04\0\0\0AVI ", 12);
        QTest::newRow("text file") << QByteArray("Здесь нет звука, только текст.\n");
        QTest::newRow("format chunk of 14 bytes")
            << riff(chunk("fmt ", good16.left(14)) + chunk("data", someData));
        QTest::newRow("format chunk claims more than the file")
            << riff(chunkClaiming("fmt ", 0xFFFFFFF0u, good16));
        QTest::newRow("format chunk cut short") << riff(chunkClaiming("fmt ", 16, good16.left(10)));
        QTest::newRow("data chunk longer than the file")
            << riff(chunk("fmt ", good16) + chunkClaiming("data", 1000, someData));
        QTest::newRow("data chunk claims 4 GiB")
            << riff(chunk("fmt ", good16) + chunkClaiming("data", 0xFFFFFFFFu, someData));
        QTest::newRow("ADPCM, format tag 2") << file(fmt(Adpcm, 1, 8000, 4), someData);
        QTest::newRow("mu-law, format tag 7") << file(fmt(7, 1, 8000, 8), someData);
        QTest::newRow("zero channels") << file(fmt(Pcm, 0, 8000, 16), someData);
        QTest::newRow("0 Hz") << file(fmt(Pcm, 1, 0, 16), someData);
        QTest::newRow("absurd sample rate") << file(fmt(Pcm, 1, 0xFFFFFFFFu, 16), someData);
        QTest::newRow("absurd channel count") << file(fmt(Pcm, 65535, 8000, 16), someData);
        QTest::newRow("12-bit integer") << file(fmt(Pcm, 1, 8000, 12), someData);
        QTest::newRow("zero bits") << file(fmt(Pcm, 1, 8000, 0), someData);
        QTest::newRow("16-bit float") << file(fmt(Float, 1, 8000, 16), someData);
        QTest::newRow("extensible header too short") << file(fmt(Extensible, 1, 8000, 16), someData);
        QByteArray unknownGuid = fmtExtensible(Pcm, 1, 8000, 16, 16);
        unknownGuid[30] = 0x11;
        QTest::newRow("extensible with unknown sub-format") << file(unknownGuid, someData);
        QTest::newRow("extensible ADPCM") << file(fmtExtensible(Adpcm, 1, 8000, 16, 16), someData);
        QTest::newRow("no data chunk") << riff(chunk("fmt ", good16) + chunk("LIST", "INFO"));
        QTest::newRow("no format chunk") << riff(chunk("data", someData));
        QTest::newRow("huge chunk skipped to past the end") << riff(
            chunk("fmt ", good16) + chunkClaiming("LIST", 0xFFFFFFFFu, "INFO") + chunk("data", someData));
    }
    void parse_badInput_isRefusedWithAReason()
    {
        QFETCH(QByteArray, bytes);
        auto file = openBytes(bytes);
        QVERIFY(file);
        QString why;
        const std::optional<WavLayout> layout = ParseWav(*file, &why);
        QVERIFY2(!layout,
            qPrintable(QStringLiteral("accepted: %1 channels, %2 Hz, %3 bits, %4 frames")
                           .arg(layout ? layout->channels : 0)
                           .arg(layout ? layout->sampleRate : 0)
                           .arg(layout ? layout->bitsPerSample : 0)
                           .arg(layout ? layout->frameCount : 0)));
        QVERIFY(!why.isEmpty());
    }
};

ZARVO_TEST_GUILESS_MAIN(WavDecoderTest)
#include "test_wavdecoder.moc"
