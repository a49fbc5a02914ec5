#include "Trayhost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QVariant>

// Qt uses the StatusNotifierItem protocol exactly when a watcher with a registered host is on the
// session bus; otherwise it embeds the icon into an XEmbed tray.
bool TrayHostReportsDoubleClick()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(watcher))
        return true;
    QDBusInterface iface(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    const QVariant registered = iface.property("IsStatusNotifierHostRegistered");
    return !registered.toBool();
}

TrayHostWatcher::TrayHostWatcher(QObject *parent)
    : QObject(parent)
{
    // An embedding tray (XEmbed): the X11 platform plugin follows the tray's selection owner and
    // announces every change of it; the signal exists only there, hence the connection by name.
    // QPlatformNativeInterface derives from QObject alone; its header is not public.
    if (auto *native = reinterpret_cast<QObject *>(QGuiApplication::platformNativeInterface());
        native && native->metaObject()->indexOfSignal("systemTrayWindowChanged(QScreen*)") >= 0) {
        connect(native, SIGNAL(systemTrayWindowChanged(QScreen *)), this, SLOT(TrayWindowChanged(QScreen *)));
    }
    // A StatusNotifierItem host: its watcher service comes and goes on the session bus.
    auto *watcher = new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
        QDBusConnection::sessionBus(),
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayHostWatcher::Changed);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &TrayHostWatcher::Changed);
}

void TrayHostWatcher::TrayWindowChanged(QScreen *)
{
    emit Changed();
}
