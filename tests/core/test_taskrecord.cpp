#include "support/TestMain.h"
#include "Errors.h"
#include "support/FileHelpers.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

#include <QTemporaryDir>
#include <QtTest>

class TaskRecordTest : public QObject {
    Q_OBJECT

private:
    static TxtFile withLines(int count)
    {
        TxtFile txt;
        for (int i = 0; i < count; ++i)
            txt.AddLine(QString::number(i));
        return txt;
    }

    static TaskFields shutdownAt905()
    {
        return {QStringLiteral("2"), QStringLiteral("9:05:00"), QStringLiteral("5 января 2004"),
            QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("true")};
    }

private slots:
    void taskCount_dropsTheIncompleteBlock_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("tasks");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("six lines") << 6 << 0;
        QTest::newRow("seven lines") << 7 << 1;
        QTest::newRow("thirteen lines") << 13 << 1;
        QTest::newRow("fourteen lines") << 14 << 2;
    }
    void taskCount_dropsTheIncompleteBlock()
    {
        QFETCH(int, lines);
        QFETCH(int, tasks);
        QCOMPARE(TaskCount(withLines(lines)), tasks);
    }

    void appendTask_writesTheSevenLinesOnDisk()
    {
        QTemporaryDir dir;
        TxtFile txt;
        txt.FileName = dir.filePath(QStringLiteral("ztasks.zct"));
        txt.Load();
        AppendTask(txt, shutdownAt905());
        txt.Save();
        QCOMPARE(readBytes(txt.FileName),
            QByteArray("%>>\r\n2\r\n9:05:00\r\n5 \xFF\xED\xE2\xE0\xF0\xFF 2004\r\nNULL\r\nNULL\r\ntrue\r\n"));
    }

    void readAndReplace_workOnTheBlockOfTaskK()
    {
        TxtFile txt;
        AppendTask(txt, shutdownAt905());
        TaskFields second {QStringLiteral("1"), QStringLiteral("7:30:00"), QStringLiteral("NULL"),
            QStringLiteral("abc de "), QStringLiteral("/snd/a.wav"), QStringLiteral("falseM")};
        AppendTask(txt, second);
        QCOMPARE(ReadTask(txt, 1), second);

        TaskFields edited = shutdownAt905();
        edited.state = QStringLiteral("true");
        ReplaceTaskFields(txt, 1, edited);
        TaskFields expected = edited;
        expected.state = QStringLiteral("falseM"); // the state is not the editor's to change
        QCOMPARE(ReadTask(txt, 1), expected);
        QCOMPARE(txt.GetLine(7), QStringLiteral("%>>"));
        QCOMPARE(ReadTask(txt, 0), shutdownAt905());
    }

    void removeTask_removesExactlyItsBlock()
    {
        TxtFile txt;
        AppendTask(txt, shutdownAt905());
        TaskFields second = shutdownAt905();
        second.type = QStringLiteral("5");
        AppendTask(txt, second);
        txt.AddLine(QStringLiteral("trailing"));
        RemoveTask(txt, 0);
        QCOMPARE(txt.LineCount(), 8);
        QCOMPARE(ReadTask(txt, 0), second);
        QCOMPARE(txt.GetLine(7), QStringLiteral("trailing"));
        QVERIFY_THROWS_EXCEPTION(ZarvoError, RemoveTask(txt, 1));
    }

    void kindOf_isToldByTimeAndDate()
    {
        QCOMPARE(KindOf(QStringLiteral("9:05:00"), QStringLiteral("5 января 2004")), TaskKind::OneShot);
        QCOMPARE(KindOf(QStringLiteral("9:05:00"), QStringLiteral("NULL")), TaskKind::EveryDay);
        QCOMPARE(KindOf(QStringLiteral("NULL"), QStringLiteral("5 января ")), TaskKind::Birthday);
        QCOMPARE(KindOf(QStringLiteral("null"), QStringLiteral("Null")), TaskKind::OneShot);
    }

    void fileNamePart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("alsoColon");
        QTest::addColumn<QString>("name");
        QTest::newRow("windows path") << "C:\\Tools\\x.exe" << false << "x.exe";
        QTest::newRow("linux path") << "/usr/bin/gedit" << false << "gedit";
        QTest::newRow("no separator") << "notes.txt" << false << "notes.txt";
        QTest::newRow("drive only, no colon rule") << "C:x.wav" << false << "C:x.wav";
        QTest::newRow("drive only, colon rule") << "C:x.wav" << true << "x.wav";
        QTest::newRow("trailing separator") << "/tmp/" << false << "";
    }
    void fileNamePart()
    {
        QFETCH(QString, path);
        QFETCH(bool, alsoColon);
        QFETCH(QString, name);
        QCOMPARE(FileNamePart(path, alsoColon), name);
    }

    void taskFilePath_writableProgramFolderIsUsed()
    {
        QTemporaryDir exeDir, dataHome;
        QCOMPARE(
            TaskFilePathFor(exeDir.path(), dataHome.path()), exeDir.filePath(QStringLiteral("ztasks.zct")));
    }

    void taskFilePath_unusableProgramFolderFallsBackToDataHome()
    {
        QTemporaryDir dataHome;
        const QString expected = dataHome.filePath(QStringLiteral("Zarvo/ztasks.zct"));
        QCOMPARE(TaskFilePathFor(QStringLiteral("/nonexistent/zarvo/bin"), dataHome.path()), expected);
        QVERIFY(QFileInfo(dataHome.filePath(QStringLiteral("Zarvo"))).isDir());
    }

    void taskFilePath_installedProgramFolderIsNeverUsed()
    {
        // <prefix>/bin beside <prefix>/share/zarvo, writable here, still shared by all users.
        QTemporaryDir prefix, dataHome;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/zarvo")));
        const QString expected = dataHome.filePath(QStringLiteral("Zarvo/ztasks.zct"));
        QCOMPARE(TaskFilePathFor(prefix.filePath(QStringLiteral("bin")), dataHome.path()), expected);
    }
};

ZARVO_TEST_GUILESS_MAIN(TaskRecordTest)
#include "test_taskrecord.moc"
