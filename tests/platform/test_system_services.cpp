// The session and screen-saver services against stand-ins on a private bus (run_with_bus.sh):
// which call each request makes, on which desktop, and that none of them is forced.

#include "support/TestMain.h"
#include "Screensaverservice.h"
#include "Sessionservice.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QTest>

#include <functional>

namespace {

using Action = std::function<void()>;

QStringList CallsRecorded()
{
    QFile log(qEnvironmentVariable("ZARVO_STANDIN_LOG"));
    if (!log.open(QIODevice::ReadOnly))
        return {QStringLiteral("<log unreadable>")};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Makes exactly the given stand-ins own their names, and empties the log.
bool SetPresent(const QStringList &choices)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.zarvo.TestStandIn"),
        QStringLiteral("/Control"), QStringLiteral("org.zarvo.TestStandIn"), QStringLiteral("SetPresent"));
    call << choices;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning() << "stand-in control failed:" << reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage;
}

const QString Pid = QString::number(QCoreApplication::applicationPid());

} // namespace

class TestSystemServices : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SessionService> m_session = CreateSessionService();
    std::unique_ptr<ScreenSaverService> m_screenSaver = CreateScreenSaverService();

    Action ActionNamed(const QString &name)
    {
        if (name == QLatin1String("PowerOff"))
            return [this] { m_session->PowerOff(); };
        if (name == QLatin1String("Reboot"))
            return [this] { m_session->Reboot(); };
        if (name == QLatin1String("LogOff"))
            return [this] { m_session->LogOff(); };
        return [this] { m_screenSaver->Activate(); };
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run this test through run_with_bus.sh");
        QVERIFY(!qEnvironmentVariableIsEmpty("ZARVO_STANDIN_LOG"));
    }

    void init() { qputenv("XDG_SESSION_ID", "c7"); }

    void eachRequestMakesExactlyItsCall_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("calls");

        const QStringList gnome {QStringLiteral("gnome"), QStringLiteral("logind")};
        QTest::newRow("GNOME power-off")
            << gnome << "PowerOff" << QStringList {"/org/gnome/SessionManager Shutdown"};
        QTest::newRow("GNOME restart")
            << gnome << "Reboot" << QStringList {"/org/gnome/SessionManager Reboot"};
        // mode 1: no confirmation; never 2, which would force
        QTest::newRow("GNOME log-off")
            << gnome << "LogOff" << QStringList {"/org/gnome/SessionManager Logout 1"};

        const QStringList kde {QStringLiteral("kde"), QStringLiteral("ksmserver"), QStringLiteral("logind")};
        QTest::newRow("KDE power-off") << kde << "PowerOff" << QStringList {"/Shutdown logoutAndShutdown"};
        QTest::newRow("KDE restart") << kde << "Reboot" << QStringList {"/Shutdown logoutAndReboot"};
        QTest::newRow("KDE log-off") << kde << "LogOff" << QStringList {"/Shutdown logout"};

        // logout(confirm no, type, mode "try now"): the last argument would be 2 if it forced
        const QStringList ksm {QStringLiteral("ksmserver"), QStringLiteral("logind")};
        QTest::newRow("older KDE power-off") << ksm << "PowerOff" << QStringList {"/KSMServer logout 0,2,1"};
        QTest::newRow("older KDE restart") << ksm << "Reboot" << QStringList {"/KSMServer logout 0,1,1"};
        QTest::newRow("older KDE log-off") << ksm << "LogOff" << QStringList {"/KSMServer logout 0,0,1"};

        const QStringList xfce {QStringLiteral("xfce"), QStringLiteral("logind")};
        QTest::newRow("Xfce power-off")
            << xfce << "PowerOff" << QStringList {"/org/xfce/SessionManager Shutdown true"};
        QTest::newRow("Xfce restart")
            << xfce << "Reboot" << QStringList {"/org/xfce/SessionManager Restart true"};
        QTest::newRow("Xfce log-off")
            << xfce << "LogOff" << QStringList {"/org/xfce/SessionManager Logout false,true"};

        const QStringList everyone {
            QStringLiteral("gnome"), QStringLiteral("kde"), QStringLiteral("xfce"), QStringLiteral("logind")};
        QTest::newRow("several managers: only the first is asked")
            << everyone << "PowerOff" << QStringList {"/org/gnome/SessionManager Shutdown"};

        // A manager that took the call but never answers has it: logind is not asked as well.
        QTest::newRow("silent manager is not doubled by logind") << QStringList {"gnome", "gnome-silent",
            "logind"} << "PowerOff" << QStringList {"/org/gnome/SessionManager Shutdown"};

        // interactive true: logind honours inhibitors and may ask the user
        const QStringList logind {QStringLiteral("logind")};
        QTest::newRow("logind power-off")
            << logind << "PowerOff" << QStringList {"/org/freedesktop/login1 PowerOff true"};
        QTest::newRow("logind restart")
            << logind << "Reboot" << QStringList {"/org/freedesktop/login1 Reboot true"};
        QTest::newRow("logind log-off")
            << logind << "LogOff" << QStringList {"/org/freedesktop/login1 TerminateSession c7"};

        QTest::newRow("screen saver")
            << QStringList {"screensaver"} << "ScreenSaver" << QStringList {"/ScreenSaver SetActive true"};
        QTest::newRow("screen saver at the long path")
            << QStringList {"screensaver-alt"} << "ScreenSaver"
            << QStringList {"/org/freedesktop/ScreenSaver SetActive true"};

        for (const char *action : {"PowerOff", "Reboot", "LogOff"})
            QTest::addRow("nothing present: %s", action) << QStringList() << action << QStringList();
    }

    void eachRequestMakesExactlyItsCall()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, action);
        QFETCH(QStringList, calls);

        QVERIFY(SetPresent(present));
        ActionNamed(action)();
        QCOMPARE(CallsRecorded(), calls);
    }

    // Without XDG_SESSION_ID the session is looked up by the program's process id.
    void logOffFindsItsSessionByProcess()
    {
        qunsetenv("XDG_SESSION_ID");
        QVERIFY(SetPresent({QStringLiteral("logind")}));
        m_session->LogOff();
        const QStringList expected {
            QStringLiteral("/org/freedesktop/login1 GetSessionByPID ") + Pid,
            QStringLiteral("/org/freedesktop/login1/session/c7 Get org.freedesktop.login1.Session,Id"),
            QStringLiteral("/org/freedesktop/login1 TerminateSession c7"),
        };
        QCOMPARE(CallsRecorded(), expected);
    }

    void screenSaverWithoutServiceUsesTheCommand()
    {
        QVERIFY(SetPresent({}));
        m_screenSaver->Activate();
        // The command runs detached: wait for what it wrote.
        QTRY_COMPARE(CallsRecorded(), QStringList {QStringLiteral("xdg-screensaver activate")});
    }
};

ZARVO_TEST_GUILESS_MAIN(TestSystemServices)
#include "test_system_services.moc"
