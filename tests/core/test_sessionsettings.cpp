#include "support/TestMain.h"
#include "Errors.h"
#include "Firstrun.h"
#include "Messages.h"
#include "Sessionsettings.h"
#include "Settingsstore.h"
#include "support/FirstRunFakes.h"
#include "support/MemorySettingsBackend.h"

#include <QtTest>

namespace {

const QString SettingsKey = SettingsKeys::Root + QStringLiteral("\\Settings");

// A store whose settings file cannot be read: every access to the program's keys throws, as the
// file store does for a truncated or binary file. The autorun list is a folder of its own and
// still works; it records what reaches it.
class DamagedStore final : public SettingsBackend {
public:
    MemorySettingsBackend autorun;
    int settingsAccesses = 0;

    bool KeyExists(const QString &key) override { return check(key) || autorun.KeyExists(key); }
    bool CreateKey(const QString &key) override { return check(key) || autorun.CreateKey(key); }
    ValueType TypeOf(const QString &key, const QString &name) override
    {
        check(key);
        return autorun.TypeOf(key, name);
    }
    QString StringValue(const QString &key, const QString &name) override
    {
        check(key);
        return autorun.StringValue(key, name);
    }
    qint32 IntegerValue(const QString &key, const QString &name) override
    {
        check(key);
        return autorun.IntegerValue(key, name);
    }
    bool SetString(const QString &key, const QString &name, const QString &value) override
    {
        return check(key) || autorun.SetString(key, name, value);
    }
    bool SetInteger(const QString &key, const QString &name, qint32 value) override
    {
        return check(key) || autorun.SetInteger(key, name, value);
    }
    bool DeleteValue(const QString &key, const QString &name) override
    {
        return check(key) || autorun.DeleteValue(key, name);
    }

private:
    bool check(const QString &key)
    {
        if (key.startsWith(SettingsKeys::Root)) {
            ++settingsAccesses;
            throw ZarvoError(
                QStringLiteral("Файл настроек поврежден: /home/u/.config/Lumenworks/Zarvo1.0.json"));
        }
        return false;
    }
};

} // namespace

class SessionSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void damagedFile_reportedOnce_sessionRunsOnDefaults_fileNeverWritten()
    {
        DamagedStore store;
        QStringList reports;
        SessionSettingsBackend session(store, [&](const QString &text) { reports << text; });
        FakeFirstRunUi ui;

        // The start-up's reads: first-run check, auto_hide, the caption length, the geometry.
        FirstRunSetup(session, ui.window, ui.messages, ui.help, QStringLiteral("/opt/zarvo"));
        QCOMPARE(ReadSettingBool(session, SettingsKeys::Settings, QStringLiteral("auto_hide")), false);
        QCOMPARE(ReadSettingInteger(session, SettingsKeys::Settings, QStringLiteral("simv_count")), 15);
        QCOMPARE(ReadSettingInteger(session, SettingsKeys::Window, QStringLiteral("width")), 551);
        QCOMPARE(
            ReadSettingString(session, SettingsKeys::Settings, QStringLiteral("pl_m")), QStringLiteral("30"));
        // The settings dialog's OK and the exit's geometry are kept for the session.
        WriteSettingInteger(session, SettingsKeys::Settings, QStringLiteral("simv_count"), 40);
        SaveWindowGeometry(session, ui.window);
        QCOMPARE(ReadSettingInteger(session, SettingsKeys::Settings, QStringLiteral("simv_count")), 40);
        SetAutoRun(session, true, QStringLiteral("/opt/zarvo"));

        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.at(0).startsWith(QStringLiteral("Файл настроек поврежден: /home/u/.config")));
        QVERIFY(reports.at(0).contains(QStringLiteral("по умолчанию")));
        QVERIFY(session.OnDefaults());
        QCOMPARE(store.settingsAccesses, 1); // the file is tried once, then left alone
        QCOMPARE(ui.log, QStringList()); // no greeting, no centring: a damaged file is no first run
        QCOMPARE(
            store.autorun.writes, QStringList {SettingsKeys::AutoRun + QStringLiteral("|Zarvo=/opt/zarvo")});
    }

    void unusableValue_reportedOnceWithTheStoresText_thenReadsAsDefault_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("stored"); // invalid: missing
        QTest::addColumn<QString>("report");
        QTest::addColumn<QVariant>("read");

        QTest::newRow("missing caption length")
            << QStringLiteral("Settings") << QStringLiteral("simv_count") << QVariant()
            << QStringLiteral("Failed to get data for 'simv_count'") << QVariant(15);
        QTest::newRow("caption length as text")
            << QStringLiteral("Settings") << QStringLiteral("simv_count") << QVariant(QStringLiteral("15"))
            << QStringLiteral("Invalid data type for 'simv_count'") << QVariant(15);
        QTest::newRow("missing auto_hide shows the window")
            << QStringLiteral("Settings") << QStringLiteral("auto_hide") << QVariant()
            << QStringLiteral("Failed to get data for 'auto_hide'") << QVariant(0);
        QTest::newRow("missing window top")
            << QStringLiteral("Window") << QStringLiteral("top") << QVariant()
            << QStringLiteral("Failed to get data for 'top'") << QVariant(247);
        QTest::newRow("sound file as a number")
            << QStringLiteral("Settings") << QStringLiteral("sound_fn") << QVariant(3)
            << QStringLiteral("Invalid data type for 'sound_fn'") << QVariant(QString());
        QTest::newRow("increment that is no number")
            << QStringLiteral("Settings") << QStringLiteral("pl_h") << QVariant(QStringLiteral("abc"))
            << QStringLiteral("'abc' is not a valid integer value") << QVariant(QStringLiteral("00"));
        QTest::newRow("missing increment")
            << QStringLiteral("Settings") << QStringLiteral("pl_s") << QVariant()
            << QStringLiteral("'' is not a valid integer value") << QVariant(QStringLiteral("00"));
    }
    void unusableValue_reportedOnceWithTheStoresText_thenReadsAsDefault()
    {
        QFETCH(QString, section);
        QFETCH(QString, name);
        QFETCH(QVariant, stored);
        QFETCH(QString, report);
        QFETCH(QVariant, read);

        MemorySettingsBackend store;
        store.set(SettingsKeys::Settings, QStringLiteral("chk_mes"), 1);
        if (stored.isValid())
            store.set(section, name, stored);
        QStringList reports;
        SessionSettingsBackend session(store, [&](const QString &text) { reports << text; });

        for (int i = 0; i < 3; ++i) {
            if (read.typeId() == QMetaType::QString)
                QCOMPARE(ReadSettingString(session, section, name), read.toString());
            else
                QCOMPARE(ReadSettingInteger(session, section, name), read.toInt());
        }
        QCOMPARE(reports, QStringList {report});
        QVERIFY(!session.OnDefaults());
        // Good values still come from the store, and writes reach it.
        QCOMPARE(ReadSettingBool(session, SettingsKeys::Settings, QStringLiteral("chk_mes")), true);
        WriteSettingInteger(session, section, QStringLiteral("probe"), 7);
        QCOMPARE(store.writes.constLast(),
            SettingsKeys::Root + QLatin1Char('\\') + section + QStringLiteral("|probe=7"));
    }

    void goodValues_passThrough_withoutReports()
    {
        MemorySettingsBackend store;
        store.set(SettingsKeys::Settings, QStringLiteral("auto_hide"), 1);
        store.set(SettingsKeys::Settings, QStringLiteral("pl_h"), QStringLiteral("7"));
        QStringList reports;
        SessionSettingsBackend session(store, [&](const QString &text) { reports << text; });

        QCOMPARE(ReadSettingBool(session, SettingsKeys::Settings, QStringLiteral("auto_hide")), true);
        QCOMPARE(
            ReadSettingString(session, SettingsKeys::Settings, QStringLiteral("pl_h")), QStringLiteral("7"));
        QCOMPARE(ReadSettingString(session, SettingsKeys::Settings, QStringLiteral("sound_fn")), QString());
        QCOMPARE(reports, QStringList());
    }

    void firstRun_stillWritesTheDefaultsToTheStore()
    {
        MemorySettingsBackend store;
        QStringList reports;
        SessionSettingsBackend session(store, [&](const QString &text) { reports << text; });
        FakeFirstRunUi ui;
        FirstRunSetup(session, ui.window, ui.messages, ui.help, QStringLiteral("/opt/zarvo"));
        QCOMPARE(store.keys.value(SettingsKey).value(QStringLiteral("auto_hide")).toInt(), 1);
        QVERIFY(ui.log.contains(QStringLiteral("message:") + Msg::FirstRunGreeting));
        QCOMPARE(reports, QStringList());
    }
};

ZARVO_TEST_GUILESS_MAIN(SessionSettingsTest)
#include "test_sessionsettings.moc"
