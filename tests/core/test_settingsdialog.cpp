#include "support/TestMain.h"
#include "Errors.h"
#include "SettingsBackend.h"
#include "Settingsdialog.h"
#include "support/MemorySettingsBackend.h"

#include <QtTest>

#include <limits>

namespace {

const QString kSection = SettingsKeys::Root + QStringLiteral("\\Settings");

void setFirstRunDefaults(MemorySettingsBackend &settings)
{
    const QString &S = SettingsKeys::Settings;
    settings.set(S, QStringLiteral("chk_mes"), 0);
    settings.set(S, QStringLiteral("chk_sound"), 0);
    settings.set(S, QStringLiteral("pl_h"), QStringLiteral("00"));
    settings.set(S, QStringLiteral("pl_m"), QStringLiteral("30"));
    settings.set(S, QStringLiteral("pl_s"), QStringLiteral("00"));
    settings.set(S, QStringLiteral("sound_fn"), QString());
    settings.set(S, QStringLiteral("prog_fn"), QString());
    settings.set(S, QStringLiteral("simv_count"), 15);
    settings.set(S, QStringLiteral("auto_run"), 1);
    settings.set(S, QStringLiteral("auto_hide"), 1);
}

QString write(const QString &name, const QString &value)
{
    return kSection + QLatin1Char('|') + name + QLatin1Char('=') + value;
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void okWithoutChanges_writesAllTenInOrderWithAutorunAfterAutoRun()
    {
        MemorySettingsBackend settings;
        setFirstRunDefaults(settings);
        const SettingsDialogValues values = LoadSettingsDialog(settings);
        QCOMPARE(values.simvCountIndex, 8);
        QCOMPARE(values.plusMinute, 30);
        SaveSettingsDialog(
            settings, values, [&](bool on) { settings.writes << QStringLiteral("autorun=%1").arg(on); });
        QCOMPARE(settings.writes,
            (QStringList {write(u"auto_run"_qs, u"1"_qs), u"autorun=1"_qs, write(u"auto_hide"_qs, u"1"_qs),
                write(u"chk_sound"_qs, u"0"_qs), write(u"sound_fn"_qs, QString()),
                write(u"prog_fn"_qs, QString()), write(u"pl_h"_qs, u"0"_qs), write(u"pl_m"_qs, u"30"_qs),
                write(u"pl_s"_qs, u"00"_qs), write(u"chk_mes"_qs, u"0"_qs), write(u"simv_count"_qs, u"15"_qs),
                write(u"missed_report"_qs, u"0"_qs)}));
    }

    // Files written before the missed-task report existed lack its value: it reads as off, and OK
    // writes it like the rest.
    void missedReport_missingReadsOffAndOkStoresIt()
    {
        MemorySettingsBackend settings;
        setFirstRunDefaults(settings);
        SettingsDialogValues values = LoadSettingsDialog(settings);
        QCOMPARE(values.missedReport, false);
        values.missedReport = true;
        SaveSettingsDialog(settings, values, {});
        QCOMPARE(settings.keys[kSection][u"missed_report"_qs].toInt(), 1);
        QCOMPARE(LoadSettingsDialog(settings).missedReport, true);
        values.missedReport = false;
        SaveSettingsDialog(settings, values, {});
        QCOMPARE(settings.keys[kSection][u"missed_report"_qs].toInt(), 0);
    }

    void changedValues_areStoredInTheirForms()
    {
        MemorySettingsBackend settings;
        setFirstRunDefaults(settings);
        SettingsDialogValues values = LoadSettingsDialog(settings);
        values.autoRun = false;
        values.simvCountIndex = 0;
        values.plusHour = 23;
        values.plusSecond = 5;
        values.soundFile = u"/snd/a.mp3"_qs; // any file is accepted here
        QList<bool> autorun;
        SaveSettingsDialog(settings, values, [&](bool on) { autorun << on; });
        QCOMPARE(autorun, QList<bool> {false});
        const SettingsDialogValues reread = LoadSettingsDialog(settings);
        QCOMPARE(reread.autoRun, false);
        QCOMPARE(reread.simvCountIndex, 0);
        QCOMPARE(settings.keys[kSection][u"simv_count"_qs].toInt(), 7);
        QCOMPARE(settings.keys[kSection][u"pl_h"_qs].toString(), u"23"_qs);
        QCOMPARE(settings.keys[kSection][u"pl_s"_qs].toString(), u"05"_qs);
        QCOMPARE(reread.soundFile, u"/snd/a.mp3"_qs);
    }

    void load_valuesOutsideTheListsSelectTheNearestEnd_data()
    {
        QTest::addColumn<QString>("plusHour");
        QTest::addColumn<int>("simvCount");
        QTest::addColumn<int>("hourIndex");
        QTest::addColumn<int>("countIndex");
        QTest::newRow("too large") << u"99"_qs << 500 << 23 << 143;
        QTest::newRow("too small") << u"-1"_qs << 3 << 0 << 0;
        QTest::newRow("ends of the lists") << u"23"_qs << 150 << 23 << 143;
        QTest::newRow("lowest int") << u"0"_qs << std::numeric_limits<int>::min() << 0 << 0;
        QTest::newRow("highest int") << u"0"_qs << std::numeric_limits<int>::max() << 0 << 143;
    }
    void load_valuesOutsideTheListsSelectTheNearestEnd()
    {
        QFETCH(QString, plusHour);
        QFETCH(int, simvCount);
        QFETCH(int, hourIndex);
        QFETCH(int, countIndex);
        MemorySettingsBackend settings;
        setFirstRunDefaults(settings);
        settings.set(SettingsKeys::Settings, u"pl_h"_qs, plusHour);
        settings.set(SettingsKeys::Settings, u"simv_count"_qs, simvCount);
        const SettingsDialogValues values = LoadSettingsDialog(settings);
        QCOMPARE(values.plusHour, hourIndex);
        QCOMPARE(values.simvCountIndex, countIndex);
    }

    void load_errorsOfTheStoreReachTheCaller_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing boolean")
            << u"auto_hide"_qs << QVariant() << u"Failed to get data for 'auto_hide'"_qs;
        QTest::newRow("missing integer")
            << u"simv_count"_qs << QVariant() << u"Failed to get data for 'simv_count'"_qs;
        QTest::newRow("increment not a number")
            << u"pl_m"_qs << QVariant(u"3x"_qs) << u"'3x' is not a valid integer value"_qs;
    }
    void load_errorsOfTheStoreReachTheCaller()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QString, error);
        MemorySettingsBackend settings;
        setFirstRunDefaults(settings);
        if (value.isValid())
            settings.set(SettingsKeys::Settings, name, value);
        else
            settings.keys[kSection].remove(name);
        QString thrown;
        try {
            LoadSettingsDialog(settings);
        } catch (const ZarvoError &e) {
            thrown = e.text();
        }
        QCOMPARE(thrown, error);
    }
};

ZARVO_TEST_GUILESS_MAIN(SettingsDialogTest)
#include "test_settingsdialog.moc"
