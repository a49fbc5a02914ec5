#include "Conversions.h"

#include "Errors.h"

#include <limits>

int StrToInt(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    const qsizetype firstDigit = i;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            break;
    }
    const qint64 signedValue = negative ? -value : value;
    const bool valid = i == text.size() && i > firstDigit
        && signedValue >= std::numeric_limits<int>::min()
        && signedValue <= std::numeric_limits<int>::max();
    if (!valid)
        throw ZarvoError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return int(signedValue);
}
