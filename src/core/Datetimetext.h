#pragma once

#include "Clock.h"

#include <QDateTime>
#include <QString>

// The texts that tasks store and the tick compares. Single fields never carry a leading zero;
// only TimeToText pads minutes and seconds to two digits. Milliseconds are dropped.
QString TimeToText(const QDateTime &moment);   // 9:05:00
QString HourToText(const QDateTime &moment);   // 9
QString MinuteToText(const QDateTime &moment); // 5
QString SecondToText(const QDateTime &moment); // 0
QString DayToText(const QDateTime &moment);    // 5
QString MonthToText(const QDateTime &moment);  // 1
QString YearToText(const QDateTime &moment);   // 2004
QString MonthToWord(const QDateTime &moment);  // " января "

// The month 1..12 whose word (blanks included) equals text exactly; 0 when none does.
int WordToMonth(const QString &text);

// The month word of month 1..12, blanks included.
QString MonthWord(int month);

// "Воскр.", "Понед.", "Вторн.", "Среда", "Четв.", "Пятн.", "Субб.".
QString WeekdayText(const QDate &date);
QString TodayWeekdayText(const Clock &clock);

// Composed texts: a one-shot date "5 января 2004", a birthday date "5 января " and the clock
// label's date "5 января 2004 г.".
QString OneShotDateText(const QDateTime &moment);
QString BirthdayDateText(const QDateTime &moment);
QString DateLabelText(const QDateTime &moment);
