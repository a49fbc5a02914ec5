#include "support/TestMain.h"
#include "support/FileSizeLimit.h"
#include "Cp1251.h"
#include "Errors.h"
#include "Txtfileclass.h"
#include "support/FileHelpers.h"

#include <QTemporaryDir>
#include <QtTest>


class TxtFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    TxtFile loaded(const QString &file)
    {
        TxtFile txt;
        txt.FileName = file;
        txt.Load();
        return txt;
    }

private slots:
    void lineEndings_splitAsWritten_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("zero bytes") << QByteArray() << QStringList();
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lone lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("lone cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("last line unterminated") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\n\nb\r\n") << QStringList{"a", "", "", "b"};
        QTest::newRow("cr lf cr") << QByteArray("a\r\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("single crlf") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("cyrillic next to line ends")
            << QByteArray("\xFF\r\n\xC0\r\xE0\n\x98") << QStringList{"я", "А", "а", QString(QChar(0x98))};
    }
    void lineEndings_splitAsWritten()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        const QString file = path(QStringLiteral("endings.txt"));
        QVERIFY(writeBytes(file, bytes));
        QCOMPARE(loaded(file).Lines, lines);
    }

    void load_missingFile_createsEmptyFileAndNoLines()
    {
        const QString file = path(QStringLiteral("missing.zct"));
        TxtFile txt = loaded(file);
        QCOMPARE(txt.LineCount(), 0);
        QVERIFY(QFile::exists(file));
        QCOMPARE(QFileInfo(file).size(), qint64(0));
        QCOMPARE(txt.Modified, false);
    }

    void load_folderNotThere_raisesCannotCreate()
    {
        TxtFile txt;
        txt.FileName = path(QStringLiteral("no/such/folder/x.zct"));
        try {
            txt.Load();
            QFAIL("Load of an uncreatable file did not fail");
        } catch (const ZarvoError &e) {
            QVERIFY2(e.text().startsWith(QStringLiteral("Не могу создать файл")), qPrintable(e.text()));
        }
    }

    void save_writesCrLfAfterEveryLineIncludingTheLast()
    {
        const QString file = path(QStringLiteral("write.zct"));
        QVERIFY(writeBytes(file, "one\ntwo"));
        TxtFile txt = loaded(file);
        txt.AddLine(QStringLiteral("three"));
        txt.Save();
        QCOMPARE(readBytes(file), QByteArray("one\r\ntwo\r\nthree\r\n"));
        QCOMPARE(txt.Modified, false);
    }

    void save_unchangedOrNamelessDoesNothing()
    {
        const QString file = path(QStringLiteral("untouched.zct"));
        QVERIFY(writeBytes(file, "a\nb"));
        TxtFile txt = loaded(file);
        QVERIFY(writeBytes(file, "changed behind our back"));
        txt.Save(); // not modified: must not rewrite
        QCOMPARE(readBytes(file), QByteArray("changed behind our back"));

        TxtFile nameless;
        nameless.AddLine(QStringLiteral("x"));
        nameless.Save();
        QCOMPARE(nameless.Modified, true);
    }

    void clearThenSave_leavesZeroBytes()
    {
        const QString file = path(QStringLiteral("clear.zct"));
        QVERIFY(writeBytes(file, "a\r\nb\r\n"));
        TxtFile txt = loaded(file);
        txt.Clear();
        txt.Save();
        QCOMPARE(readBytes(file), QByteArray());
    }

    void editing_changesOnlyTheLineNamed()
    {
        TxtFile txt;
        for (int i = 0; i < 7; ++i)
            txt.AddLine(QString::number(i));
        txt.Modified = false;
        txt.SetLine(3, QStringLiteral("three"));
        QCOMPARE(txt.Lines, (QStringList{"0", "1", "2", "three", "4", "5", "6"}));
        QVERIFY(txt.Modified);
        txt.DeleteLine(0);
        QCOMPARE(txt.GetLine(0), QStringLiteral("1"));
        QCOMPARE(txt.LineCount(), 6);
    }

    void badIndex_raisesAndChangesNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("negative") << -1;
        QTest::newRow("one past the end") << 2;
    }
    void badIndex_raisesAndChangesNothing()
    {
        QFETCH(int, index);
        TxtFile txt;
        txt.AddLine(QStringLiteral("a"));
        txt.AddLine(QStringLiteral("b"));
        txt.Modified = false;
        QVERIFY_THROWS_EXCEPTION(ZarvoError, txt.GetLine(index));
        QVERIFY_THROWS_EXCEPTION(ZarvoError, txt.SetLine(index, QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(ZarvoError, txt.DeleteLine(index));
        QCOMPARE(txt.Lines, (QStringList{"a", "b"}));
        QCOMPARE(txt.Modified, false);
    }

    void cp1251_everyByteRoundTripsThroughLoadAndSave()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                all.append(char(b));
        }
        all += "\r\n";
        const QString file = path(QStringLiteral("bytes.zct"));
        QVERIFY(writeBytes(file, all));
        TxtFile txt = loaded(file);
        txt.SetLine(0, txt.GetLine(0)); // force a rewrite of the same text
        txt.Save();
        QCOMPARE(readBytes(file), all);
    }

    void cp1251_russianTextIsSingleByte()
    {
        const QString file = path(QStringLiteral("ru.zct"));
        TxtFile txt;
        txt.FileName = file;
        txt.AddLine(QStringLiteral("5 января 2004 Ёё №"));
        txt.Save();
        QCOMPARE(readBytes(file), QByteArray("5 \xFF\xED\xE2\xE0\xF0\xFF 2004 \xA8\xB8 \xB9\r\n"));
        QCOMPARE(loaded(file).GetLine(0), QStringLiteral("5 января 2004 Ёё №"));
    }

    void save_characterOutside1251_raisesAndLeavesFileUntouched()
    {
        const QString file = path(QStringLiteral("keep.zct"));
        QVERIFY(writeBytes(file, "old\r\n"));
        TxtFile txt = loaded(file);
        txt.AddLine(QStringLiteral("日本 ✓"));
        QVERIFY_THROWS_EXCEPTION(ZarvoError, txt.Save());
        QCOMPARE(readBytes(file), QByteArray("old\r\n"));
        QVERIFY(!Cp1251::canEncode(QStringLiteral("✓")));
        QVERIFY(Cp1251::canEncode(QStringLiteral("Привет, мир! «ё»")));
    }

    void save_failingPartWay_leavesOldFileByteForByte_data()
    {
        QTest::addColumn<int>("addedLines");
        QTest::newRow("larger than the write buffer") << 20000;
        // About 8 KB: fails only in the final flush, which must not pass for success.
        QTest::newRow("within the write buffer") << 150;
    }
    void save_failingPartWay_leavesOldFileByteForByte()
    {
        QFETCH(int, addedLines);
        const QString file = path(QStringLiteral("atomic.zct"));
        const QByteArray old("%>>\r\n1\r\n9:05:00\r\nNULL\r\nNULL\r\nNULL\r\ntrue\r\n");
        QVERIFY(writeBytes(file, old));
        TxtFile txt = loaded(file);
        for (int i = 0; i < addedLines; ++i)
            txt.AddLine(QStringLiteral("a long line that makes the file grow past the limit"));

        // A file size limit makes the write fail in the middle, as a full disk would.
        bool failed = false;
        {
            FileSizeLimit limit(4096);
            QVERIFY(limit.active());
            try {
                txt.Save();
            } catch (const ZarvoError &) {
                failed = true;
            }
        }

        QVERIFY(failed);
        QCOMPARE(readBytes(file), old);
        QCOMPARE(txt.Modified, true);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).filter(QStringLiteral("atomic")).size(), 1);
    }
};

ZARVO_TEST_GUILESS_MAIN(TxtFileTest)
#include "test_txtfile.moc"
