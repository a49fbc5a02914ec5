#include "Txtfileclass.h"

#include "Cp1251.h"
#include "Errors.h"
#include "Messages.h"
#include "Savedfile.h"

#include <QFile>
#include <QFileInfo>

bool TxtFile::Exists() const
{
    return QFileInfo::exists(FileName);
}

void TxtFile::CreateEmpty()
{
    QFile file(FileName);
    if (FileName.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ZarvoError(Msg::CannotCreateFile + QStringLiteral(" \"%1\"").arg(FileName));
}

void TxtFile::Load()
{
    // A FIFO or a device in place of the file would block the program in open() or read().
    if (IsSpecialFile(FileName)) {
        const QString reason = QFileInfo(FileName).isDir() ? Msg::ReasonIsFolder : Msg::ReasonNotRegular;
        throw ZarvoError(Msg::TaskFileSpecial.arg(FileName, reason));
    }
    if (!Exists())
        CreateEmpty();
    ++LoadCount;
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ZarvoError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ZarvoError(QStringLiteral("Read error on file \"%1\". %2").arg(FileName, file.errorString()));
    Lines = DecodeLines(bytes);
}

void TxtFile::Save()
{
    if (!Modified || FileName.isEmpty())
        return;
    QByteArray bytes;
    for (qsizetype i = 0; i < Lines.size(); ++i) {
        const auto encoded = Cp1251::encode(Lines.at(i));
        if (!encoded) {
            throw ZarvoError(QStringLiteral("Cannot save file \"%1\": line %2 holds characters that "
                                            "Windows-1251 cannot store. The file was not changed.")
                                 .arg(FileName)
                                 .arg(i + 1));
        }
        bytes += *encoded;
        bytes += "\r\n";
    }
    ++SaveCount;
    QString why;
    if (!SaveFileAtomically(FileName, bytes, &why))
        throw ZarvoError(
            QStringLiteral("Cannot write file \"%1\". %2 The file was not changed.").arg(FileName, why));
    Modified = false;
}

void TxtFile::Clear()
{
    Lines.clear();
    Modified = true;
}

void TxtFile::AddLine(const QString &line)
{
    Lines.append(line);
    Modified = true;
}

void TxtFile::DeleteLine(int index)
{
    CheckIndex(index);
    Lines.removeAt(index);
    Modified = true;
}

QString TxtFile::GetLine(int index) const
{
    CheckIndex(index);
    return Lines.at(index);
}

void TxtFile::SetLine(int index, const QString &line)
{
    CheckIndex(index);
    Lines[index] = line;
    Modified = true;
}

int TxtFile::LineCount() const
{
    return int(Lines.size());
}

QStringList TxtFile::SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

// The same lines as SplitLines(Cp1251::decode(bytes)): no byte other than CR and LF decodes to a
// line break. Decoding line by line saves a copy of the whole file, which matters for large
// files read at every rebuild of the task list.
QStringList TxtFile::DecodeLines(const QByteArray &bytes)
{
    QStringList lines;
    lines.reserve(bytes.count('\n') + 1);
    const QByteArrayView all(bytes);
    qsizetype start = 0;
    const qsizetype size = all.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = all[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(Cp1251::decode(all.sliced(start, i - start)));
        if (c == '\r' && i + 1 < size && all[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(Cp1251::decode(all.sliced(start)));
    return lines;
}

void TxtFile::CheckIndex(int index) const
{
    if (index < 0 || index >= Lines.size())
        throw ZarvoError(QStringLiteral("List index out of bounds (%1)").arg(index));
}
