#include "Earlycaption.h"

#include <QFileInfo>

QString EarlyCaption(const QString &executablePath)
{
    const QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}
