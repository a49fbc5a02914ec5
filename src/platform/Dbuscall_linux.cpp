#include "Dbuscall_linux.h"

#include <QStringList>

QDBusMessage CallDbus(
    const QDBusConnection &bus, const DbusTarget &target, const QString &method, const QVariantList &args)
{
    if (!bus.isConnected())
        return QDBusMessage::createError(QDBusError::Disconnected, QStringLiteral("no bus"));
    QDBusMessage call = QDBusMessage::createMethodCall(target.service, target.path, target.interface, method);
    call.setArguments(args);
    call.setAutoStartService(false);
    // Block (not BlockWithGui): no other event of ours may run while we wait.
    return bus.call(call, QDBus::Block, DbusCallTimeoutMs);
}

bool CallTaken(const QDBusMessage &reply)
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    if (reply.type() != QDBusMessage::ErrorMessage)
        return false;
    static const QStringList notThere = {
        QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
        QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
        QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
    };
    return !notThere.contains(reply.errorName());
}
