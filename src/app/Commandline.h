#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Exit codes of a start that ends before the program runs.
inline constexpr int ExitAlreadyRunning = 1;
inline constexpr int ExitNoDisplay = 2;
inline constexpr int ExitBadCommandLine = 2;

// What the words after the program's name ask for.
struct ParsedCommandLine {
    enum class Action { Start, Help, Version, Error };
    Action action = Action::Start;
    bool openAddDialog = false; // --add
    QString error; // Action::Error: what was wrong, one line
};

// Reads arguments (the program's name first). Qt's own options (-platform, -session, -style, ...)
// are accepted and left for the application object: a desktop session restarts the program with
// -session, and that start must not fail. Anything else that is not ours is an error.
ParsedCommandLine ParseCommandLine(const QStringList &arguments);

QString HelpText();
QString VersionText();

// What this start does after the command line.
struct CommandLine {
    std::optional<int> exitCode; // set: the start ends now with this code
    bool openAddDialog = false; // the program starts and opens its add dialog
};

// Handles the command line before the application object exists, so that it needs no display:
// --help and --version print to stdout and end the start with 0, a wrong command line prints one
// line to stderr and ends it with 2, and --add is passed to a running copy, which opens its add
// dialog (this start then ends with 0). With no copy running, --add starts the program.
CommandLine ReadCommandLine(int argc, char **argv);
