#include "Trayhost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
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
