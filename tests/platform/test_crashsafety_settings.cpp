#include "support/TestMain.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Usersettings_linux.h"
#include "support/FileHelpers.h"
#include "support/KillLoop.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

// A settings write killed at any moment leaves the settings file whole: the value before or after.
class SettingsCrashSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void killedWrite_leavesOldOrNewSettings()
    {
        QTemporaryDir configHome;
        JsonSettingsBackend store(configHome.path());
        // Values of very different lengths, so a torn file could not pass for a whole one.
        const QStringList versions{QStringLiteral("/a.wav"), QString(20000, QLatin1Char('b')),
                                   QString(200, QChar(0x0436))};
        WriteSettingString(store, SettingsKeys::Settings, QStringLiteral("sound_fn"), versions.first());
        WriteSettingInteger(store, SettingsKeys::Settings, QStringLiteral("simv_count"), 15);
        const QString file = store.SettingsFilePath();

        auto saveForever = [&] {
            for (int round = 0;; ++round) {
                WriteSettingString(store, SettingsKeys::Settings, QStringLiteral("sound_fn"),
                                   versions.at(round % versions.size()));
            }
        };
        auto isWhole = [&] {
            const QJsonObject settings
                = QJsonDocument::fromJson(readBytes(file)).object().value(QStringLiteral("Settings")).toObject();
            return versions.contains(settings.value(QStringLiteral("sound_fn")).toString())
                && settings.value(QStringLiteral("simv_count")).toInt() == 15;
        };
        QCOMPARE(countTornFilesAfterKills(1000, saveForever, isWhole), 0);
    }
};

ZARVO_TEST_GUILESS_MAIN(SettingsCrashSafetyTest)
#include "test_crashsafety_settings.moc"
