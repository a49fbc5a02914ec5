#include "Helpfile.h"

#include "Errors.h"
#include "Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

const QString HelpFileName = QStringLiteral("zhelp.hlp");

// "[SHZ_contents0004]" alone on its line, trailing blanks allowed.
const QRegularExpression &TopicLine()
{
    static const QRegularExpression re(QStringLiteral("^\\[([A-Za-z0-9_]+)\\]\\s*$"));
    return re;
}

QString TrimBlankLines(const QStringList &lines)
{
    qsizetype first = 0;
    qsizetype last = lines.size();
    while (first < last && lines.at(first).trimmed().isEmpty())
        ++first;
    while (last > first && lines.at(last - 1).trimmed().isEmpty())
        --last;
    return lines.mid(first, last - first).join(QLatin1Char('\n'));
}

} // namespace

HelpFile HelpFile::Load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw ZarvoError(Msg::HelpFileMissing.arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw ZarvoError(Msg::HelpFileUnreadable.arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray bytes = file.readAll();

    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        throw ZarvoError(Msg::HelpFileNotText.arg(QDir::toNativeSeparators(path)));
    return Parse(text);
}

HelpFile HelpFile::Parse(const QString &text)
{
    QString normalised = text;
    if (normalised.startsWith(QChar(0xFEFF)))
        normalised.remove(0, 1);
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    HelpFile help;
    QString currentId;
    QStringList body;
    auto finishTopic = [&] {
        // A repeated id keeps its first body: the later one is most likely a copy-paste slip.
        if (!currentId.isEmpty() && !help.m_topics.contains(currentId)) {
            help.m_topics.insert(currentId, TrimBlankLines(body));
            help.m_order.append(currentId);
        }
        body.clear();
    };

    const QStringList lines = normalised.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = TopicLine().match(line);
        if (match.hasMatch()) {
            finishTopic();
            currentId = match.captured(1);
        } else if (!currentId.isEmpty()) {
            body.append(line);
        }
    }
    finishTopic();
    return help;
}

bool HelpFile::HasTopic(const QString &id) const
{
    return !m_topics.value(id).isEmpty();
}

QString HelpFile::Topic(const QString &id) const
{
    const QString body = m_topics.value(id);
    if (body.isEmpty())
        throw ZarvoError(Msg::HelpTopicMissing.arg(id));
    return body;
}

QStringList HelpFileCandidates(const QString &executableDir)
{
    const QDir exeDir(executableDir);
    QStringList candidates;
    candidates << QDir::cleanPath(exeDir.filePath(HelpFileName));
    candidates << QDir::cleanPath(exeDir.filePath(QStringLiteral("../share/zarvo/") + HelpFileName));
    const QStringList dataDirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &dir : dataDirs) {
        const QString candidate = QDir::cleanPath(dir + QStringLiteral("/zarvo/") + HelpFileName);
        if (!candidates.contains(candidate))
            candidates << candidate;
    }
    return candidates;
}

QString HelpFilePath(const QString &executableDir)
{
    const QStringList candidates = HelpFileCandidates(executableDir);
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}
