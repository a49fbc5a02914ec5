#include "support/TestMain.h"
#include "Errors.h"
#include "Helpfile.h"
#include "Messages.h"
#include "support/FileHelpers.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class HelpFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static QStringList bodies(const HelpFile &help)
    {
        QStringList result;
        for (const QString &id : help.TopicIds())
            result << help.Topic(id);
        return result;
    }

    // An executable folder <root>/bin with <root>/share/zarvo beside it, and empty XDG folders.
    struct Layout
    {
        QString exeDir, shareDir, dataHome, dataDir;
    };
    Layout makeLayout(const QString &name)
    {
        const QString root = m_dir.filePath(name);
        Layout layout{root + QStringLiteral("/prefix/bin"), root + QStringLiteral("/prefix/share/zarvo"),
                      root + QStringLiteral("/home-data"), root + QStringLiteral("/system-data")};
        for (const QString &dir : {layout.exeDir, layout.shareDir, layout.dataHome, layout.dataDir})
            QDir().mkpath(dir);
        qputenv("XDG_DATA_HOME", layout.dataHome.toUtf8());
        qputenv("XDG_DATA_DIRS", layout.dataDir.toUtf8());
        return layout;
    }
    static void putHelp(const QString &dir)
    {
        QDir().mkpath(dir);
        QVERIFY(writeBytes(dir + QStringLiteral("/zhelp.hlp"), "[A]\ntext\n"));
    }

private slots:
    void parse_splitsTopics_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QStringList>("bodies");

        QTest::newRow("lf") << QStringLiteral("[A]\none\ntwo\n[B]\nthree\n") << QStringList{"A", "B"}
                            << QStringList{"one\ntwo", "three"};
        QTest::newRow("crlf") << QStringLiteral("[A]\r\none\r\ntwo\r\n[B]\r\nthree\r\n")
                              << QStringList{"A", "B"} << QStringList{"one\ntwo", "three"};
        QTest::newRow("old mac cr") << QStringLiteral("[A]\rone\r[B]\rtwo") << QStringList{"A", "B"}
                                    << QStringList{"one", "two"};
        QTest::newRow("last topic without final line end")
            << QStringLiteral("[A]\none\n[SHZ_contents0013]\nlast line")
            << QStringList{"A", "SHZ_contents0013"} << QStringList{"one", "last line"};
        QTest::newRow("comment before the first topic is no topic")
            << QStringLiteral("About this file\n\n[A]\nbody\n") << QStringList{"A"} << QStringList{"body"};
        QTest::newRow("byte order mark") << QStringLiteral("\xFEFF[A]\nbody") << QStringList{"A"}
                                         << QStringList{"body"};
        QTest::newRow("blank lines around a body are dropped, inside kept")
            << QStringLiteral("[A]\n\n\npara one\n\npara two\n   \n\n[B]\nx") << QStringList{"A", "B"}
            << QStringList{"para one\n\npara two", "x"};
        QTest::newRow("trailing blanks after the id line")
            << QStringLiteral("[A]  \t\nbody") << QStringList{"A"} << QStringList{"body"};
        QTest::newRow("Markdown links and brackets are body text")
            << QStringLiteral("[A]\n[see](topic:B)\n [B]\n[B] and more\n[B\n") << QStringList{"A"}
            << QStringList{"[see](topic:B)\n [B]\n[B] and more\n[B"};
        QTest::newRow("repeated id keeps the first body")
            << QStringLiteral("[A]\nfirst\n[A]\nsecond\n") << QStringList{"A"} << QStringList{"first"};
        QTest::newRow("cyrillic text") << QStringLiteral("[A]\n# Главное окно\nТекст справки")
                                       << QStringList{"A"} << QStringList{"# Главное окно\nТекст справки"};
    }
    void parse_splitsTopics()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, ids);
        QFETCH(QStringList, bodies);
        const HelpFile help = HelpFile::Parse(text);
        QCOMPARE(help.TopicIds(), ids);
        QCOMPARE(HelpFileTest::bodies(help), bodies);
    }

    void topic_absentOrEmpty_throwsNamingTheTopic_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("topic");
        QTest::newRow("empty file") << QString() << QStringLiteral("SHZ_contents0004");
        QTest::newRow("only a comment") << QStringLiteral("no topics here\n")
                                        << QStringLiteral("SHZ_contents0004");
        QTest::newRow("other topics only") << QStringLiteral("[SHZ_contents0005]\ntext\n")
                                           << QStringLiteral("SHZ_contents0004");
        QTest::newRow("case differs") << QStringLiteral("[shz_contents0004]\ntext\n")
                                      << QStringLiteral("SHZ_contents0004");
        QTest::newRow("topic with blank body") << QStringLiteral("[SHZ_contents0004]\n  \n\n[B]\nx")
                                               << QStringLiteral("SHZ_contents0004");
        QTest::newRow("topic line at end of file") << QStringLiteral("[B]\nx\n[SHZ_contents0004]")
                                                   << QStringLiteral("SHZ_contents0004");
    }
    void topic_absentOrEmpty_throwsNamingTheTopic()
    {
        QFETCH(QString, text);
        QFETCH(QString, topic);
        const HelpFile help = HelpFile::Parse(text);
        QCOMPARE(help.HasTopic(topic), false);
        try {
            help.Topic(topic);
            QFAIL("no error for a missing topic");
        } catch (const ZarvoError &error) {
            QCOMPARE(error.text(), Msg::HelpTopicMissing.arg(topic));
        }
    }

    void load_utf8File_readsTopics()
    {
        const QString file = m_dir.filePath(QStringLiteral("good.hlp"));
        QVERIFY(writeBytes(file, QStringLiteral("[SHZ_contents0004]\r\n# Справка\r\n").toUtf8()));
        QCOMPARE(HelpFile::Load(file).Topic(QStringLiteral("SHZ_contents0004")), QStringLiteral("# Справка"));
    }

    void load_badFile_throwsClearMessage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<QString>("startOfMessage");
        QTest::newRow("missing") << QStringLiteral("missing.hlp") << QByteArray()
                                 << Msg::HelpFileMissing.section(QLatin1Char('%'), 0, 0);
        QTest::newRow("not utf-8 (cp1251 bytes)")
            << QStringLiteral("cp1251.hlp") << QByteArray("[A]\n\xD1\xEF\xF0\xE0\xE2\xEA\xE0\n")
            << Msg::HelpFileNotText.section(QLatin1Char('%'), 0, 0);
    }
    void load_badFile_throwsClearMessage()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, startOfMessage);
        const QString file = m_dir.filePath(name);
        if (!bytes.isEmpty())
            QVERIFY(writeBytes(file, bytes));
        try {
            HelpFile::Load(file);
            QFAIL("no error for a bad help file");
        } catch (const ZarvoError &error) {
            QVERIFY2(error.text().startsWith(startOfMessage), qPrintable(error.text()));
            QVERIFY2(error.text().contains(name), qPrintable(error.text()));
        }
    }

    // Where the help file is found: the first of the places that has it.
    void helpFilePath_prefersTheEarlierPlace_data()
    {
        QTest::addColumn<QStringList>("present"); // which places hold a zhelp.hlp
        QTest::addColumn<QString>("expected");    // which one is used; empty: none
        QTest::newRow("beside the executable first") << QStringList{"exe", "share", "home", "system"}
                                                     << QStringLiteral("exe");
        QTest::newRow("installed data folder next") << QStringList{"share", "home", "system"}
                                                    << QStringLiteral("share");
        QTest::newRow("user data folder next") << QStringList{"home", "system"} << QStringLiteral("home");
        QTest::newRow("system data folder last") << QStringList{"system"} << QStringLiteral("system");
        QTest::newRow("nowhere") << QStringList{} << QString();
    }
    void helpFilePath_prefersTheEarlierPlace()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        const Layout layout = makeLayout(QString::fromLatin1(QTest::currentDataTag()));
        const QHash<QString, QString> places{{"exe", layout.exeDir},
                                             {"share", layout.shareDir},
                                             {"home", layout.dataHome + QStringLiteral("/zarvo")},
                                             {"system", layout.dataDir + QStringLiteral("/zarvo")}};
        for (const QString &place : present)
            putHelp(places.value(place));
        const QString expectedPath = expected.isEmpty()
            ? QString()
            : QDir::cleanPath(places.value(expected) + QStringLiteral("/zhelp.hlp"));
        QCOMPARE(HelpFilePath(layout.exeDir), expectedPath);
    }

    void helpFilePath_skipsAFolderNamedLikeTheFile()
    {
        const Layout layout = makeLayout(QStringLiteral("folder"));
        QVERIFY(QDir().mkpath(layout.exeDir + QStringLiteral("/zhelp.hlp")));
        putHelp(layout.shareDir);
        QCOMPARE(HelpFilePath(layout.exeDir),
                 QDir::cleanPath(layout.shareDir + QStringLiteral("/zhelp.hlp")));
    }
};

ZARVO_TEST_GUILESS_MAIN(HelpFileTest)
#include "test_helpfile.moc"
