#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

// Whole-file helpers for tests that check the bytes on disk.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Windows-1251 bytes of text that holds ASCII and the basic Cyrillic letters only, encoded here
// independently of the program's own table.
inline QByteArray cp1251(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        const ushort u = c.unicode();
        bytes += u >= 0x0410 && u <= 0x044F ? char(0xC0 + (u - 0x0410)) : char(u);
    }
    return bytes;
}

// The bytes of lines as the task file stores them: Windows-1251, each line ended by CR LF.
inline QByteArray block(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += cp1251(line) + "\r\n";
    return bytes;
}
