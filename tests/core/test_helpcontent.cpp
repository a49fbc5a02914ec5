#include "support/TestMain.h"
#include "Helpfile.h"
#include "Messages.h"
#include "support/FileHelpers.h"

#include <QRegularExpression>
#include <QtTest>

// The help file that ships with the program, and its copy beside the built executable.
class HelpContentTest : public QObject
{
    Q_OBJECT

private:
    HelpFile m_help;

private slots:
    void initTestCase() { m_help = HelpFile::Load(QStringLiteral(ZARVO_HELP_SOURCE)); }

    void everyTopicTheWindowsOpen_isPresentAndSubstantial_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("mentions"); // a word the topic cannot do without
        QTest::newRow("main window") << Msg::HelpMain << QStringLiteral("Добавить");
        QTest::newRow("add/change dialog") << Msg::HelpAddDialog << QStringLiteral("Выполнять каждый день");
        QTest::newRow("settings") << Msg::HelpSettings << QStringLiteral("Zarvo1.0.json");
        QTest::newRow("about") << Msg::HelpAbout << QStringLiteral("E-mail");
        QTest::newRow("first run") << Msg::HelpFirstRun << QStringLiteral("синими часами");
        QTest::newRow("main window: missed tasks") << Msg::HelpMain << QStringLiteral("Пропущенные задания");
        QTest::newRow("settings: missed tasks")
            << Msg::HelpSettings << QStringLiteral("Сообщать о пропущенных заданиях");
    }
    void everyTopicTheWindowsOpen_isPresentAndSubstantial()
    {
        QFETCH(QString, topic);
        QFETCH(QString, mentions);
        QVERIFY2(m_help.HasTopic(topic), qPrintable(topic));
        const QString body = m_help.Topic(topic);
        QVERIFY2(body.startsWith(QStringLiteral("# ")), "a topic opens with its heading");
        QVERIFY2(body.size() > 600,
                 qPrintable(QStringLiteral("%1 has only %2 characters").arg(topic).arg(body.size())));
        QVERIFY2(body.contains(mentions), qPrintable(mentions));
    }

    void linksBetweenTopics_leadToExistingTopics()
    {
        static const QRegularExpression link(QStringLiteral("\\]\\(topic:([^)]*)\\)"));
        int links = 0;
        for (const QString &id : m_help.TopicIds()) {
            auto it = link.globalMatch(m_help.Topic(id));
            while (it.hasNext()) {
                const QString target = it.next().captured(1);
                QVERIFY2(m_help.HasTopic(target), qPrintable(id + QStringLiteral(" -> ") + target));
                ++links;
            }
        }
        QVERIFY(links > 0);
    }

    void buildCopiesTheFileBesideTheProgram()
    {
        const QByteArray copy = readBytes(QStringLiteral(ZARVO_HELP_FILE));
        QCOMPARE(copy, readBytes(QStringLiteral(ZARVO_HELP_SOURCE)));
    }
};

ZARVO_TEST_GUILESS_MAIN(HelpContentTest)
#include "test_helpcontent.moc"
