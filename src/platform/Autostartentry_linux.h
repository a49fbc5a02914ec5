#pragma once

#include <QByteArray>
#include <QString>

// The desktop entry that an XDG desktop reads from ~/.config/autostart to start a program at
// log-on. The program path goes into Exec as one double-quoted argument.

// program quoted as one Exec argument, ready to stand in the file (both escaping levels applied).
QString DesktopExecArgument(const QString &program);

// The whole entry (UTF-8), named name, starting program.
QByteArray AutostartEntry(const QString &name, const QString &program);

// The program an entry starts: the first argument of its Exec key, unquoted; empty when the entry
// has no Exec key.
QString AutostartProgram(const QByteArray &entry);
