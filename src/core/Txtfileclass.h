#pragma once

#include <QString>
#include <QStringList>

// One text file held in memory as an ordered list of lines. Every task operation makes its own
// TxtFile: set FileName, Load, work on the lines, Save if anything changed, let it go.
//
// On disk: Windows-1251, every line written with CR LF (the last one too); on reading a line ends
// at CR LF, a lone CR or a lone LF, and a zero-byte file has no lines.
//
// Errors (ZarvoError): a file that cannot be created, read or written, a line that cannot be
// stored in Windows-1251, and an index outside 0 .. LineCount() - 1. Save replaces the file
// atomically, so a failed save leaves the old file exactly as it was.
class TxtFile
{
public:
    bool Modified = false;
    QStringList Lines;
    QString FileName;

    bool Exists() const;
    void CreateEmpty();
    void Load();
    void Save();

    void Clear();
    void AddLine(const QString &line);
    void DeleteLine(int index);
    QString GetLine(int index) const;
    void SetLine(int index, const QString &line);
    int LineCount() const;

    static QStringList SplitLines(const QString &text);

    // How often any TxtFile read or wrote a file, for the benchmark.
    static inline int LoadCount = 0;
    static inline int SaveCount = 0;

private:
    static QStringList DecodeLines(const QByteArray &bytes);
    void CheckIndex(int index) const;
};
