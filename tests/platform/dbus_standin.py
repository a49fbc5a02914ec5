#!/usr/bin/python3
"""Stands in for the desktop's session managers, logind and the screen saver on a private bus.

Every call it gets is appended to the log file (first argument) as one line:
"<object path> <method> <arguments, comma-separated>". The tests choose which services are
present through the control object (org.zarvo.TestStandIn /Control SetPresent), which also
empties the log.
"""
import sys

import dbus
import dbus.bus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

LOG = sys.argv[1]
SESSION_ID = "c7"
SESSION_PATH = "/org/freedesktop/login1/session/" + SESSION_ID

# Which bus names each choice of the tests owns.
NAMES = {
    "gnome": "org.gnome.SessionManager",
    "gnome-silent": "org.gnome.SessionManager",
    "kde": "org.kde.Shutdown",
    "ksmserver": "org.kde.ksmserver",
    "xfce": "org.xfce.SessionManager",
    "logind": "org.freedesktop.login1",
    "screensaver": "org.freedesktop.ScreenSaver",
    "screensaver-alt": "org.freedesktop.ScreenSaver",
}

present = set()


def text(value):
    if isinstance(value, dbus.Boolean):
        return "true" if value else "false"
    return str(value)


def record(path, method, *args):
    with open(LOG, "a", encoding="utf-8") as log:
        log.write(" ".join([path, method, ",".join(text(a) for a in args)]).rstrip() + "\n")


class Recorder(dbus.service.Object):
    def __init__(self, bus, path):
        super().__init__(bus, path)
        self.path = path


class Gnome(Recorder):
    @dbus.service.method("org.gnome.SessionManager", in_signature="", out_signature="",
                         async_callbacks=("reply", "error"))
    def Shutdown(self, reply, error):
        record(self.path, "Shutdown")
        if "gnome-silent" not in present:  # a session manager that never answers
            reply()

    @dbus.service.method("org.gnome.SessionManager", in_signature="", out_signature="")
    def Reboot(self):
        record(self.path, "Reboot")

    @dbus.service.method("org.gnome.SessionManager", in_signature="u", out_signature="")
    def Logout(self, mode):
        record(self.path, "Logout", mode)


class KdeShutdown(Recorder):
    @dbus.service.method("org.kde.Shutdown", in_signature="", out_signature="")
    def logout(self):
        record(self.path, "logout")

    @dbus.service.method("org.kde.Shutdown", in_signature="", out_signature="")
    def logoutAndShutdown(self):
        record(self.path, "logoutAndShutdown")

    @dbus.service.method("org.kde.Shutdown", in_signature="", out_signature="")
    def logoutAndReboot(self):
        record(self.path, "logoutAndReboot")


class KsmServer(Recorder):
    @dbus.service.method("org.kde.KSMServerInterface", in_signature="iii", out_signature="")
    def logout(self, confirm, sdtype, sdmode):
        record(self.path, "logout", confirm, sdtype, sdmode)


class Xfce(Recorder):
    @dbus.service.method("org.xfce.Session.Manager", in_signature="b", out_signature="")
    def Shutdown(self, allow_save):
        record(self.path, "Shutdown", allow_save)

    @dbus.service.method("org.xfce.Session.Manager", in_signature="b", out_signature="")
    def Restart(self, allow_save):
        record(self.path, "Restart", allow_save)

    @dbus.service.method("org.xfce.Session.Manager", in_signature="bb", out_signature="")
    def Logout(self, show_dialog, allow_save):
        record(self.path, "Logout", show_dialog, allow_save)


class LogindManager(Recorder):
    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="b", out_signature="")
    def PowerOff(self, interactive):
        record(self.path, "PowerOff", interactive)

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="b", out_signature="")
    def Reboot(self, interactive):
        record(self.path, "Reboot", interactive)

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="s", out_signature="")
    def TerminateSession(self, session_id):
        record(self.path, "TerminateSession", session_id)

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="u", out_signature="o")
    def GetSessionByPID(self, pid):
        record(self.path, "GetSessionByPID", pid)
        return dbus.ObjectPath(SESSION_PATH)


class LogindSession(Recorder):
    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        record(self.path, "Get", interface, name)
        if interface == "org.freedesktop.login1.Session" and name == "Id":
            return dbus.String(SESSION_ID, variant_level=1)
        raise dbus.exceptions.DBusException("no such property",
                                            name="org.freedesktop.DBus.Error.UnknownProperty")


class ScreenSaver(dbus.service.Object):
    def __init__(self, bus, path):
        super().__init__(None, None)
        self.bus = bus
        self.path = path
        self.exported = False

    def export(self, wanted):
        if wanted and not self.exported:
            self.add_to_connection(self.bus, self.path)
        elif not wanted and self.exported:
            self.remove_from_connection()
        self.exported = wanted

    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="b", out_signature="b")
    def SetActive(self, active):
        record(self.path, "SetActive", active)
        return True


class Control(dbus.service.Object):
    def __init__(self, bus, savers):
        super().__init__(bus, "/Control")
        self.bus = bus
        self.savers = savers

    @dbus.service.method("org.zarvo.TestStandIn", in_signature="as", out_signature="")
    def SetPresent(self, choices):
        global present
        wanted = {NAMES[c] for c in choices}
        for name in set(NAMES.values()):
            if name in wanted:
                self.bus.request_name(name, dbus.bus.NAME_FLAG_DO_NOT_QUEUE)
            else:
                self.bus.release_name(name)
        present = set(choices)
        self.savers[0].export("screensaver" in present)
        self.savers[1].export("screensaver" in present or "screensaver-alt" in present)
        open(LOG, "w", encoding="utf-8").close()


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    Gnome(bus, "/org/gnome/SessionManager")
    KdeShutdown(bus, "/Shutdown")
    KsmServer(bus, "/KSMServer")
    Xfce(bus, "/org/xfce/SessionManager")
    LogindManager(bus, "/org/freedesktop/login1")
    LogindSession(bus, SESSION_PATH)
    savers = [ScreenSaver(bus, "/ScreenSaver"), ScreenSaver(bus, "/org/freedesktop/ScreenSaver")]
    Control(bus, savers)
    bus.request_name("org.zarvo.TestStandIn", dbus.bus.NAME_FLAG_DO_NOT_QUEUE)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
