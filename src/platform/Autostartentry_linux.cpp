#include "Autostartentry_linux.h"

#include <QStringList>

namespace {

// Inside a double-quoted Exec argument these four are escaped with a backslash.
bool needsQuoteEscape(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\');
}

QString quoteArgument(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (needsQuoteEscape(c))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

// The escapes of every string value of a desktop file; in Exec they apply after the quoting.
QString escapeStringValue(const QString &text)
{
    QString escaped;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            escaped += QLatin1String("\\\\");
            break;
        case '\n':
            escaped += QLatin1String("\\n");
            break;
        case '\t':
            escaped += QLatin1String("\\t");
            break;
        case '\r':
            escaped += QLatin1String("\\r");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString unescapeStringValue(const QString &text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            plain += c;
            continue;
        }
        const QChar next = text.at(++i);
        switch (next.unicode()) {
        case 's':
            plain += QLatin1Char(' ');
            break;
        case 'n':
            plain += QLatin1Char('\n');
            break;
        case 't':
            plain += QLatin1Char('\t');
            break;
        case 'r':
            plain += QLatin1Char('\r');
            break;
        default:
            plain += next;
        }
    }
    return plain;
}

// The first argument of an Exec value whose string escapes are already undone.
QString firstArgument(const QString &exec)
{
    if (!exec.startsWith(QLatin1Char('"')))
        return exec.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    QString argument;
    for (qsizetype i = 1; i < exec.size(); ++i) {
        QChar c = exec.at(i);
        if (c == QLatin1Char('"'))
            break;
        if (c == QLatin1Char('\\') && i + 1 < exec.size() && needsQuoteEscape(exec.at(i + 1)))
            c = exec.at(++i);
        argument += c;
    }
    return argument;
}

} // namespace

QString DesktopExecArgument(const QString &program)
{
    // A lone '%' would be taken for a field code such as %f.
    QString argument = quoteArgument(program);
    return escapeStringValue(argument.replace(QLatin1Char('%'), QLatin1String("%%")));
}

QByteArray AutostartEntry(const QString &name, const QString &program)
{
    const QStringList lines {
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Name=") + escapeStringValue(name),
        QStringLiteral("Exec=") + DesktopExecArgument(program),
        QStringLiteral("Terminal=false"),
        QStringLiteral("X-GNOME-Autostart-enabled=true"),
    };
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QString AutostartProgram(const QByteArray &entry)
{
    const QStringList lines = QString::fromUtf8(entry).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("Exec="))) {
            QString exec = unescapeStringValue(line.mid(5).trimmed());
            return firstArgument(exec.replace(QLatin1String("%%"), QLatin1String("%")));
        }
    }
    return QString();
}
