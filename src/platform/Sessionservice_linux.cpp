#include "Dbuscall_linux.h"
#include "Sessionservice.h"

#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QList>

#include <unistd.h>

namespace {

// One way of asking a desktop's session manager for something.
struct SessionManagerCall {
    DbusTarget target;
    QString method;
    QVariantList args;
};

const DbusTarget GnomeSession {QStringLiteral("org.gnome.SessionManager"),
    QStringLiteral("/org/gnome/SessionManager"), QStringLiteral("org.gnome.SessionManager")};
const DbusTarget KdeShutdown {
    QStringLiteral("org.kde.Shutdown"), QStringLiteral("/Shutdown"), QStringLiteral("org.kde.Shutdown")};
const DbusTarget KdeKsmServer {QStringLiteral("org.kde.ksmserver"), QStringLiteral("/KSMServer"),
    QStringLiteral("org.kde.KSMServerInterface")};
const DbusTarget XfceSession {QStringLiteral("org.xfce.SessionManager"),
    QStringLiteral("/org/xfce/SessionManager"), QStringLiteral("org.xfce.Session.Manager")};
const DbusTarget Logind {QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
    QStringLiteral("org.freedesktop.login1.Manager")};

// The older KDE session manager's logout(confirm, type, mode): no confirmation dialog (the program
// asks nothing either), and mode "try now", which never forces.
constexpr int KdeConfirmNo = 0;
constexpr int KdeTypeNone = 0;
constexpr int KdeTypeReboot = 1;
constexpr int KdeTypeHalt = 2;
constexpr int KdeModeTryNow = 1;

// GNOME's Logout mode 1 logs out without a confirmation dialog; mode 2 (forced) is never used.
constexpr uint GnomeLogoutNoConfirmation = 1;

// Xfce's allow_save: programs may save their state, as on an ordinary log-out.
constexpr bool XfceAllowSave = true;
constexpr bool XfceShowDialog = false;

enum class Request { PowerOff, Reboot, LogOff };

QList<SessionManagerCall> SessionManagerCalls(Request request)
{
    switch (request) {
    case Request::PowerOff:
        return {{GnomeSession, QStringLiteral("Shutdown"), {}},
            {KdeShutdown, QStringLiteral("logoutAndShutdown"), {}},
            {KdeKsmServer, QStringLiteral("logout"), {KdeConfirmNo, KdeTypeHalt, KdeModeTryNow}},
            {XfceSession, QStringLiteral("Shutdown"), {XfceAllowSave}}};
    case Request::Reboot:
        return {{GnomeSession, QStringLiteral("Reboot"), {}},
            {KdeShutdown, QStringLiteral("logoutAndReboot"), {}},
            {KdeKsmServer, QStringLiteral("logout"), {KdeConfirmNo, KdeTypeReboot, KdeModeTryNow}},
            {XfceSession, QStringLiteral("Restart"), {XfceAllowSave}}};
    case Request::LogOff:
        return {{GnomeSession, QStringLiteral("Logout"), {GnomeLogoutNoConfirmation}},
            {KdeShutdown, QStringLiteral("logout"), {}},
            {KdeKsmServer, QStringLiteral("logout"), {KdeConfirmNo, KdeTypeNone, KdeModeTryNow}},
            {XfceSession, QStringLiteral("Logout"), {XfceShowDialog, XfceAllowSave}}};
    }
    return {};
}

// The desktop's session manager asks the running programs to close first, so it is preferred.
bool AskSessionManager(Request request)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    for (const SessionManagerCall &call : SessionManagerCalls(request)) {
        if (CallTaken(CallDbus(bus, call.target, call.method, call.args)))
            return true;
    }
    return false;
}

// logind's id of the session this program runs in, or empty when it cannot be found.
QString OwnLogindSessionId(const QDBusConnection &bus)
{
    const QString fromEnvironment = qEnvironmentVariable("XDG_SESSION_ID");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QDBusMessage byPid = CallDbus(bus, Logind, QStringLiteral("GetSessionByPID"), {uint(::getpid())});
    if (byPid.type() != QDBusMessage::ReplyMessage || byPid.arguments().isEmpty())
        return {};
    const QString sessionPath = byPid.arguments().constFirst().value<QDBusObjectPath>().path();
    if (sessionPath.isEmpty())
        return {};
    const DbusTarget properties {
        Logind.service, sessionPath, QStringLiteral("org.freedesktop.DBus.Properties")};
    const QDBusMessage id = CallDbus(bus, properties, QStringLiteral("Get"),
        {QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Id")});
    if (id.type() != QDBusMessage::ReplyMessage || id.arguments().isEmpty())
        return {};
    return id.arguments().constFirst().value<QDBusVariant>().variant().toString();
}

class LinuxSessionService final : public SessionService {
public:
    // "interactive" true: logind may ask the user (polkit) and honours the programs' inhibitors.
    void PowerOff() override
    {
        if (!AskSessionManager(Request::PowerOff))
            CallDbus(QDBusConnection::systemBus(), Logind, QStringLiteral("PowerOff"), {true});
    }

    void Reboot() override
    {
        if (!AskSessionManager(Request::Reboot))
            CallDbus(QDBusConnection::systemBus(), Logind, QStringLiteral("Reboot"), {true});
    }

    void LogOff() override
    {
        if (AskSessionManager(Request::LogOff))
            return;
        const QDBusConnection bus = QDBusConnection::systemBus();
        const QString sessionId = OwnLogindSessionId(bus);
        if (!sessionId.isEmpty())
            CallDbus(bus, Logind, QStringLiteral("TerminateSession"), {sessionId});
    }
};

} // namespace

std::unique_ptr<SessionService> CreateSessionService()
{
    return std::make_unique<LinuxSessionService>();
}
