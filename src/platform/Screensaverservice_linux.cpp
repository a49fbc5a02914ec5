#include "Dbuscall_linux.h"
#include "Screensaverservice.h"

#include <QProcess>

namespace {

const QString ScreenSaverName = QStringLiteral("org.freedesktop.ScreenSaver");

// Desktops export the screen saver at one path or the other (or both).
const DbusTarget ScreenSaverTargets[] = {
    {ScreenSaverName, QStringLiteral("/ScreenSaver"), ScreenSaverName},
    {ScreenSaverName, QStringLiteral("/org/freedesktop/ScreenSaver"), ScreenSaverName},
};

class LinuxScreenSaverService final : public ScreenSaverService {
public:
    void Activate() override
    {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        for (const DbusTarget &target : ScreenSaverTargets) {
            if (CallTaken(CallDbus(bus, target, QStringLiteral("SetActive"), {true})))
                return;
        }
        // Desktops without the D-Bus interface (plain X sessions): the freedesktop helper knows
        // their screen savers. It is left running on its own; if it is missing, nothing happens.
        QProcess::startDetached(QStringLiteral("xdg-screensaver"), {QStringLiteral("activate")});
    }
};

} // namespace

std::unique_ptr<ScreenSaverService> CreateScreenSaverService()
{
    return std::make_unique<LinuxScreenSaverService>();
}
