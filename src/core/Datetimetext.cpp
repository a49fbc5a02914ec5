#include "Datetimetext.h"

#include "Messages.h"

#include <array>

namespace {

const std::array<QString, 12> kMonthWords = {
    QStringLiteral(" января "),  QStringLiteral(" февраля "), QStringLiteral(" марта "),
    QStringLiteral(" апреля "),  QStringLiteral(" мая "),     QStringLiteral(" июня "),
    QStringLiteral(" июля "),    QStringLiteral(" августа "), QStringLiteral(" сентября "),
    QStringLiteral(" октября "), QStringLiteral(" ноября "),  QStringLiteral(" декабря "),
};

// Indexed by Qt's day of week (1 = Monday .. 7 = Sunday).
const std::array<QString, 7> kWeekdays = {
    QStringLiteral("Понед."), QStringLiteral("Вторн."), QStringLiteral("Среда"), QStringLiteral("Четв."),
    QStringLiteral("Пятн."),  QStringLiteral("Субб."),  QStringLiteral("Воскр."),
};

QString twoDigits(int value)
{
    return value < 10 ? QLatin1Char('0') + QString::number(value) : QString::number(value);
}

} // namespace

QString TimeToText(const QDateTime &moment)
{
    const QTime t = moment.time();
    return QString::number(t.hour()) + QLatin1Char(':') + twoDigits(t.minute()) + QLatin1Char(':')
        + twoDigits(t.second());
}

QString HourToText(const QDateTime &moment)
{
    return QString::number(moment.time().hour());
}

QString MinuteToText(const QDateTime &moment)
{
    return QString::number(moment.time().minute());
}

QString SecondToText(const QDateTime &moment)
{
    return QString::number(moment.time().second());
}

QString DayToText(const QDateTime &moment)
{
    return QString::number(moment.date().day());
}

QString MonthToText(const QDateTime &moment)
{
    return QString::number(moment.date().month());
}

QString YearToText(const QDateTime &moment)
{
    return QString::number(moment.date().year());
}

QString MonthToWord(const QDateTime &moment)
{
    return MonthWord(moment.date().month());
}

QString MonthWord(int month)
{
    return month >= 1 && month <= 12 ? kMonthWords[month - 1] : QString();
}

int WordToMonth(const QString &text)
{
    for (std::size_t i = 0; i < kMonthWords.size(); ++i) {
        if (kMonthWords[i] == text)
            return int(i) + 1;
    }
    return 0;
}

QString WeekdayText(const QDate &date)
{
    return kWeekdays[date.dayOfWeek() - 1];
}

QString TodayWeekdayText(const Clock &clock)
{
    return WeekdayText(clock.CurrentDateTime().date());
}

QString OneShotDateText(const QDateTime &moment)
{
    return DayToText(moment) + MonthToWord(moment) + YearToText(moment);
}

QString BirthdayDateText(const QDateTime &moment)
{
    return DayToText(moment) + MonthToWord(moment);
}

QString DateLabelText(const QDateTime &moment)
{
    return OneShotDateText(moment) + Msg::YearSuffix;
}
