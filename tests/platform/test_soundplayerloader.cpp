#include "Soundplayerloader_linux.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Whether a shared object whose name contains name is mapped into this process.
bool mapped(const QByteArray &name)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

const QString Chime = QStringLiteral(ZARVO_TEST_CHIME);

} // namespace

// The player the program makes: the sound plugin loaded on the first sound.
class TestSoundPlayerLoader : public QObject {
    Q_OBJECT

private slots:
    // Nothing is loaded until the first sound; the first sound loads the plugin.
    void loadsThePluginOnTheFirstSound()
    {
        if (mapped("/" ZARVO_TEST_SOUND_PLUGIN_NAME))
            QSKIP("the plugin was loaded by an earlier case in this process");
        SoundPlayerLoader player({QStringLiteral(ZARVO_TEST_SOUND_PLUGIN)});
        QTest::qWait(100);
        QVERIFY(!mapped("/" ZARVO_TEST_SOUND_PLUGIN_NAME));
        QCOMPARE(player.Play(Chime), true);
        QTRY_VERIFY(mapped("/" ZARVO_TEST_SOUND_PLUGIN_NAME));
        player.Stop();
    }

    // Without the plugin nothing plays, the answers about the files stay right, and it says why.
    void withoutThePluginAnswersAndPlaysNothing()
    {
        QTemporaryDir dir;
        SoundPlayerLoader player({dir.filePath(QStringLiteral("zarvo-sound.so"))});
        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression(QStringLiteral("sound plugin could not be loaded")));
        QCOMPARE(player.Play(Chime), true);
        QCOMPARE(player.Play(dir.filePath(QStringLiteral("missing.wav"))), false);
        QCOMPARE(player.Play(QStringLiteral(":/sound/default-chime.wav")), false); // a user's name
        QTest::qWait(200); // the load is given up
        QCOMPARE(player.Play(Chime), true);
        player.Stop();
    }

    // A file that is no library where the plugin is looked for first is passed over.
    void aBrokenPluginIsPassedOver()
    {
        QTemporaryDir dir;
        const QString broken = dir.filePath(QStringLiteral("zarvo-sound.so"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a library");
        file.close();
        SoundPlayerLoader player({broken, QStringLiteral(ZARVO_TEST_SOUND_PLUGIN)});
        QCOMPARE(player.Play(Chime), true);
        QTRY_VERIFY(mapped("/" ZARVO_TEST_SOUND_PLUGIN_NAME));
        player.Stop();
    }
};

ZARVO_TEST_GUILESS_MAIN(TestSoundPlayerLoader)
#include "test_soundplayerloader.moc"
