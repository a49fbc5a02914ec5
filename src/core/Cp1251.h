#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Windows-1251, the single-byte Cyrillic code page of the task file. Every byte value decodes to
// one character and encodes back to the same byte (0x98, unassigned in the code page, maps to
// U+0098), so a line the program does not change is written back unchanged.
namespace Cp1251 {

QString decode(QByteArrayView bytes);

// The bytes of text, or nothing when a character has no place in the code page.
std::optional<QByteArray> encode(const QString &text);

// Whether every character of text can be stored.
bool canEncode(const QString &text);

} // namespace Cp1251
