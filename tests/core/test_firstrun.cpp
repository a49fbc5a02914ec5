#include "support/TestMain.h"
#include "Errors.h"
#include "Firstrun.h"
#include "Messages.h"
#include "Settingsstore.h"
#include "support/FirstRunFakes.h"
#include "support/MemorySettingsBackend.h"

#include <QtTest>

#include <functional>

namespace {

const QString SettingsKey = QStringLiteral("SOFTWARE\\Lumenworks\\Zarvo1.0\\Settings");
const QString WindowKey = QStringLiteral("SOFTWARE\\Lumenworks\\Zarvo1.0\\Window");
const QString RunKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString Program = QStringLiteral("/opt/zarvo/zarvo");

// A memory store that refuses chosen keys and values, as a registry without rights would.
class RefusingBackend final : public SettingsBackend
{
public:
    MemorySettingsBackend inner;
    QString refusedKey; // CreateKey of this key fails
    QString refusedValue; // writes and deletes of this value fail

    bool KeyExists(const QString &key) override { return inner.KeyExists(key); }
    bool CreateKey(const QString &key) override { return key != refusedKey && inner.CreateKey(key); }
    ValueType TypeOf(const QString &key, const QString &name) override { return inner.TypeOf(key, name); }
    QString StringValue(const QString &key, const QString &name) override
    {
        return inner.StringValue(key, name);
    }
    qint32 IntegerValue(const QString &key, const QString &name) override
    {
        return inner.IntegerValue(key, name);
    }
    bool SetString(const QString &key, const QString &name, const QString &value) override
    {
        return name != refusedValue && inner.SetString(key, name, value);
    }
    bool SetInteger(const QString &key, const QString &name, qint32 value) override
    {
        return name != refusedValue && inner.SetInteger(key, name, value);
    }
    bool DeleteValue(const QString &key, const QString &name) override
    {
        return name != refusedValue && inner.DeleteValue(key, name);
    }
};

QString errorOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const ZarvoError &error) {
        return error.text();
    }
    return QString();
}

} // namespace

class FirstRunTest : public QObject
{
    Q_OBJECT

private slots:
    void firstRun_writesDefaultsGeometryAndAutorunInOrder()
    {
        MemorySettingsBackend store;
        FakeFirstRunUi ui;
        FirstRunSetup(store, ui.window, ui.messages, ui.help, Program);

        const QStringList expected {
            SettingsKey + "|chk_mes=0",
            SettingsKey + "|chk_sound=0",
            SettingsKey + "|pl_h=00",
            SettingsKey + "|pl_m=30",
            SettingsKey + "|pl_s=00",
            SettingsKey + "|sound_fn=",
            SettingsKey + "|prog_fn=",
            SettingsKey + "|simv_count=15",
            SettingsKey + "|auto_run=1",
            SettingsKey + "|auto_hide=1",
            WindowKey + "|top=246",
            WindowKey + "|left=365",
            WindowKey + "|width=551",
            WindowKey + "|height=308",
            RunKey + "|Zarvo=" + Program,
        };
        QCOMPARE(store.writes, expected);
        QVERIFY(store.KeyExists(SettingsKey));
        QVERIFY(store.KeyExists(WindowKey));
        // Booleans are integers, strings are strings, so later typed reads succeed.
        QCOMPARE(store.TypeOf(SettingsKey, QStringLiteral("auto_hide")), SettingsBackend::ValueType::Integer);
        QCOMPARE(store.TypeOf(SettingsKey, QStringLiteral("pl_h")), SettingsBackend::ValueType::String);
        QCOMPARE(store.TypeOf(SettingsKey, QStringLiteral("sound_fn")), SettingsBackend::ValueType::String);

        const QStringList ui_expected {
            QStringLiteral("left=365"),
            QStringLiteral("top=246"),
            QStringLiteral("message:") + Msg::FirstRunGreeting,
            QStringLiteral("help:SHZ_contents0013"),
        };
        QCOMPARE(ui.log, ui_expected);
    }

    void firstRun_centresEachHalfTruncated_data()
    {
        QTest::addColumn<int>("screenWidth");
        QTest::addColumn<int>("screenHeight");
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("windowHeight");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::newRow("even screen") << 1280 << 800 << 551 << 308 << 365 << 246;
        // (1366 - 551) / 2 would give 407: the halves are taken first.
        QTest::newRow("even width, odd window") << 1366 << 768 << 551 << 308 << 408 << 230;
        QTest::newRow("odd screen") << 1365 << 767 << 551 << 308 << 407 << 229;
        QTest::newRow("odd window height") << 1024 << 768 << 553 << 309 << 236 << 230;
        QTest::newRow("screen smaller than window") << 500 << 300 << 551 << 308 << -25 << -4;
    }
    void firstRun_centresEachHalfTruncated()
    {
        QFETCH(int, screenWidth);
        QFETCH(int, screenHeight);
        QFETCH(int, windowWidth);
        QFETCH(int, windowHeight);
        QFETCH(int, left);
        QFETCH(int, top);
        MemorySettingsBackend store;
        FakeFirstRunUi ui;
        ui.window.screenWidth = screenWidth;
        ui.window.screenHeight = screenHeight;
        ui.window.width = windowWidth;
        ui.window.height = windowHeight;
        FirstRunSetup(store, ui.window, ui.messages, ui.help, Program);

        QCOMPARE(ui.window.left, left);
        QCOMPARE(ui.window.top, top);
        QCOMPARE(ReadSettingInteger(store, QStringLiteral("Window"), QStringLiteral("left")), left);
        QCOMPARE(ReadSettingInteger(store, QStringLiteral("Window"), QStringLiteral("top")), top);
        QCOMPARE(ReadSettingInteger(store, QStringLiteral("Window"), QStringLiteral("width")), windowWidth);
        QCOMPARE(ReadSettingInteger(store, QStringLiteral("Window"), QStringLiteral("height")), windowHeight);
    }

    void laterRun_doesNothing_data()
    {
        QTest::addColumn<QString>("existingKey");
        QTest::newRow("root key alone") << QStringLiteral("SOFTWARE\\Lumenworks\\Zarvo1.0");
        QTest::newRow("root with a section") << SettingsKey;
    }
    void laterRun_doesNothing()
    {
        QFETCH(QString, existingKey);
        MemorySettingsBackend store;
        store.CreateKey(existingKey);
        const auto keysBefore = store.keys;
        FakeFirstRunUi ui;
        FirstRunSetup(store, ui.window, ui.messages, ui.help, Program);

        QCOMPARE(store.writes, QStringList());
        QCOMPARE(store.keys.keys(), keysBefore.keys());
        QCOMPARE(ui.log, QStringList());
    }

    void refusedKey_isReportedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QString>("refusedKey");
        QTest::newRow("Settings") << SettingsKey;
        QTest::newRow("Window") << WindowKey;
    }
    void refusedKey_isReportedBeforeAnythingIsWritten()
    {
        QFETCH(QString, refusedKey);
        RefusingBackend store;
        store.refusedKey = refusedKey;
        FakeFirstRunUi ui;
        const QString error
            = errorOf([&] { FirstRunSetup(store, ui.window, ui.messages, ui.help, Program); });

        QCOMPARE(error, QStringLiteral("Failed to create key ") + refusedKey);
        QCOMPARE(store.inner.writes, QStringList());
        QCOMPARE(ui.log, QStringList());
    }

    void refusedAutorun_stopsBeforeTheGreeting()
    {
        RefusingBackend store;
        store.refusedValue = QStringLiteral("Zarvo");
        FakeFirstRunUi ui;
        const QString error
            = errorOf([&] { FirstRunSetup(store, ui.window, ui.messages, ui.help, Program); });

        QCOMPARE(error, QStringLiteral("Failed to set data for 'Zarvo'"));
        QCOMPARE(store.inner.writes.size(), 14);
        QCOMPARE(ui.log, (QStringList {QStringLiteral("left=365"), QStringLiteral("top=246")}));
    }

    void restoreWindowGeometry_appliesEachValueAsRead_data()
    {
        QTest::addColumn<QStringList>("stored"); // names present, each with a distinct value
        QTest::addColumn<QStringList>("applied");
        QTest::addColumn<QString>("error");
        const QStringList all {"top", "left", "width", "height"};
        QTest::newRow("all present") << all << QStringList {"top=1", "left=2", "width=3", "height=4"}
                                     << QString();
        QTest::newRow("width missing")
            << QStringList {"top", "left", "height"} << QStringList {"top=1", "left=2"}
            << QStringLiteral("Failed to get data for 'width'");
        QTest::newRow("none stored") << QStringList() << QStringList()
                                     << QStringLiteral("Failed to get data for 'top'");
    }
    void restoreWindowGeometry_appliesEachValueAsRead()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, applied);
        QFETCH(QString, error);
        const QStringList order {"top", "left", "width", "height"};
        MemorySettingsBackend store;
        for (const QString &name : stored)
            store.set(QStringLiteral("Window"), name, int(order.indexOf(name) + 1));
        FakeFirstRunUi ui;
        QCOMPARE(errorOf([&] { RestoreWindowGeometry(store, ui.window); }), error);
        QCOMPARE(ui.log, applied);
    }

};

ZARVO_TEST_GUILESS_MAIN(FirstRunTest)
#include "test_firstrun.moc"
