#include "support/TestMain.h"
#include "Helpviewer.h"
#include "Helpwindow.h"
#include "Messages.h"
#include "support/FileHelpers.h"
#include "support/RecordingMessages.h"

#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {

const QByteArray SampleHelp = QStringLiteral("Comment line\n"
                                             "[SHZ_contents0004]\r\n"
                                             "# Главное окно\r\n"
                                             "Список **задач** и кнопки.\r\n"
                                             "\r\n"
                                             "[Настройки](topic:SHZ_contents0006)\r\n"
                                             "[SHZ_contents0006]\r\n"
                                             "# Настройки\r\n"
                                             "Автозапуск и звук.\r\n"
                                             "[Нет такого](topic:SHZ_contents0099)\r\n")
                                  .toUtf8();

} // namespace

class HelpWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    RecordingMessages m_messages;

    QString exeDir() const { return m_dir.filePath(QStringLiteral("bin")); }
    QString helpPath() const { return exeDir() + QStringLiteral("/zhelp.hlp"); }

    static QString shownText()
    {
        THelpWindow *window = THelpWindow::Instance();
        return window ? window->Browser()->toPlainText() : QString();
    }

private slots:
    void initTestCase()
    {
        // Only the folder beside our "executable" may hold a help file.
        QDir().mkpath(exeDir());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data-home")).toUtf8());
        qputenv("XDG_DATA_DIRS", m_dir.filePath(QStringLiteral("data-dirs")).toUtf8());
    }

    void init()
    {
        m_messages.shown.clear();
        QVERIFY(writeBytes(helpPath(), SampleHelp));
    }

    void cleanup()
    {
        delete THelpWindow::Instance();
        QVERIFY(!THelpWindow::Instance());
    }

    void openHelp_showsTheTopicAsFormattedText()
    {
        WindowHelpViewer(m_messages, exeDir()).OpenHelp(Msg::HelpMain);
        THelpWindow *window = THelpWindow::Instance();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Справка Zarvo"));
        QCOMPARE(window->CurrentTopic(), Msg::HelpMain);
        QCOMPARE(shownText(), QStringLiteral("Главное окно\nСписок задач и кнопки.\nНастройки"));
        QVERIFY(!window->windowIcon().isNull());
        QCOMPARE(m_messages.shown, QStringList());
    }

    void openHelpAgain_reusesTheOpenWindow()
    {
        WindowHelpViewer viewer(m_messages, exeDir());
        viewer.OpenHelp(Msg::HelpMain);
        THelpWindow *first = THelpWindow::Instance();
        viewer.OpenHelp(Msg::HelpSettings);
        QCOMPARE(THelpWindow::Instance(), first);
        QCOMPARE(first->CurrentTopic(), Msg::HelpSettings);
        QVERIFY(shownText().startsWith(QStringLiteral("Настройки\nАвтозапуск и звук.")));
        QCOMPARE(QApplication::topLevelWidgets().count(qobject_cast<QWidget *>(first)), 1);
    }

    void openHelp_readsTheFileAnewEachTime()
    {
        WindowHelpViewer viewer(m_messages, exeDir());
        viewer.OpenHelp(Msg::HelpMain);
        QVERIFY(writeBytes(helpPath(), "[SHZ_contents0004]\n# Changed\n"));
        viewer.OpenHelp(Msg::HelpMain);
        QCOMPARE(shownText(), QStringLiteral("Changed"));
    }

    void openHelp_failure_showsMessageAndNoWindow_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("message");
        QTest::newRow("no help file anywhere") << false << Msg::HelpMain << Msg::HelpFileNotFound;
        QTest::newRow("topic missing from the file") << true << Msg::HelpFirstRun
                                                     << Msg::HelpTopicMissing.arg(Msg::HelpFirstRun);
    }
    void openHelp_failure_showsMessageAndNoWindow()
    {
        QFETCH(bool, fileExists);
        QFETCH(QString, topic);
        QFETCH(QString, message);
        if (!fileExists)
            QVERIFY(QFile::remove(helpPath()));
        WindowHelpViewer(m_messages, exeDir()).OpenHelp(topic);
        QCOMPARE(m_messages.shown, QStringList{message});
        QVERIFY(!THelpWindow::Instance());
    }

    void openHelp_missingTopic_keepsTheOpenWindowAsItWas()
    {
        WindowHelpViewer viewer(m_messages, exeDir());
        viewer.OpenHelp(Msg::HelpSettings);
        viewer.OpenHelp(Msg::HelpAbout);
        QCOMPARE(m_messages.shown, QStringList{Msg::HelpTopicMissing.arg(Msg::HelpAbout)});
        QVERIFY(THelpWindow::Instance());
        QCOMPARE(THelpWindow::Instance()->CurrentTopic(), Msg::HelpSettings);
    }

    void topicLink_opensTheLinkedTopicInTheSameWindow()
    {
        WindowHelpViewer(m_messages, exeDir()).OpenHelp(Msg::HelpMain);
        THelpWindow *window = THelpWindow::Instance();
        emit window->Browser()->anchorClicked(QUrl(QStringLiteral("topic:SHZ_contents0006")));
        QCOMPARE(window->CurrentTopic(), Msg::HelpSettings);
        QVERIFY(shownText().startsWith(QStringLiteral("Настройки")));
    }

    void brokenTopicLink_saysSoAndStaysOnTheTopic()
    {
        WindowHelpViewer(m_messages, exeDir()).OpenHelp(Msg::HelpSettings);
        THelpWindow *window = THelpWindow::Instance();
        QString boxText;
        QTimer::singleShot(0, this, [&boxText] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box) {
                boxText = box->text();
                box->accept();
            }
        });
        emit window->Browser()->anchorClicked(QUrl(QStringLiteral("topic:SHZ_contents0099")));
        QCOMPARE(boxText, Msg::HelpTopicMissing.arg(QStringLiteral("SHZ_contents0099")));
        QCOMPARE(window->CurrentTopic(), Msg::HelpSettings);
        QVERIFY(shownText().startsWith(QStringLiteral("Настройки")));
    }

    void escape_closesTheWindow()
    {
        WindowHelpViewer(m_messages, exeDir()).OpenHelp(Msg::HelpMain);
        QPointer<THelpWindow> window = THelpWindow::Instance();
        QTest::keyClick(window.data(), Qt::Key_Escape);
        QTRY_VERIFY(window.isNull()); // closed windows free themselves
        QVERIFY(!THelpWindow::Instance());
    }

    // A modal dialog blocks all windows but its own; help asked for from one must stay usable.
    void helpFromAModalDialog_belongsToThatDialog()
    {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &dialog);

        WindowHelpViewer(m_messages, exeDir()).OpenHelp(Msg::HelpMain);
        THelpWindow *window = THelpWindow::Instance();
        QVERIFY(window);
        QCOMPARE(window->parentWidget(), &dialog);
        QVERIFY(window->isWindow());
        QVERIFY(window->isVisible());

        dialog.hide();
        QVERIFY(!QApplication::activeModalWidget());
        WindowHelpViewer(m_messages, exeDir()).OpenHelp(Msg::HelpSettings);
        QCOMPARE(THelpWindow::Instance(), window);
        QCOMPARE(window->parentWidget(), nullptr);
        QVERIFY(window->isVisible());
    }
};

ZARVO_TEST_MAIN(HelpWindowTest)
#include "test_helpwindow.moc"
