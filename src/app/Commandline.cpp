#include "Commandline.h"

#include "Instancechannel.h"
#include "Singleinstance.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

struct OptionText {
    QStringList names;
    QString description;
};

// One table for the parser and the help text, so that the two cannot drift apart.
const QList<OptionText> &OwnOptions()
{
    static const QList<OptionText> options {
        {{QStringLiteral("add")},
            QStringLiteral("открыть окно «Добавить задание» (в запущенной копии, если она есть)")},
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("показать эту справку и выйти")},
        {{QStringLiteral("v"), QStringLiteral("version")},
            QStringLiteral("показать версию программы и выйти")},
    };
    return options;
}

// Options QGuiApplication and QApplication take themselves; they stay in argv for them.
const QStringList QtValueOptions {QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("qmljsdebugger"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"),
    QStringLiteral("session"), QStringLiteral("display"), QStringLiteral("geometry"), QStringLiteral("style"),
    QStringLiteral("stylesheet"), QStringLiteral("name"), QStringLiteral("title"), QStringLiteral("visual")};
const QStringList QtFlagOptions {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
    QStringLiteral("nograb"), QStringLiteral("dograb"), QStringLiteral("sync")};

QString Quoted(const QString &text)
{
    return QStringLiteral("«") + text + QStringLiteral("»");
}

// The argument as typed that the parser reports by its bare name ("--hlep=1" for "hlep").
QString TypedOption(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.mid(1)) {
        QString bare = argument.section(QLatin1Char('='), 0, 0);
        while (bare.startsWith(QLatin1Char('-')))
            bare.remove(0, 1);
        if (bare == name)
            return argument;
    }
    return name;
}

void Print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

ParsedCommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's options have one dash and long names (-platform); ours work with one or two dashes.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionText &option : OwnOptions())
        parser.addOption(QCommandLineOption(option.names, option.description));
    for (const QString &name : QtValueOptions) {
        QCommandLineOption option(name, QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString &name : QtFlagOptions) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    ParsedCommandLine result;
    if (!parser.parse(arguments)) {
        result.action = ParsedCommandLine::Action::Error;
        // The parser's own texts are English; ours say the same in Russian.
        const QStringList unknown = parser.unknownOptionNames();
        result.error = unknown.isEmpty()
            ? QStringLiteral("неверная командная строка: ") + parser.errorText()
            : QStringLiteral("неизвестный параметр ") + Quoted(TypedOption(arguments, unknown.first()));
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = ParsedCommandLine::Action::Error;
        result.error = QStringLiteral("лишний аргумент ") + Quoted(parser.positionalArguments().first());
        return result;
    }
    if (parser.isSet(QStringLiteral("help")))
        result.action = ParsedCommandLine::Action::Help;
    else if (parser.isSet(QStringLiteral("version")))
        result.action = ParsedCommandLine::Action::Version;
    result.openAddDialog = parser.isSet(QStringLiteral("add"));
    return result;
}

QString HelpText()
{
    QString text = QStringLiteral("Использование: zarvo [--add | --help | --version]\n"
                                  "Zarvo — органайзер и планировщик заданий в области уведомлений.\n"
                                  "Без параметров запускает программу (вторая копия не запускается).\n\n"
                                  "Параметры:\n");
    for (const OptionText &option : OwnOptions()) {
        QStringList names;
        for (const QString &name : option.names)
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        text += QStringLiteral("  ") + names.join(QStringLiteral(", ")).leftJustified(15) + option.description
            + QLatin1Char('\n');
    }
    text += QStringLiteral("\nКоды завершения: 0 — успешно; 1 — программа уже запущена;\n"
                           "2 — нет графического дисплея или неверная командная строка.\n");
    return text;
}

QString VersionText()
{
    return QStringLiteral("Zarvo " ZARVO_VERSION "\n");
}

CommandLine ReadCommandLine(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ParsedCommandLine parsed = ParseCommandLine(arguments);

    CommandLine result;
    switch (parsed.action) {
    case ParsedCommandLine::Action::Help:
        Print(stdout, HelpText());
        result.exitCode = 0;
        return result;
    case ParsedCommandLine::Action::Version:
        Print(stdout, VersionText());
        result.exitCode = 0;
        return result;
    case ParsedCommandLine::Action::Error:
        Print(
            stderr, QStringLiteral("zarvo: ") + parsed.error + QStringLiteral(" (справка: zarvo --help)\n"));
        result.exitCode = ExitBadCommandLine;
        return result;
    case ParsedCommandLine::Action::Start:
        break;
    }
    if (parsed.openAddDialog) {
        // The local socket needs an application object; this one ends before the real one is
        // made, so passing the request on needs no display.
        QCoreApplication probe(argc, argv);
        if (InstanceChannel::SendAddRequest(SingleInstance::DefaultLockFolder())) {
            result.exitCode = 0;
            return result;
        }
    }
    result.openAddDialog = parsed.openAddDialog;
    return result;
}
