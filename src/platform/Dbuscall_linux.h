#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

// One method call to a desktop or system service, as the session and screen-saver services make
// them: no service is started for it, and a peer that does not answer holds the program up for at
// most a couple of seconds.
struct DbusTarget {
    QString service;
    QString path;
    QString interface;
};

inline constexpr int DbusCallTimeoutMs = 2000;

QDBusMessage CallDbus(const QDBusConnection &bus, const DbusTarget &target, const QString &method,
    const QVariantList &args = {});

// True when someone took the call: a reply, or an error other than "there is no such service,
// object or method here". A call that timed out was delivered, so it counts as taken, and nobody
// else is asked to do the same thing a second time.
bool CallTaken(const QDBusMessage &reply);
