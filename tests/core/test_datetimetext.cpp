#include "support/TestMain.h"
#include "Conversions.h"
#include "Datetimetext.h"
#include "Errors.h"

#include <QtTest>

namespace {
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime now)
        : m_now(std::move(now))
    {
    }
    QDateTime CurrentDateTime() const override { return m_now; }

private:
    QDateTime m_now;
};

QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}
} // namespace

class DateTimeTextTest : public QObject
{
    Q_OBJECT

private slots:
    void fieldTexts_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QStringList>("texts"); // time, hour, minute, second, day, month, year
        QTest::newRow("midnight") << at(2004, 1, 5, 0, 0, 0) << QStringList{"0:00:00", "0", "0", "0", "5", "1", "2004"};
        QTest::newRow("one past nine") << at(2004, 1, 5, 9, 1, 0) << QStringList{"9:01:00", "9", "1", "0", "5", "1", "2004"};
        QTest::newRow("no leading zeros") << at(2005, 3, 3, 7, 5, 9) << QStringList{"7:05:09", "7", "5", "9", "3", "3", "2005"};
        QTest::newRow("milliseconds dropped") << at(2099, 12, 31, 23, 59, 59, 999)
                                              << QStringList{"23:59:59", "23", "59", "59", "31", "12", "2099"};
        QTest::newRow("two-digit fields") << at(2010, 10, 10, 10, 10, 10) << QStringList{"10:10:10", "10", "10", "10", "10", "10", "2010"};
    }
    void fieldTexts()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QStringList, texts);
        const QStringList actual{TimeToText(moment), HourToText(moment),  MinuteToText(moment),
                                 SecondToText(moment), DayToText(moment), MonthToText(moment),
                                 YearToText(moment)};
        QCOMPARE(actual, texts);
    }

    void monthWords_roundTripWithTheirBlanks()
    {
        const QStringList words{" января ", " февраля ", " марта ", " апреля ", " мая ", " июня ",
                                " июля ", " августа ", " сентября ", " октября ", " ноября ", " декабря "};
        for (int m = 1; m <= 12; ++m) {
            QCOMPARE(MonthToWord(at(2004, m, 1, 12, 0, 0)), words.at(m - 1));
            QCOMPARE(WordToMonth(words.at(m - 1)), m);
        }
        QCOMPARE(MonthToWord(at(2004, 5, 17, 0, 0, 0)).size(), 5);
    }

    void wordToMonth_matchesOnlyTheExactWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("no blanks") << "мая";
        QTest::newRow("leading blank only") << " мая";
        QTest::newRow("capital letter") << " Мая ";
        QTest::newRow("two blanks") << "  мая ";
        QTest::newRow("empty") << "";
        QTest::newRow("latin") << " may ";
    }
    void wordToMonth_matchesOnlyTheExactWord()
    {
        QFETCH(QString, text);
        QCOMPARE(WordToMonth(text), 0);
    }

    void weekdays_followTheCalendar()
    {
        // 7 .. 13 December 2026 is Monday .. Sunday.
        const QStringList expected{"Понед.", "Вторн.", "Среда", "Четв.", "Пятн.", "Субб.", "Воскр."};
        for (int d = 0; d < 7; ++d)
            QCOMPARE(WeekdayText(QDate(2026, 12, 7 + d)), expected.at(d));
        QCOMPARE(TodayWeekdayText(FixedClock(at(2004, 1, 7, 9, 0, 0))), QStringLiteral("Среда"));
    }

    void composedDates()
    {
        QCOMPARE(OneShotDateText(at(2005, 1, 1, 0, 0, 0)), QStringLiteral("1 января 2005"));
        QCOMPARE(OneShotDateText(at(2005, 1, 10, 0, 0, 0)), QStringLiteral("10 января 2005"));
        QCOMPARE(BirthdayDateText(at(2004, 1, 5, 13, 0, 0)), QStringLiteral("5 января "));
        QCOMPARE(DateLabelText(at(2004, 1, 5, 13, 0, 0)), QStringLiteral("5 января 2004 г."));
    }

    void strToInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("00") << "00" << true << 0;
        QTest::newRow("0") << "0" << true << 0;
        QTest::newRow("30") << "30" << true << 30;
        QTest::newRow("negative") << "-7" << true << -7;
        QTest::newRow("leading blank") << " 5" << true << 5;
        QTest::newRow("trailing blank") << "5 " << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("too large") << "2147483648" << false << 0;
        QTest::newRow("int max") << "2147483647" << true << 2147483647;
    }
    void strToInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        if (valid) {
            QCOMPARE(StrToInt(text), value);
            return;
        }
        try {
            StrToInt(text);
            QFAIL("no error");
        } catch (const ZarvoError &e) {
            QCOMPARE(e.text(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }
};

ZARVO_TEST_GUILESS_MAIN(DateTimeTextTest)
#include "test_datetimetext.moc"
