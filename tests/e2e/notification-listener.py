#!/usr/bin/python3
"""A stand-in desktop notification service for tests.

Usage: notification-listener.py <bus address> <log file> [silent]
Owns org.freedesktop.Notifications on the given bus and appends every Notify call to the log file
as one JSON line. "silent" takes the calls but never answers them. Prints "ready" once it owns the
name.
"""
import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"


class Notifications(dbus.service.Object):
    def __init__(self, bus, log, silent):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.log = log
        self.silent = silent
        self.last_id = 0

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u",
                         async_callbacks=("reply", "error"))
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout,
               reply, error):
        image = hints.get("image-data")
        record = {
            "app_name": str(app_name),
            "app_icon": str(app_icon),
            "summary": str(summary),
            "body": str(body),
            "desktop_entry": str(hints.get("desktop-entry", "")),
            "image": [int(image[0]), int(image[1])] if image is not None else None,
        }
        with open(self.log, "a", encoding="utf-8") as out:
            out.write(json.dumps(record, ensure_ascii=False) + "\n")
        if not self.silent:
            self.last_id += 1
            reply(dbus.UInt32(self.last_id))

    @dbus.service.method(NAME, in_signature="", out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(NAME, in_signature="", out_signature="ssss")
    def GetServerInformation(self):
        return ["test-listener", "quorvel-tests", "1", "1.2"]

    @dbus.service.method(NAME, in_signature="u", out_signature="")
    def CloseNotification(self, notification_id):
        pass


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(sys.argv[1])
    # Kept referenced while the loop runs, so the object stays exported.
    service = Notifications(bus, sys.argv[2], len(sys.argv) > 3 and sys.argv[3] == "silent")
    bus.request_name(NAME)
    print("ready", flush=True)
    GLib.MainLoop().run()
    return service


if __name__ == "__main__":
    main()
