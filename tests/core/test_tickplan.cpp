// Runs with TZ=Europe/Berlin (set in CMake): clocks go forward on 28 March 2004 at 2:00 and back
// on 31 October 2004 at 3:00.
#include "support/TestMain.h"
#include "Context.h"
#include "Scheduler.h"
#include "Tickplan.h"

#include <QtTest>

#include <random>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ActiveTaskTable)

namespace {

QDateTime at(int year, int month, int day, const QString &time)
{
    return QDateTime(QDate(year, month, day), QTime::fromString(time, QStringLiteral("H:mm:ss.zzz")));
}

// A moment given in UTC, as local time: how to name one occurrence of a repeated hour.
QDateTime utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC).toLocalTime();
}

ActiveTaskEntry entry(const QString &time, const QString &date)
{
    return {time, date};
}

// What the comparisons are made on: milliseconds since the epoch, -1 for "never".
qint64 epochOrNever(const QDateTime &moment)
{
    return moment.isValid() ? moment.toMSecsSinceEpoch() : -1;
}

// The first second from the second of `now` up to the horizon in which the tick, ticking in every
// second, would find an entry due: the plan's meaning, found the slow way.
QDateTime firstDueByScan(const ActiveTaskTable &table, const QDateTime &now)
{
    const QDateTime from = SecondOf(now);
    for (qint64 s = 0; s <= kPlanHorizonSecs; ++s) {
        const QDateTime moment = from.addSecs(s);
        const MomentTexts texts = MomentTexts::Of(moment);
        for (const ActiveTaskEntry &e : table) {
            if (IsEntryDue(e, texts))
                return moment;
        }
    }
    return {};
}

} // namespace

class TickPlanTest : public QObject {
    Q_OBJECT

private slots:
    void nextDueSecond_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<ActiveTaskTable>("table");
        QTest::addColumn<QDateTime>("expected");

        const QDateTime now = at(2004, 1, 5, "9:05:00.700");
        const QString today = u"5 января 2004"_s;
        const QString tomorrow = u"6 января 2004"_s;
        const QDateTime never;

        QTest::newRow("no entries") << now << ActiveTaskTable() << never;
        QTest::newRow("every day, later today")
            << now << ActiveTaskTable {entry("17:30:00", "NULL")} << at(2004, 1, 5, "17:30:00.000");
        QTest::newRow("every day, in this very second")
            << now << ActiveTaskTable {entry("9:05:00", "NULL")} << at(2004, 1, 5, "9:05:00.000");
        QTest::newRow("every day, passed today: tomorrow")
            << now << ActiveTaskTable {entry("9:04:59", "NULL")} << at(2004, 1, 6, "9:04:59.000");
        QTest::newRow("one-shot later today")
            << now << ActiveTaskTable {entry("9:05:01", today)} << at(2004, 1, 5, "9:05:01.000");
        QTest::newRow("one-shot tomorrow, inside a day")
            << now << ActiveTaskTable {entry("0:00:00", tomorrow)} << at(2004, 1, 6, "0:00:00.000");
        QTest::newRow("one-shot tomorrow, beyond a day")
            << now << ActiveTaskTable {entry("9:05:02", tomorrow)} << never;
        QTest::newRow("one-shot passed a second ago")
            << now << ActiveTaskTable {entry("9:04:59", today)} << never;
        QTest::newRow("one-shot in another year")
            << now << ActiveTaskTable {entry("17:30:00", u"5 января 2005"_s)} << never;
        QTest::newRow("birthday today: now")
            << now << ActiveTaskTable {entry("NULL", u"5 января "_s)} << at(2004, 1, 5, "9:05:00.000");
        QTest::newRow("birthday tomorrow: midnight")
            << now << ActiveTaskTable {entry("NULL", u"6 января "_s)} << at(2004, 1, 6, "0:00:00.000");
        QTest::newRow("birthday next week")
            << now << ActiveTaskTable {entry("NULL", u"12 января "_s)} << never;
        QTest::newRow("birthday without the trailing blank")
            << now << ActiveTaskTable {entry("NULL", u"5 января"_s)} << never;
        QTest::newRow("hour with a leading zero")
            << now << ActiveTaskTable {entry("09:30:00", "NULL")} << never;
        QTest::newRow("minute without its zero") << now << ActiveTaskTable {entry("9:5:30", "NULL")} << never;
        QTest::newRow("time that is no time") << now << ActiveTaskTable {entry("25:00:00", "NULL")} << never;
        QTest::newRow("garbage time") << now << ActiveTaskTable {entry("soon", "NULL")} << never;
        QTest::newRow("date with a stray blank")
            << now << ActiveTaskTable {entry("17:30:00", u"5 января 2004 "_s)} << never;
        QTest::newRow("both fields empty") << now << ActiveTaskTable {entry("NULL", "NULL")} << never;
        QTest::newRow("earliest of several, in any order")
            << now
            << ActiveTaskTable {entry("NULL", u"6 января "_s), entry("18:00:00", today),
                   entry("12:00:00", "NULL"), entry("9:04:00", "NULL")}
            << at(2004, 1, 5, "12:00:00.000");
        QTest::newRow("a bad entry does not hide a good one")
            << now << ActiveTaskTable {entry("x", "y"), entry("9:06:00", today)}
            << at(2004, 1, 5, "9:06:00.000");
        QTest::newRow("year end: every day after midnight")
            << at(2004, 12, 31, "23:59:59.999") << ActiveTaskTable {entry("0:00:00", "NULL")}
            << at(2005, 1, 1, "0:00:00.000");
        QTest::newRow("year end: one-shot on new year's day")
            << at(2004, 12, 31, "23:59:59.000") << ActiveTaskTable {entry("0:00:01", u"1 января 2005"_s)}
            << at(2005, 1, 1, "0:00:01.000");
        QTest::newRow("29 February: no birthday on 1 March")
            << at(2005, 2, 28, "12:00:00.000") << ActiveTaskTable {entry("NULL", u"29 февраля "_s)} << never;
        QTest::newRow("29 February in a leap year")
            << at(2004, 2, 28, "12:00:00.000") << ActiveTaskTable {entry("NULL", u"29 февраля "_s)}
            << at(2004, 2, 29, "0:00:00.000");
        QTest::newRow("clocks go forward: the skipped time never comes")
            << at(2004, 3, 27, "10:00:00.000") << ActiveTaskTable {entry("2:30:00", "NULL")} << never;
        QTest::newRow("clocks go forward: the day is an hour shorter, the horizon reaches further")
            << at(2004, 3, 27, "10:00:00.000") << ActiveTaskTable {entry("10:30:00", "NULL")}
            << at(2004, 3, 27, "10:30:00.000");
        // 2:30 comes twice on 31 October; between the two, the second one is next.
        QTest::newRow("clocks go back: the repeated time after its first occurrence") << utc(
            2004, 10, 31, 0, 45) << ActiveTaskTable {entry("2:30:00", "NULL")} << utc(2004, 10, 31, 1, 30);
        QTest::newRow("clocks go back: one-shot in the repeated hour, from before it")
            << at(2004, 10, 31, "1:00:00.000") << ActiveTaskTable {entry("2:15:00", u"31 октября 2004"_s)}
            << utc(2004, 10, 31, 0, 15);
    }

    void nextDueSecond()
    {
        QFETCH(QDateTime, now);
        QFETCH(ActiveTaskTable, table);
        QFETCH(QDateTime, expected);
        const QDateTime got = NextDueSecond(table, now);
        QCOMPARE(got.toString(Qt::ISODateWithMs), expected.toString(Qt::ISODateWithMs));
        QCOMPARE(epochOrNever(got), epochOrNever(expected));
    }

    // The plan against a scan of every second, on days where the clock texts behave unusually.
    void nextDueSecond_agreesWithAScanOfEverySecond_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addRow("before clocks go forward") << at(2004, 3, 27, "13:17:42.512");
        QTest::addRow("in the night clocks go forward") << at(2004, 3, 28, "1:59:58.010");
        QTest::addRow("before clocks go back") << at(2004, 10, 30, "20:00:00.000");
        QTest::addRow("in the repeated hour") << at(2004, 10, 31, "2:10:00.000");
        QTest::addRow("new year's eve") << at(2004, 12, 31, "23:59:30.999");
        QTest::addRow("leap day") << at(2004, 2, 28, "23:59:59.500");
    }

    void nextDueSecond_agreesWithAScanOfEverySecond()
    {
        QFETCH(QDateTime, now);
        // Times and dates near the moment, so that many of them fall inside the horizon.
        std::mt19937 random(uint(now.toSecsSinceEpoch()));
        for (int round = 0; round < 3; ++round) {
            ActiveTaskTable table;
            for (int i = 0; i < 3; ++i) {
                const QDateTime near
                    = now.addSecs(qint64(random() % (2 * kPlanHorizonSecs)) - kPlanHorizonSecs / 4);
                switch (random() % 3) {
                case 0:
                    table << entry(TimeToTextOf(near), "NULL");
                    break;
                case 1:
                    table << entry(TimeToTextOf(near), MomentTexts::Of(near).todayDate);
                    break;
                default:
                    table << entry("NULL", MomentTexts::Of(near).today);
                    break;
                }
            }
            const QDateTime planned = NextDueSecond(table, now);
            const QDateTime scanned = firstDueByScan(table, now);
            QCOMPARE(epochOrNever(planned), epochOrNever(scanned));
        }
    }

private:
    static QString TimeToTextOf(const QDateTime &moment) { return MomentTexts::Of(moment).time; }
};

ZARVO_TEST_GUILESS_MAIN(TickPlanTest)
#include "test_tickplan.moc"
