#include "support/TestMain.h"
#include "Txtfileclass.h"
#include "support/FileHelpers.h"
#include "support/KillLoop.h"

#include <QTemporaryDir>
#include <QtTest>


// A save killed at any moment leaves the task file exactly as it was before or after the save,
// never torn, empty or mixed.
class CrashSafetyTest : public QObject
{
    Q_OBJECT

private:
    static QStringList contentOf(char tag, int lines)
    {
        QStringList result;
        for (int i = 0; i < lines; ++i)
            result << QStringLiteral("%1 строка номер %2 задания").arg(QLatin1Char(tag)).arg(i);
        return result;
    }

    static QByteArray bytesOf(const QStringList &lines)
    {
        TxtFile txt;
        txt.Lines = lines;
        QTemporaryDir dir;
        txt.FileName = dir.filePath(QStringLiteral("f"));
        txt.Modified = true;
        txt.Save();
        return readBytes(txt.FileName);
    }

    [[noreturn]] static void saveForever(const QString &path, const QList<QStringList> &versions)
    {
        for (int round = 0;; ++round) {
            TxtFile txt;
            txt.FileName = path;
            txt.Lines = versions.at(round % versions.size());
            txt.Modified = true;
            txt.Save();
        }
    }

private slots:
    void killedSave_leavesOldOrNewContent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ztasks.zct"));
        // Versions of different sizes, so a torn write could not pass for a whole one.
        const QList<QStringList> versions{contentOf('a', 7), contentOf('b', 700), contentOf('c', 7000)};
        QSet<QByteArray> wholeFiles;
        for (const QStringList &v : versions)
            wholeFiles.insert(bytesOf(v));
        QVERIFY(writeBytes(path, *wholeFiles.cbegin()));

        const int torn = countTornFilesAfterKills(
            1000, [&] { saveForever(path, versions); }, [&] { return wholeFiles.contains(readBytes(path)); });
        QCOMPARE(torn, 0);
        // Leftover temporary files of killed saves are not the task file and are never read.
        QVERIFY(QFile::exists(path));
    }
};

ZARVO_TEST_GUILESS_MAIN(CrashSafetyTest)
#include "test_crashsafety.moc"
