#!/usr/bin/python3
"""What a screen reader receives from a program, read through AT-SPI as Orca reads it.

Usage:
  screen-reader.py listen <log file>   turns the screen reader on (org.a11y.Status), appends every
                                       showing, name, description and focus event as one JSON line
                                       (with the monotonic time it arrived),
                                       and prints "ready" once it listens
  screen-reader.py tree <pid>          prints the accessible tree of that process, one JSON line a
                                       node: path (child indexes), role, name, description, states
The session bus is DBUS_SESSION_BUS_ADDRESS, on which at-spi-bus-launcher must already run.
"""
import json
import sys
import time

import dbus
import pyatspi

EVENTS = ["object:state-changed:showing", "object:property-change:accessible-name",
          "object:property-change:accessible-description", "focus:"]


def window_of(obj):
    """The name of the top-level window that holds obj, or "" for one outside every window."""
    try:
        while obj.parent is not None and obj.parent.getRole() != pyatspi.ROLE_APPLICATION:
            obj = obj.parent
        return obj.name if obj.parent is not None else ""
    except Exception:
        return ""


def listen(log_path):
    bus = dbus.SessionBus()
    status = bus.get_object("org.a11y.Bus", "/org/a11y/bus")
    status.Set("org.a11y.Status", "ScreenReaderEnabled", True,
               dbus_interface="org.freedesktop.DBus.Properties")
    log = open(log_path, "a", buffering=1, encoding="utf-8")

    def on_event(event):
        source = event.source
        try:
            entry = {"time": round(time.monotonic(), 3), "type": event.type, "detail1": event.detail1, "role": source.getRoleName(),
                     "name": source.name, "description": source.description,
                     "window": window_of(source)}
        except Exception as error:  # the source may be gone already
            entry = {"time": round(time.monotonic(), 3), "type": event.type, "detail1": event.detail1, "error": str(error)}
        log.write(json.dumps(entry, ensure_ascii=False) + "\n")

    pyatspi.Registry.registerEventListener(on_event, *EVENTS)
    print("ready", flush=True)
    pyatspi.Registry.start()


def tree(pid):
    def dump(node, path):
        states = node.getState().getStates()
        print(json.dumps({"path": path, "role": node.getRoleName(), "name": node.name,
                          "description": node.description,
                          "states": [pyatspi.stateToString(s) for s in states]},
                         ensure_ascii=False))
        for index in range(node.childCount):
            child = node.getChildAtIndex(index)
            if child is not None:
                dump(child, path + [index])

    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            dump(app, [])


if __name__ == "__main__":
    if sys.argv[1] == "listen":
        listen(sys.argv[2])
    else:
        tree(int(sys.argv[2]))
