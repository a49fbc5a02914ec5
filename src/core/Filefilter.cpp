#include "Filefilter.h"

#include <QStringList>

QString QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*");
        }
        const QString text = parts.at(i).trimmed();
        const QString bracketed = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        entries << (text.endsWith(bracketed) ? text : text + QLatin1Char(' ') + bracketed);
    }
    return entries.join(QStringLiteral(";;"));
}
